#pragma once
// Value conversions of the runtime, as used across the program and the library. Conversions
// that fail raise RuntimeError: 13 when the text is not a number (or flag), 6 when the number
// does not fit the target type.

#include <QString>
#include <QVariant>

#include <cstdint>

namespace rt {

// Flags are held as -1 (true) and 0 (false).
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// Text to flag: a number is true unless it is zero; "True"/"False" in any case; blanks around
// are ignored; anything else raises 13.
bool toFlag(const QString& text);

// Text to integers: the text must be a number (isNumeric); it is rounded half to even, then
// range-checked (6 when out of range, 13 when not a number).
uint8_t toByte(const QString& text);
int16_t toInt16(const QString& text);
int32_t toInt32(const QString& text);

// Number to integers with the same rounding and range rules.
uint8_t toByte(double value);
int16_t toInt16(double value);
int32_t toInt32(double value);

// Rounds half to even (banker's rounding), as the runtime's integer conversions do.
double roundHalfEven(double value);

// The numeric-text test: optional blanks, optional sign, digits with at most one decimal
// point ("." or ","), optional exponent, optional blanks; "&H" hexadecimal also counts.
bool isNumeric(const QString& text);

// Reads a text as a number (isNumeric must hold), else raises 13.
double toDouble(const QString& text);

// The leading-number reading: blanks skipped anywhere, digits read up to the first character
// that cannot continue a number ("12abc" -> 12, "abc" -> 0, " 1 2" -> 12, "3.5x" -> 3.5).
double leadingNumber(const QString& text);

// Number to text: shortest form, no trailing zeros, "." as decimal separator for storage
// (15 significant digits at most); integral values print without a decimal point.
QString numberToText(double value);

}  // namespace rt
