#include "lib/Global.h"

#include "runtime/RuntimeError.h"

namespace orvo {

QString LibraryTitle() { return QStringLiteral("OrvoLib22"); }

namespace {
// The library links its own copy of the runtime. Making the library's title that copy's default
// error source when the library is loaded gives every error raised inside the library (6, 13,
// file errors...) the library as source, never the name of the program that loaded it.
[[maybe_unused]] const bool kLibraryIsErrorSource = (rt::setDefaultErrorSource(LibraryTitle()), true);
}  // namespace

QString TrimSpaces(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == QLatin1Char(' ')) ++first;
  while (last > first && text[last - 1] == QLatin1Char(' ')) --last;
  return text.mid(first, last - first);
}

}  // namespace orvo
