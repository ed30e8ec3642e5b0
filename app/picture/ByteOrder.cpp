#include "app/picture/ByteOrder.h"

#include "app/common/Orvofonctions2.h"
#include "runtime/RuntimeError.h"

#include <QVariantList>

#include <array>
#include <atomic>

namespace {

int hexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  return -1;
}

// Reads a hexadecimal text of the given number of digits with its two-digit byte pairs in
// reverse order. A text that is not that many hexadecimal digits raises 13.
uint32_t reversedHexBytes(const QString& hex, qsizetype digits) {
  if (hex.size() != digits) rt::raise(rt::ErrTypeMismatch);
  uint32_t value = 0;
  for (qsizetype pair = digits - 2; pair >= 0; pair -= 2) {
    for (qsizetype i = pair; i < pair + 2; ++i) {
      const int digit = hexDigit(hex[i]);
      if (digit < 0) rt::raise(rt::ErrTypeMismatch);
      value = (value << 4) | static_cast<uint32_t>(digit);
    }
  }
  return value;
}

}  // namespace

void SwapBytes(int16_t& value) {
  // The reader swaps the same few values (markers, lengths, tags) over and over: each 16-bit
  // result is asked of the library once and then remembered (bit 16 marks a known entry).
  static std::array<std::atomic<uint32_t>, 65536> known{};
  std::atomic<uint32_t>& entry = known[static_cast<uint16_t>(value)];
  uint32_t swapped = entry.load(std::memory_order_relaxed);
  if (swapped == 0) {
    swapped = reversedHexBytes(Orvofonctions2::Hex4(value), 4) | 0x10000u;
    entry.store(swapped, std::memory_order_relaxed);
  }
  value = static_cast<int16_t>(swapped & 0xFFFFu);
}

void SwapBytes(int32_t& value) {
  // The two 16-bit halves, swapped and exchanged: the library's answers for them are remembered.
  auto low = static_cast<int16_t>(value & 0xFFFF);
  auto high = static_cast<int16_t>((static_cast<uint32_t>(value) >> 16) & 0xFFFF);
  SwapBytes(low);
  SwapBytes(high);
  value = static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(low)) << 16) |
                               static_cast<uint16_t>(high));
}

void SwapBytes(QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Short: {
      auto v = static_cast<int16_t>(value.value<short>());
      SwapBytes(v);
      value = QVariant::fromValue<short>(v);
      return;
    }
    case QMetaType::Int: {
      int32_t v = value.toInt();
      SwapBytes(v);
      value = QVariant(v);
      return;
    }
    case QMetaType::UChar:
      return;
    case QMetaType::QVariantList: {
      QVariantList list = value.toList();
      // Write each swapped element back at once, so a failure leaves the earlier ones swapped.
      for (qsizetype i = 0; i < list.size(); ++i) {
        try {
          SwapBytes(list[i]);
        } catch (...) {
          value = list;
          throw;
        }
      }
      value = list;
      return;
    }
    default:
      rt::raise(rt::ErrTypeMismatch);
  }
}

namespace Global {
int32_t Unsigned(int16_t value) { return (static_cast<int32_t>(value) + 65536) % 65536; }
}  // namespace Global
