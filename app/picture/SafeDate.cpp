#include "app/picture/SafeDate.h"

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/RenameEngine.h"
#include "runtime/RuntimeError.h"

namespace {

// 0100-01-01 00:00:00 and 10000-01-01 00:00:00 as date values: the range of dates.
constexpr rt::DateValue kFirstDate = -657434.0;
constexpr rt::DateValue kPastLastDate = 2958466.0;

rt::DateValue checkedDate(rt::DateValue value) {
  if (value < kFirstDate || value >= kPastLastDate) rt::raise(rt::ErrOverflow);
  return value;
}

rt::DateValue safeDate(const JpegInfosClass& info) {
  const RenameOffsets offsets = RenameOffsets::fromConfig(CurrentConfig());
  const double offset = offsets.offset;
  const double offsetNoDate = offsets.undatedOffset;
  if (info.CreateDate() > 0) return checkedDate(info.CreateDate() + offset);
  if (info.ModifDate() > 0) return checkedDate(info.ModifDate() + offset);
  if (info.FileDate() > 0) return checkedDate(info.FileDate() + offsetNoDate);
  return 0.0;
}

}  // namespace

rt::DateValue GetSafeDate(const JpegInfosClass& info) {
  try {
    return safeDate(info);
  } catch (...) {
    ErrorHandling::ShowCurrentException(QStringLiteral("wMain.GetSafeDate"));
    return 0.0;
  }
}
