#pragma once
// HexFunctions: splits and joins 8-, 16- and 32-bit integers and writes them as fixed-width
// upper-case hexadecimal text. Stateless. Range errors are the runtime's overflow (6) with the
// runtime's own source and description.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class HexFunctions final : public ComObject<HexFunctions, _HexFunctions> {
 public:
  static const DispatchTable& dispatchTable();

  // Bits 8-15 of Word's 16-bit form; 6 when Word > 65535 or Word < -32768.
  HRESULT HiByte(int32_t Word, uint8_t* result) override;
  // Bits 0-7, no range check.
  HRESULT LoByte(int32_t Word, uint8_t* result) override;
  // Bits 16-31 / 0-15 of Dword (rounded half to even) as signed 16-bit; values from 2^31 up
  // stand for unsigned 32-bit values. 6 when Dword >= 2^32 or Dword < -2^31 (or not a number).
  HRESULT HiWord(double Dword, int16_t* result) override;
  HRESULT LoWord(double Dword, int16_t* result) override;
  // 2, 4 and 8 digits; negative values in two's complement.
  HRESULT Hex2(uint8_t Val, QString* result) override;
  HRESULT Hex4(int16_t Val, QString* result) override;
  HRESULT Hex8(int32_t Val, QString* result) override;
  // The 16-bit value with high byte oMSB and low byte oLSB.
  HRESULT MakeInt(uint8_t oLSB, uint8_t oMSB, int16_t* result) override;
  // The 32-bit value with high word nMSB and low word nLSB.
  HRESULT MakeLong(int16_t nLSB, int16_t nMSB, int32_t* result) override;
};

}  // namespace orvo
