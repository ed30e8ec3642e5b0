#include "lib/HexFunctions.h"

#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <cmath>

namespace orvo {
namespace {

// The last width hexadecimal digits of value, upper case, leading zeros kept (width 2, 4 or 8).
// Written digit by digit: the picture reader calls this for every value it reads.
QString hexDigits(uint32_t value, int width) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  QString text(width, Qt::Uninitialized);
  QChar* out = text.data();
  for (int i = width - 1; i >= 0; --i, value >>= 4) out[i] = QChar(kDigits[value & 0xF]);
  return text;
}

// The 32-bit pattern of a double word: range check, unsigned values mapped onto the signed
// range, rounded half to even.
uint32_t dwordBits(double dword) {
  if (!std::isfinite(dword) || dword >= 4294967296.0 || dword < -2147483648.0) {
    rt::raise(rt::ErrOverflow);
  }
  if (dword >= 2147483648.0) dword -= 4294967296.0;
  const double rounded = rt::roundHalfEven(dword);
  if (rounded > 2147483647.0 || rounded < -2147483648.0) rt::raise(rt::ErrOverflow);
  return static_cast<uint32_t>(static_cast<int32_t>(rounded));
}

}  // namespace

const DispatchTable& HexFunctions::dispatchTable() {
  static const DispatchTable table{
      method<&_HexFunctions::HiByte>("HiByte"),   method<&_HexFunctions::LoByte>("LoByte"),
      method<&_HexFunctions::HiWord>("HiWord"),   method<&_HexFunctions::LoWord>("LoWord"),
      method<&_HexFunctions::Hex2>("Hex2"),       method<&_HexFunctions::Hex4>("Hex4"),
      method<&_HexFunctions::Hex8>("Hex8"),       method<&_HexFunctions::MakeInt>("MakeInt"),
      method<&_HexFunctions::MakeLong>("MakeLong"),
  };
  return table;
}

HRESULT HexFunctions::HiByte(int32_t Word, uint8_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    if (Word > 65535 || Word < -32768) rt::raise(rt::ErrOverflow);
    *result = static_cast<uint8_t>((static_cast<uint32_t>(Word) >> 8) & 0xFFu);
  });
}

HRESULT HexFunctions::LoByte(int32_t Word, uint8_t* result) {
  if (!result) return E_POINTER;
  *result = static_cast<uint8_t>(static_cast<uint32_t>(Word) & 0xFFu);
  return S_OK;
}

HRESULT HexFunctions::HiWord(double Dword, int16_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember(
      [&] { *result = static_cast<int16_t>(static_cast<uint16_t>(dwordBits(Dword) >> 16)); });
}

HRESULT HexFunctions::LoWord(double Dword, int16_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember(
      [&] { *result = static_cast<int16_t>(static_cast<uint16_t>(dwordBits(Dword) & 0xFFFFu)); });
}

HRESULT HexFunctions::Hex2(uint8_t Val, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = hexDigits(Val, 2); });
}

HRESULT HexFunctions::Hex4(int16_t Val, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = hexDigits(static_cast<uint16_t>(Val), 4); });
}

HRESULT HexFunctions::Hex8(int32_t Val, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = hexDigits(static_cast<uint32_t>(Val), 8); });
}

HRESULT HexFunctions::MakeInt(uint8_t oLSB, uint8_t oMSB, int16_t* result) {
  if (!result) return E_POINTER;
  *result = static_cast<int16_t>(static_cast<uint16_t>((oMSB << 8) | oLSB));
  return S_OK;
}

HRESULT HexFunctions::MakeLong(int16_t nLSB, int16_t nMSB, int32_t* result) {
  if (!result) return E_POINTER;
  const uint32_t bits = (static_cast<uint32_t>(static_cast<uint16_t>(nMSB)) << 16) |
                        static_cast<uint16_t>(nLSB);
  *result = static_cast<int32_t>(bits);
  return S_OK;
}

}  // namespace orvo
