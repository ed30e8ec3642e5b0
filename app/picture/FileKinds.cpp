#include "app/picture/FileKinds.h"

#include <algorithm>

namespace FileKinds {

namespace {

// Built on first use: other files' static data asks for them too.
const QStringList& classic() {
  static const QStringList list = QStringLiteral("jpg jpeg bmp gif").split(QLatin1Char(' '));
  return list;
}
const QStringList& raw() {
  static const QStringList list = QStringLiteral("dng cr2 cr3 nef arw orf rw2 pef srw raf").split(QLatin1Char(' '));
  return list;
}
const QStringList& other() {
  static const QStringList list =
      QStringLiteral("heic heif hif avif tif tiff png webp mp4 mov m4v 3gp 3g2").split(QLatin1Char(' ')) + raw();
  return list;
}
const QStringList& viewable() {
  static const QStringList list = QStringLiteral("jpg jpeg heic heif hif").split(QLatin1Char(' '));
  return list;
}
const QStringList& companion() {
  static const QStringList list = QStringLiteral("xmp thm aae pp3 dop").split(QLatin1Char(' '));
  return list;
}

// The lists are of short lower-case ASCII words: an ASCII extension is lowered into a buffer
// and compared there, without a lower-case copy; any other goes through QString::toLower().
bool in(const QStringList& list, QStringView ext) {
  constexpr qsizetype kLongest = 8;
  if (ext.isEmpty()) return false;
  char16_t lower[kLongest];
  const bool ascii = ext.size() <= kLongest && std::all_of(ext.begin(), ext.end(), [](QChar c) { return c.unicode() < 0x80; });
  if (!ascii) return list.contains(ext.toString().toLower());
  for (qsizetype i = 0; i < ext.size(); ++i) {
    const char16_t c = ext[i].unicode();
    lower[i] = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  }
  return std::any_of(list.begin(), list.end(), [&](const QString& item) {
    return item.size() == ext.size() && std::equal(lower, lower + ext.size(), item.utf16());
  });
}

}  // namespace

QString ExtensionOf(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : fileName.mid(dot + 1);
}

QString BaseOf(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? fileName : fileName.left(dot);
}

bool IsListable(QStringView ext) { return in(classic(), ext) || in(other(), ext); }
bool IsOtherFormat(QStringView ext) { return in(other(), ext); }
bool IsRaw(QStringView ext) { return in(raw(), ext); }
bool IsViewable(QStringView ext) { return in(viewable(), ext); }
bool IsLiveMovie(QStringView ext) { return ext.compare(QLatin1String("mov"), Qt::CaseInsensitive) == 0; }
bool IsCompanion(QStringView ext) { return in(companion(), ext); }

const QStringList& ListableExtensions() {
  static const QStringList list = classic() + other();
  return list;
}

}  // namespace FileKinds
