#include "app/naming/BaseName.h"

#include "runtime/DateValue.h"

BaseNameChoice ChooseBaseName(const ConfigClass& config, const RenameOffsets& offsets, const JpegInfosClass& info,
                              const QString& dateKey, bool exifMark) {
  const auto bodyFor = [&](rt::DateValue date) {
    return BaseNameChoice{BaseNameChoice::Kind::Body, config.FormatName(rt::toDateKey(date))};
  };
  BaseNameChoice dated;
  if (info.CreateDate() > 0)
    dated = bodyFor(info.CreateDate() + offsets.offset);
  else if (info.ModifDate() > 0)
    dated = bodyFor(info.ModifDate() + offsets.offset);
  else if (exifMark && info.FileDate() > 0)
    dated = bodyFor(info.FileDate() + offsets.undatedOffset);  // its EXIF date became unreadable
  const bool undated = !exifMark || dated.kind != BaseNameChoice::Kind::Body || dated.body.startsWith(QLatin1Char('*'));
  if (!undated) return dated;
  switch (config.NotExif()) {
    case 0: {
      const std::optional<rt::DateValue> date = rt::fromDateKey(dateKey);
      if (!date) return {};  // no date to name it after: it keeps its name
      return bodyFor(*date + offsets.undatedOffset);
    }
    case 2:
      return BaseNameChoice{BaseNameChoice::Kind::Ask, QString()};
    default:  // 1, and codes no setting defines
      return {};
  }
}
