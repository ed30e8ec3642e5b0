#pragma once
// Byte-order helpers of the picture reader.

#include <QVariant>

#include <cstdint>

// Reverses the byte order of a value in place. The value carries its own type: a 16-bit
// integer (QMetaType::Short), a 32-bit integer (Int), an 8-bit unsigned integer (UChar, left
// unchanged) or a list of these (each element in turn, nested lists too). The bytes are
// reversed through the library's Hex4/Hex8 texts; results with the top bit set are negative.
// Raises run-time error 13 for any other type (elements before the offending one stay
// swapped) and passes on a failure of the library call. No error handler of its own.
void SwapBytes(QVariant& value);

// The same for values whose type is known at compile time.
void SwapBytes(int16_t& value);
void SwapBytes(int32_t& value);
inline void SwapBytes(uint8_t&) {}

namespace Global {
// A signed 16-bit value read as unsigned: (value + 65536) mod 65536, so 0..65535. Never fails.
int32_t Unsigned(int16_t value);
}  // namespace Global
