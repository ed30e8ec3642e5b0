#pragma once
// Globally unique identifiers of the component runtime (class, interface and library ids) and
// their text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal digits, any case in,
// upper case out).

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4{};
  friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

namespace rt::com {

namespace detail {
constexpr int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads count hexadecimal digits at text[pos]; nullopt when one is not a digit.
constexpr std::optional<uint32_t> readHex(std::string_view text, size_t pos, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) {
    const int d = hexDigit(text[pos + i]);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return value;
}
}  // namespace detail

// Reads the braced text form; nullopt for anything else (wrong length, missing braces or
// dashes, a character that is not a hexadecimal digit). Usable at compile time.
constexpr std::optional<GUID> parseGuid(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' ||
      text[14] != '-' || text[19] != '-' || text[24] != '-') {
    return std::nullopt;
  }
  GUID g;
  const auto d1 = detail::readHex(text, 1, 8);
  const auto d2 = detail::readHex(text, 10, 4);
  const auto d3 = detail::readHex(text, 15, 4);
  if (!d1 || !d2 || !d3) return std::nullopt;
  g.Data1 = *d1;
  g.Data2 = static_cast<uint16_t>(*d2);
  g.Data3 = static_cast<uint16_t>(*d3);
  constexpr size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t i = 0; i < 8; ++i) {
    const auto b = detail::readHex(text, kBytePos[i], 2);
    if (!b) return std::nullopt;
    g.Data4[i] = static_cast<uint8_t>(*b);
  }
  return g;
}

// A compile-time identifier from its text form; a malformed text does not compile.
consteval GUID makeGuid(std::string_view text) {
  const auto g = parseGuid(text);
  if (!g) throw "malformed identifier text";
  return *g;
}

// Reads the text form from a QString (surrounding blanks are not accepted).
std::optional<GUID> guidFromString(const QString& text);

// The braced upper-case text form.
QString guidToString(const GUID& guid);

}  // namespace rt::com
