#include "runtime/DateValue.h"

#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

#include <QDateTime>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace rt {
namespace {

// Internally a moment is a linear count of seconds since 1899-12-30 00:00:00, which makes
// carry-over and dates before the origin plain integer arithmetic.
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kOriginFromUnixDays = 25569;  // days from 1899-12-30 to 1970-01-01

constexpr int64_t floorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Days from 1970-01-01 to the given proleptic Gregorian date; month 1..12, any day.
constexpr int64_t unixDaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = floorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + (d - 1);
}

struct CivilDate {
  int64_t year;
  int month;
  int day;
};

CivilDate civilFromUnixDays(int64_t z) {
  z += 719468;
  const int64_t era = floorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Day number (days since 1899-12-30) of a date, months and days carried over; no range check.
// Callers keep their fields within int range, so nothing here can overflow.
constexpr int64_t dayNumber(int64_t year, int64_t month, int64_t day) {
  const int64_t monthIndex = month - 1;
  const int64_t yearCarry = floorDiv(monthIndex, 12);
  const int64_t normalMonth = monthIndex - yearCarry * 12 + 1;
  return unixDaysFromCivil(year + yearCarry, normalMonth, 1) + (day - 1) + kOriginFromUnixDays;
}

constexpr int64_t kFirstDay = dayNumber(100, 1, 1);
constexpr int64_t kLastDay = dayNumber(9999, 12, 31);
constexpr int64_t kFirstSecond = kFirstDay * kSecondsPerDay;
constexpr int64_t kLastSecond = kLastDay * kSecondsPerDay + kSecondsPerDay - 1;

// A year from 0 to 99 is a two-digit year: 0..29 are 2000..2029, 30..99 are 1930..1999.
int64_t expandTwoDigitYear(int64_t year) {
  if (year < 0 || year > 99) return year;
  return year + (year < 30 ? 2000 : 1900);
}

void checkSecondsInRange(int64_t seconds) {
  if (seconds < kFirstSecond || seconds > kLastSecond) raise(ErrInvalidArgument);
}

// The date value of a moment: the day count, plus the time of day as a fraction; for days
// before the origin the fraction is written away from zero (day -1 at 06:00 is -1.25).
DateValue encode(int64_t seconds) {
  const int64_t day = floorDiv(seconds, kSecondsPerDay);
  const double fraction = static_cast<double>(seconds - day * kSecondsPerDay) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

// The moment a date value stands for, rounded to the second. Raises 5 when the value is not
// a date of years 100..9999 (NaN and infinities included).
int64_t decode(DateValue value) {
  constexpr double kMargin = 2.0;  // keeps the integer conversion defined before the exact check
  if (!std::isfinite(value) || value < static_cast<double>(kFirstDay) - kMargin ||
      value > static_cast<double>(kLastDay) + kMargin) {
    raise(ErrInvalidArgument);
  }
  const double whole = std::trunc(value);
  const double fraction = std::fabs(value - whole);  // exact: same binade or smaller
  const int64_t seconds = static_cast<int64_t>(whole) * kSecondsPerDay +
                          std::llround(fraction * static_cast<double>(kSecondsPerDay));
  checkSecondsInRange(seconds);
  return seconds;
}

struct Moment {
  int64_t day;
  int64_t secondOfDay;
};

Moment split(int64_t seconds) {
  const int64_t day = floorDiv(seconds, kSecondsPerDay);
  return {day, seconds - day * kSecondsPerDay};
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool validFields(int year, int month, int day, int hour, int minute, int second) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59 && second >= 0 && second <= 59;
}

int64_t secondsOf(int year, int month, int day, int hour, int minute, int second) {
  return dayNumber(year, month, day) * kSecondsPerDay + int64_t{hour} * 3600 +
         int64_t{minute} * 60 + second;
}

QString twoDigits(int64_t n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString timeText(int64_t secondOfDay) {
  return twoDigits(secondOfDay / 3600) + QLatin1Char(':') + twoDigits(secondOfDay / 60 % 60) +
         QLatin1Char(':') + twoDigits(secondOfDay % 60);
}

QString dayText(int64_t day) {
  const CivilDate c = civilFromUnixDays(day - kOriginFromUnixDays);
  return twoDigits(c.day) + QLatin1Char('/') + twoDigits(c.month) + QLatin1Char('/') +
         QStringLiteral("%1").arg(c.year, 4, 10, QLatin1Char('0'));
}

// Reads a field of 1..maxDigits ASCII digits; -1 when the text is not such a field.
int readField(const QString& text, int maxDigits) {
  if (text.isEmpty() || text.size() > maxDigits) return -1;
  int n = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    n = n * 10 + (c.unicode() - '0');
  }
  return n;
}

struct DateFields {
  int year = 0;
  int month = 0;
  int day = 0;
};

// "d/M/y" or "y/M/d" ("-" and "." also separate, the same one twice); the year comes first
// when the first field has three or four digits. One- or two-digit years are expanded.
std::optional<DateFields> readDatePart(const QString& text) {
  QChar separator;
  for (QChar c : text) {
    if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
      separator = c;
      break;
    }
  }
  if (separator.isNull()) return std::nullopt;
  const QStringList parts = text.split(separator);
  if (parts.size() != 3) return std::nullopt;
  DateFields f;
  const bool yearFirst = parts[0].size() >= 3;
  const QString& yearText = yearFirst ? parts[0] : parts[2];
  f.year = readField(yearText, 4);
  f.month = readField(parts[1], 2);
  f.day = readField(yearFirst ? parts[2] : parts[0], 2);
  if (f.year < 0 || f.month < 0 || f.day < 0) return std::nullopt;
  if (yearText.size() <= 2) f.year = static_cast<int>(expandTwoDigitYear(f.year));
  return f;
}

// "H:mm" or "H:mm:ss" as seconds of the day; nullopt when malformed or out of range.
std::optional<int64_t> readTimePart(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(':'));
  if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
  const int hour = readField(parts[0], 2);
  const int minute = readField(parts[1], 2);
  const int second = parts.size() == 3 ? readField(parts[2], 2) : 0;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return int64_t{hour} * 3600 + minute * 60 + second;
}

