#include "lib/KeyFilter.h"

#include "lib/ArgumentValues.h"
#include "runtime/RuntimeError.h"

#include <QChar>

namespace orvo {
namespace {

constexpr int16_t kBackspace = 8;

bool isDigit(int16_t code) { return code >= '0' && code <= '9'; }

}  // namespace

const DispatchTable& KeyFilter::dispatchTable() {
  static const DispatchTable table{
      method<&_KeyFilter::FilterInt>("FilterInt"), method<&_KeyFilter::FilterUint>("FilterUint"),
      method<&_KeyFilter::FilterHex>("FilterHex"), method<&_KeyFilter::FilterDec>("FilterDec"),
      method<&_KeyFilter::FilterMaj>("FilterMaj"),
  };
  return table;
}

HRESULT KeyFilter::FilterInt(int16_t KeyAscii, const QVariant& bPositive, int16_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const bool positive = readFlag(bPositive, false);
    if (KeyAscii == kBackspace || isDigit(KeyAscii)) {
      *result = KeyAscii;
    } else if (KeyAscii == '+' || KeyAscii == '-') {
      *result = positive ? 0 : KeyAscii;
    } else {
      *result = 0;
    }
  });
}

HRESULT KeyFilter::FilterUint(int16_t KeyAscii, int16_t* result) {
  if (!result) return E_POINTER;
  *result = (KeyAscii == kBackspace || isDigit(KeyAscii)) ? KeyAscii : int16_t{0};
  return S_OK;
}

HRESULT KeyFilter::FilterHex(int16_t KeyAscii, int16_t* result) {
  if (!result) return E_POINTER;
  if (KeyAscii == kBackspace || isDigit(KeyAscii) || (KeyAscii >= 'A' && KeyAscii <= 'F')) {
    *result = KeyAscii;
  } else if (KeyAscii >= 'a' && KeyAscii <= 'f') {
    *result = static_cast<int16_t>(KeyAscii - 'a' + 'A');
  } else {
    *result = 0;
  }
  return S_OK;
}

HRESULT KeyFilter::FilterDec(int16_t KeyAscii, const QVariant& sSep, int16_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const QString separator = readText(sSep, QStringLiteral("."));
    if (KeyAscii == kBackspace || isDigit(KeyAscii) || KeyAscii == '+' || KeyAscii == '-') {
      *result = KeyAscii;
    } else if (KeyAscii == ',' || KeyAscii == '.') {
      if (separator.isEmpty()) rt::raise(rt::ErrInvalidArgument);
      *result = static_cast<int16_t>(separator.at(0).unicode());
    } else {
      *result = 0;
    }
  });
}

HRESULT KeyFilter::FilterMaj(int16_t KeyAscii, int16_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    if (KeyAscii < 0) rt::raise(rt::ErrInvalidArgument);
    const char32_t upper = QChar::toUpper(static_cast<char32_t>(KeyAscii));
    // An upper case outside the 16-bit range of a key code leaves the key as it was.
    *result = upper <= 0x7FFF ? static_cast<int16_t>(upper) : KeyAscii;
  });
}

}  // namespace orvo
