#include "app/dialogs/TimeOffsetText.h"

#include "app/naming/BaseName.h"
#include "runtime/DateValue.h"

#include <cmath>
#include <cstdint>

namespace TimeOffset {
namespace {

QString twoDigits(int64_t value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

}  // namespace

std::optional<double> Between(const QString& exifText, const QString& realText) {
  const std::optional<rt::DateValue> exif = rt::readDate(exifText);
  const std::optional<rt::DateValue> real = rt::readDate(realText);
  if (!exif || !real) return std::nullopt;
  return DaysBetween(*exif, *real);
}

QString DifferenceText(const QString& first, const QString& second) {
  const std::optional<double> days = Between(first, second);
  if (!days) return QString();
  const int64_t seconds = std::llround(std::fabs(*days) * 86400.0);
  const int64_t wholeDays = seconds / 86400;
  const int64_t rest = seconds % 86400;
  QString text;
  if (wholeDays >= 1) text = QString::number(wholeDays) + QStringLiteral("j ");
  text += twoDigits(rest / 3600) + QStringLiteral("h ") + twoDigits(rest / 60 % 60) + QStringLiteral("m ") +
          twoDigits(rest % 60) + QStringLiteral("s");
  return text;
}

}  // namespace TimeOffset
