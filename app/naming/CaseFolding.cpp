#include "app/naming/CaseFolding.h"

#include <algorithm>
#include <iterator>

QStringView FoldCase(QStringView name, FoldedName& room) {
  const char16_t* in = name.utf16();
  const qsizetype size = name.size();
  qsizetype i = 0;
  for (; i < size && in[i] < 0x80; ++i)
    if (static_cast<char16_t>(in[i] - u'A') < 26) break;
  if (i == size) return name;  // nothing to fold
  char16_t* out = room.chars;
  if (size > static_cast<qsizetype>(std::size(room.chars))) {
    room.other.resize(size);
    out = reinterpret_cast<char16_t*>(room.other.data());
  }
  std::copy(in, in + i, out);
  for (; i < size; ++i) {
    const char16_t c = in[i];
    if (c >= 0x80) {
      room.other = name.toString().toCaseFolded();
      return room.other;
    }
    out[i] = static_cast<char16_t>(c - u'A') < 26 ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  }
  return QStringView(out, size);
}

QString CaseFolded(const QString& name) {
  FoldedName room;
  const QStringView folded = FoldCase(name, room);
  if (folded.constData() == name.constData()) return name;
  if (folded.constData() == room.other.constData()) return room.other;
  return folded.toString();
}
