#include "app/naming/CaseFolding.h"

#include <algorithm>

QString CaseFolded(const QString& name) {
  const char16_t* in = reinterpret_cast<const char16_t*>(name.utf16());
  const qsizetype size = name.size();
  qsizetype i = 0;
  for (; i < size && in[i] < 0x80; ++i)
    if (static_cast<char16_t>(in[i] - u'A') < 26) break;
  if (i == size) return name;
  QString lower(size, Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(lower.data());
  std::copy(in, in + i, out);
  for (; i < size; ++i) {
    const char16_t c = in[i];
    if (c >= 0x80) return name.toCaseFolded();
    out[i] = static_cast<char16_t>(c - u'A') < 26 ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  }
  return lower;
}
