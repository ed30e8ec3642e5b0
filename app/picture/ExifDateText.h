#pragma once
// EXIF date texts: 19 bytes "YYYY:MM:DD HH:MM:SS".

#include "runtime/DateValue.h"

#include <cstdint>
#include <optional>
#include <span>

// The date value of a date text, or nullopt when the bytes are not a real date and time in
// that exact form: wrong length, anything but digits where digits belong, the all-zero text,
// blanks, a day that the month does not have, a year outside 100..9999, hour 24 and up,
// minutes or seconds 60 and up. The date separators (bytes 4 and 7) are not looked at: the
// reader has always put "/" in their place before reading the text as a date.
std::optional<rt::DateValue> ExifDateFromText(std::span<const uint8_t> text);
