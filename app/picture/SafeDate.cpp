#include "app/picture/SafeDate.h"

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
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
  double offset = 0.0;
  double offsetNoDate = 0.0;
  {
    const ConfigClass& config = CurrentConfig();
    if (config.OffsetApply() && config.DateReal() != config.DateExif()) {
      offset = config.DateReal() - config.DateExif();
      if (config.OffsetNoDate()) offsetNoDate = offset;
    }
  }
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
