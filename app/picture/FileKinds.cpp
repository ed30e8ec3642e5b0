#include "app/picture/FileKinds.h"

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

// The lists are of lower-case ASCII: an ASCII extension is compared ignoring its case without
// making a lower-case copy first.
bool in(const QStringList& list, const QString& ext) {
  if (ext.isEmpty()) return false;
  for (const QChar c : ext)
    if (c.unicode() >= 0x80) return list.contains(ext.toLower());
  return list.contains(ext, Qt::CaseInsensitive);
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

bool IsListable(const QString& ext) { return in(classic(), ext) || in(other(), ext); }
bool IsOtherFormat(const QString& ext) { return in(other(), ext); }
bool IsRaw(const QString& ext) { return in(raw(), ext); }
bool IsViewable(const QString& ext) { return in(viewable(), ext); }
bool IsLiveMovie(const QString& ext) { return ext.compare(QLatin1String("mov"), Qt::CaseInsensitive) == 0; }
bool IsCompanion(const QString& ext) { return in(companion(), ext); }

const QStringList& ListableExtensions() {
  static const QStringList list = classic() + other();
  return list;
}

}  // namespace FileKinds
