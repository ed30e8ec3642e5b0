#pragma once
// KeyFilter: keystroke filters for text boxes. Each takes the character code of a key press
// and returns it (possibly changed) or 0 to swallow it. Backspace (8) always passes. Stateless.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class KeyFilter final : public ComObject<KeyFilter, _KeyFilter> {
 public:
  static const DispatchTable& dispatchTable();

  // Digits; "+" and "-" too unless bPositive (default false), which swallows them.
  HRESULT FilterInt(int16_t KeyAscii, const QVariant& bPositive, int16_t* result) override;
  // Digits only.
  HRESULT FilterUint(int16_t KeyAscii, int16_t* result) override;
  // Digits and "A"-"F"; "a"-"f" come back in upper case.
  HRESULT FilterHex(int16_t KeyAscii, int16_t* result) override;
  // Digits, "+" and "-"; "," and "." become the first character of sSep (default "."), and
  // raise 5 when sSep is empty.
  HRESULT FilterDec(int16_t KeyAscii, const QVariant& sSep, int16_t* result) override;
  // Every code, in the upper-case form of its character (the one-character mapping; a code
  // whose upper case lies beyond the key-code range passes unchanged). 5 for a negative code,
  // which stands for no character.
  HRESULT FilterMaj(int16_t KeyAscii, int16_t* result) override;
};

}  // namespace orvo
