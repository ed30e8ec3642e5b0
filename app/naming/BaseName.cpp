#include "app/naming/BaseName.h"

#include "runtime/DateValue.h"

#include <cmath>

namespace {

double linearDays(rt::DateValue value) {
  if (value >= 0) return value;
  const double day = std::trunc(value);
  return 2 * day - value;
}

}  // namespace

double DaysBetween(rt::DateValue a, rt::DateValue b) { return linearDays(b) - linearDays(a); }

DateChoice ChooseDate(const ConfigClass& config, const RenameOffsets& offsets, const JpegInfosClass& info,
                      const QString& dateKey, bool exifMark) {
  const auto named = [&](rt::DateValue date, DateSource source) {
    return DateChoice{BaseNameChoice{BaseNameChoice::Kind::Body, config.FormatName(rt::toDateKey(date))}, date, source};
  };
  DateChoice dated;
  if (info.CreateDate() > 0)
    dated = named(info.CreateDate() + offsets.offset, DateSource::ExifCapture);
  else if (info.ModifDate() > 0)
    dated = named(info.ModifDate() + offsets.offset, DateSource::ExifModif);
  else if (exifMark && info.FileDate() > 0)
    dated = named(info.FileDate() + offsets.undatedOffset, DateSource::File);  // its EXIF date became unreadable
  const bool undated =
      !exifMark || dated.name.kind != BaseNameChoice::Kind::Body || dated.name.body.startsWith(QLatin1Char('*'));
  if (!undated) return dated;
  switch (config.NotExif()) {
    case 0: {
      const std::optional<rt::DateValue> date = rt::fromDateKey(dateKey);
      if (!date) return {};  // no date to name it after: it keeps its name
      return named(*date + offsets.undatedOffset, DateSource::File);
    }
    case 2:
      return DateChoice{BaseNameChoice{BaseNameChoice::Kind::Ask, QString()}, 0.0, DateSource::None};
    default:  // 1, and codes no setting defines
      return {};
  }
}

BaseNameChoice ChooseBaseName(const ConfigClass& config, const RenameOffsets& offsets, const JpegInfosClass& info,
                              const QString& dateKey, bool exifMark) {
  return ChooseDate(config, offsets, info, dateKey, exifMark).name;
}