DateValue fromQDateTime(const QDateTime& t) {
  const QDate d = t.date();
  const QTime h = t.time();
  return makeDate(d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second());
}

}  // namespace

DateValue dateSerial(int year, int month, int day) {
  const int64_t days = dayNumber(expandTwoDigitYear(year), month, day);
  if (days < kFirstDay || days > kLastDay) raise(ErrInvalidArgument);
  return static_cast<double>(days);
}

DateValue timeSerial(int hour, int minute, int second) {
  const int64_t seconds = int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  return static_cast<double>(seconds) / kSecondsPerDay;
}

DateValue makeDate(int year, int month, int day, int hour, int minute, int second) {
  const int64_t seconds = dayNumber(expandTwoDigitYear(year), month, day) * kSecondsPerDay +
                          int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  checkSecondsInRange(seconds);
  return encode(seconds);
}

DateParts splitDate(DateValue value) {
  const Moment m = split(decode(value));
  const CivilDate c = civilFromUnixDays(m.day - kOriginFromUnixDays);
  return {static_cast<int>(c.year), c.month, c.day, static_cast<int>(m.secondOfDay / 3600),
          static_cast<int>(m.secondOfDay / 60 % 60), static_cast<int>(m.secondOfDay % 60)};
}

DateValue now() { return fromQDateTime(QDateTime::currentDateTime()); }

std::optional<DateValue> fileModificationDate(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  struct stat st;
  if (::stat(encodePath(path).constData(), &st) != 0) return std::nullopt;
  return localFileDate(st.st_mtim.tv_sec);
}

std::optional<DateValue> localFileDate(int64_t secondsSinceEpoch) {
  // The C library reads the time zone once; asking through QDateTime would look at the zone
  // file again for every picture.
  const time_t seconds = static_cast<time_t>(secondsSinceEpoch);
  struct tm local {};
  if (!::localtime_r(&seconds, &local)) return std::nullopt;
  try {
    return makeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                    local.tm_sec);
  } catch (const RuntimeError&) {
    return std::nullopt;  // a file time outside years 100..9999
  }
}

QString toDateKey(DateValue value) {
  if (value == 0.0) return QString();
  const DateParts p = splitDate(value);
  // Written digit by digit: every picture gets its key when listed and twice per plan.
  if (p.year >= 0 && p.year <= 9999) {
    char16_t digits[14];
    const auto put = [&](int at, int number, int width) { putDigits(digits + at, number, width); };
    put(0, p.year, 4);
    put(4, p.month, 2);
    put(6, p.day, 2);
    put(8, p.hour, 2);
    put(10, p.minute, 2);
    put(12, p.second, 2);
    return QString(reinterpret_cast<const QChar*>(digits), 14);
  }
  char key[32];
  const int length = std::snprintf(key, sizeof key, "%04d%02d%02d%02d%02d%02d", p.year, p.month, p.day, p.hour,
                                   p.minute, p.second);
  return QString::fromLatin1(key, length);
}

std::optional<DateValue> fromDateKey(const QString& key) {
  if (key.size() != 14) return std::nullopt;
  const int year = readField(key.mid(0, 4), 4);
  const int month = readField(key.mid(4, 2), 2);
  const int day = readField(key.mid(6, 2), 2);
  const int hour = readField(key.mid(8, 2), 2);
  const int minute = readField(key.mid(10, 2), 2);
  const int second = readField(key.mid(12, 2), 2);
  if (!validFields(year, month, day, hour, minute, second)) return std::nullopt;
  return encode(secondsOf(year, month, day, hour, minute, second));
}

QString generalDateText(DateValue value) {
  const Moment m = split(decode(value));
  if (m.day == 0) return timeText(m.secondOfDay);
  if (m.secondOfDay == 0) return dayText(m.day);
  return dayText(m.day) + QLatin1Char(' ') + timeText(m.secondOfDay);
}

std::optional<DateValue> readDate(const QString& text) {
  const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (words.isEmpty() || words.size() > 2) return std::nullopt;
  if (words.size() == 1 && words[0].contains(QLatin1Char(':'))) {
    const std::optional<int64_t> time = readTimePart(words[0]);
    if (!time) return std::nullopt;
    return encode(*time);
  }
  const std::optional<DateFields> date = readDatePart(words[0]);
  if (!date) return std::nullopt;
  int64_t time = 0;
  if (words.size() == 2) {
    const std::optional<int64_t> t = readTimePart(words[1]);
    if (!t) return std::nullopt;
    time = *t;
  }
  if (!validFields(date->year, date->month, date->day, 0, 0, 0)) return std::nullopt;
  return encode(dayNumber(date->year, date->month, date->day) * kSecondsPerDay + time);
}

bool readsAsDate(const QString& text) { return readDate(text).has_value(); }

}  // namespace rt
