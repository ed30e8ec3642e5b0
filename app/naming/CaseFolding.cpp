#include "app/naming/CaseFolding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

// Four UTF-16 units at a time in a 64-bit word: which of them lie beyond ASCII, which are
// letters A-Z (0x80 in the lanes that are, for ASCII lanes: a lane below 0x80 plus 0x3F or
// 0x25 carries into no other lane).
constexpr uint64_t kLanes = 0x0001000100010001;
uint64_t beyondAscii(uint64_t units) { return units & (0xFF80 * kLanes); }
uint64_t capitals(uint64_t units) {
  return (units + 0x3F * kLanes) & ~(units + 0x25 * kLanes) & (0x80 * kLanes);
}

}  // namespace

QStringView FoldCase(QStringView name, FoldedName& room) {
  const char16_t* in = name.utf16();
  const qsizetype size = name.size();
  char16_t* out = room.chars;
  if (size > static_cast<qsizetype>(std::size(room.chars))) {
    room.other.resize(size);
    out = reinterpret_cast<char16_t*>(room.other.data());
  }
  uint64_t found = 0;  // capitals seen
  qsizetype i = 0;
  for (; i + 4 <= size; i += 4) {
    uint64_t units;
    std::memcpy(&units, in + i, sizeof units);
    if (beyondAscii(units)) break;
    const uint64_t upper = capitals(units);
    found |= upper;
    units += upper >> 2;  // 0x80 >> 2: 'A' - 'a'
    std::memcpy(out + i, &units, sizeof units);
  }
  for (; i < size; ++i) {
    const char16_t c = in[i];
    if (c >= 0x80) {
      room.other = name.toString().toCaseFolded();
      return room.other;
    }
    const bool upper = static_cast<char16_t>(c - u'A') < 26;
    found |= upper;
    out[i] = upper ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  }
  if (!found) return name;  // nothing to fold
  return QStringView(out, size);
}

QString CaseFolded(const QString& name) {
  FoldedName room;
  const QStringView folded = FoldCase(name, room);
  if (folded.constData() == name.constData()) return name;
  if (folded.constData() == room.other.constData()) return room.other;
  return folded.toString();
}
