#pragma once
// The program's own keystroke filters for text boxes: each takes the character code of a key
// press and returns it, or 0 to swallow it.

#include <cstdint>

namespace KeyFilters {

// Passes backspace (8) and the digits "0"-"9"; "+" and "-" pass unless bPositive, which
// swallows them; every other code gives 0.
int16_t FilterInt(int16_t KeyAscii, bool bPositive = false);

}  // namespace KeyFilters
