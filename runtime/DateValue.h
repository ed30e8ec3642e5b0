#pragma once
// Date values: a double counting days since 1899-12-30 00:00:00, the time as the fraction of a
// day. Exactly 0 means "no date"; a date is present when its value is greater than 0.
// Negative values are dates before 1899-12-30: the integer part counts days back, the
// fraction is still the time of day added to that day (-1.25 is 1899-12-29 06:00).

#include <QString>

#include <cstdint>
#include <optional>

namespace rt {

using DateValue = double;

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

// Builds a date value with carry-over: month 13 is January of the next year, month 0 December
// of the previous one, day 0 the last day of the previous month, 31 February early March,
// hour 24 the next day, minute 60 the next hour, negative fields count back. A year from 0 to
// 99 is a two-digit year (0..29 -> 2000..2029, 30..99 -> 1930..1999), read before any carry.
// Raises error 5 when the resulting moment falls outside years 100..9999.
DateValue dateSerial(int year, int month, int day);
// The duration as a fraction of a day (may exceed 1 or be < 0). To put a time on a date, use
// makeDate: adding a time to a date before 1899-12-30 is not plain addition.
DateValue timeSerial(int hour, int minute, int second);
DateValue makeDate(int year, int month, int day, int hour, int minute, int second);

// Splits a date value into its fields, rounded to the nearest second (23:59:59.6 is the next
// day's 00:00:00). Raises error 5 for a value outside years 100..9999, NaN or infinite.
DateParts splitDate(DateValue value);

// Writes number as width decimal digits at out (left-padded with zeros; higher digits are
// dropped): dates written digit by digit, without a formatting call, on hot paths.
inline void putDigits(char16_t* out, int number, int width) {
  for (int i = width - 1; i >= 0; --i, number /= 10) out[i] = static_cast<char16_t>(u'0' + number % 10);
}

// The current local date and time, to the second.
DateValue now();

// A file's modification time as a local date value, to the second; nullopt when the file
// cannot be examined.
std::optional<DateValue> fileModificationDate(const QString& path);

// A file time (seconds since 1970-01-01 UTC, as the file system gives it) as a local date
// value; nullopt when it lies outside years 100..9999.
std::optional<DateValue> localFileDate(int64_t secondsSinceEpoch);

// The 14-character date key "yyyymmddhhmmss"; "" for a value of 0 (no date). Raises error 5
// for a value outside years 100..9999 (as splitDate).
QString toDateKey(DateValue value);

// Reads a date key back: exactly 14 ASCII digits forming a valid date and time (year
// 100..9999, no carry-over), else nullopt.
std::optional<DateValue> fromDateKey(const QString& key);

// The system's general date text: "dd/MM/yyyy HH:mm:ss"; the date alone when the time is
// midnight; the time alone ("HH:mm:ss") when the date part is 0 (so 0 gives "00:00:00").
// Rounded to the second; raises error 5 as splitDate.
QString generalDateText(DateValue value);

// "Reads as a date": accepts dd/MM/yyyy[ HH:mm[:ss]], yyyy/MM/dd[ HH:mm[:ss]] and HH:mm[:ss]
// ("-" and "." also separate date fields, the same one twice), blanks around and between
// ignored; day, month, hour, minute and second of one or two digits; a year of one or two
// digits is a two-digit year as for dateSerial, of three or four digits is taken as written.
// Refuses out-of-range fields (31/02, 24:00, month 13, year below 100) and anything else
// (a number alone is not a date). A time alone gives a value with date part 0.
std::optional<DateValue> readDate(const QString& text);
bool readsAsDate(const QString& text);

}  // namespace rt
