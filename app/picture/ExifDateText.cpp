#include "app/picture/ExifDateText.h"

#include <QDate>

namespace {

// Reads count decimal digits starting at pos; -1 when one of them is not a digit.
int digitsAt(std::span<const uint8_t> text, size_t pos, size_t count) {
  int value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<rt::DateValue> ExifDateFromText(std::span<const uint8_t> text) {
  if (text.size() != 19) return std::nullopt;
  // The date separators (bytes 4 and 7) are replaced by "/" before the text is read as a
  // date, so whatever they hold is accepted.
  if (text[10] != ' ' || text[13] != ':' || text[16] != ':') return std::nullopt;
  const int year = digitsAt(text, 0, 4);
  const int month = digitsAt(text, 5, 2);
  const int day = digitsAt(text, 8, 2);
  const int hour = digitsAt(text, 11, 2);
  const int minute = digitsAt(text, 14, 2);
  const int second = digitsAt(text, 17, 2);
  if (year < 100 || month < 1 || month > 12 || day < 1) return std::nullopt;
  if (day > QDate(year, month, 1).daysInMonth()) return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return rt::makeDate(year, month, day, hour, minute, second);
}
