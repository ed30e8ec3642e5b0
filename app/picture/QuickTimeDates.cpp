#include "app/picture/QuickTimeDates.h"

#include "app/picture/ExifDateText.h"

#include <QDateTime>

#include <array>

namespace {
// 1904-01-01 to 9999-12-31 23:59:59, in seconds.
constexpr uint64_t kLastMovieTime = 255485635199ull;
}  // namespace

std::optional<rt::DateValue> LocalDateFromMovieTime(uint64_t seconds) {
  if (seconds == 0 || seconds > kLastMovieTime) return std::nullopt;
  const QDateTime utc(QDate(1904, 1, 1), QTime(0, 0), Qt::UTC);
  const QDateTime local = utc.addSecs(static_cast<qint64>(seconds)).toLocalTime();
  const QDate d = local.date();
  const QTime t = local.time();
  if (!local.isValid() || d.year() < 100 || d.year() > 9999) return std::nullopt;
  return rt::makeDate(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

std::optional<rt::DateValue> DateFromAppleText(std::span<const uint8_t> text) {
  if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T') return std::nullopt;
  std::array<uint8_t, 19> exif{};
  std::copy(text.begin(), text.begin() + 19, exif.begin());
  exif[10] = ' ';
  return ExifDateFromText(exif);
}
