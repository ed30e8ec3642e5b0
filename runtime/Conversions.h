#pragma once
// Value conversions of the runtime, as used across the program and the library. Conversions
// that fail raise RuntimeError: 13 when the text is not a number (or flag), 6 when the number
// does not fit the target type.

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

namespace rt {

// Flags are held as -1 (true) and 0 (false).
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// Text to flag: a number is true unless it is zero; "True"/"False" (and the French
// "Vrai"/"Faux") in any case; blanks around are ignored; anything else raises 13 ("" too).
bool toFlag(const QString& text);

// Text to integers: the text must be a number (isNumeric); it is rounded half to even, then
// range-checked (6 when out of range, 13 when not a number).
uint8_t toByte(const QString& text);
int16_t toInt16(const QString& text);
int32_t toInt32(const QString& text);

// Number to integers with the same rounding and range rules (NaN raises 6).
uint8_t toByte(double value);
int16_t toInt16(double value);
int32_t toInt32(double value);

// Rounds half to even (banker's rounding), as the runtime's integer conversions do.
double roundHalfEven(double value);

// The numeric-text test: optional blanks, optional sign, digits with at most one decimal
// point ("." or ","), optional exponent ("e"), optional blanks; "&H" hexadecimal and "&O"
// octal also count. Up to 4 hexadecimal digits the value is a 16-bit integer (&HFFFF is -1),
// up to 8 a 32-bit one. A text whose value does not fit a double (or 32 bits for &H/&O) is
// not numeric.
bool isNumeric(const QString& text);

// Reads a text as a number: raises 6 when it has the form of a number but does not fit (see
// isNumeric), 13 when it is not a number at all.
double toDouble(const QString& text);

// The leading-number reading: blanks, tabs and line feeds skipped anywhere, an optional sign,
// digits read up to the first character that cannot continue a number; "." is the only
// decimal point; an exponent ("e" or "d") counts only when digits follow it; "&H"/"&O" read
// hexadecimal/octal as isNumeric does ("12abc" -> 12, "abc" -> 0, " 1 2" -> 12, "3.5x" -> 3.5,
// "1,5" -> 1, "1e3x" -> 1000, "&H1F" -> 31). Raises 6 when the number read does not fit.
double leadingNumber(const QString& text);
// The same reading, nullopt where leadingNumber raises 6.
std::optional<double> leadingNumberIfInRange(const QString& text);

// Number to text, for storage and display: at most 15 significant digits, no trailing zeros,
// "." as decimal separator; integral values below 1e15 print without a decimal point
// ("3", "-2.5", "0.3" for 0.1 + 0.2); very large or small values print with an exponent
// ("1e+20", "1e-05"). toDouble and leadingNumber read every result back. Raises 6 for NaN or
// an infinity.
QString numberToText(double value);

}  // namespace rt
