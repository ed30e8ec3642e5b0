#include "app/picture/ByteOrder.h"

#include "app/common/Orvofonctions2.h"
#include "runtime/RuntimeError.h"

#include <QVariantList>

namespace {

// Reverses the order of the two-digit byte pairs of a hexadecimal text and reads it back.
// A text that is not the expected number of hexadecimal digits raises 13.
uint32_t reversedHexBytes(const QString& hex, qsizetype digits) {
  if (hex.size() != digits) rt::raise(rt::ErrTypeMismatch);
  QString reversed;
  reversed.reserve(digits);
  for (qsizetype i = digits - 2; i >= 0; i -= 2) reversed += hex.mid(i, 2);
  bool ok = false;
  const uint32_t value = reversed.toUInt(&ok, 16);
  if (!ok) rt::raise(rt::ErrTypeMismatch);
  return value;
}

}  // namespace

void SwapBytes(int16_t& value) {
  value = static_cast<int16_t>(reversedHexBytes(Orvofonctions2::Hex4(value), 4));
}

void SwapBytes(int32_t& value) {
  value = static_cast<int32_t>(reversedHexBytes(Orvofonctions2::Hex8(value), 8));
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
