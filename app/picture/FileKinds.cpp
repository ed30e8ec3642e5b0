#include "app/picture/FileKinds.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace FileKinds {

namespace {

// An ASCII extension of one to four characters lowered and packed into a number: its length,
// then a byte per character; 0 for any other.
uint64_t packedLower(QStringView ext) {
  if (ext.isEmpty() || ext.size() > 4) return 0;
  uint64_t word = static_cast<uint64_t>(ext.size()) << 32;
  for (qsizetype i = 0; i < ext.size(); ++i) {
    char16_t c = ext[i].unicode();
    if (c >= 0x80) return 0;
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    word |= static_cast<uint64_t>(c) << (8 * i);
  }
  return word;
}

// A list of short lower-case ASCII extensions, also packed (packedLower) when every one is
// short enough: a short extension is then compared as one number per entry.
struct Extensions {
  explicit Extensions(const QStringList& list) : names(list) {
    for (const QString& name : names) {
      const uint64_t word = packedLower(name);
      if (word == 0) {
        packed.clear();
        break;
      }
      packed.push_back(word);
    }
  }
  QStringList names;
  std::vector<uint64_t> packed;  // empty when an entry does not pack
};

QStringList words(const char* text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); }

// Built on first use: other files' static data asks for them too.
const Extensions& classic() {
  static const Extensions list(words("jpg jpeg bmp gif"));
  return list;
}
const Extensions& raw() {
  static const Extensions list(words("dng cr2 cr3 nef arw orf rw2 pef srw raf"));
  return list;
}
const Extensions& other() {
  static const Extensions list(words("heic heif hif avif tif tiff png webp mp4 mov m4v 3gp 3g2") + raw().names);
  return list;
}
const Extensions& viewable() {
  static const Extensions list(words("jpg jpeg heic heif hif"));
  return list;
}
const Extensions& companion() {
  static const Extensions list(words("xmp thm aae pp3 dop"));
  return list;
}

// The lists are of short lower-case ASCII words: a short ASCII extension is compared packed,
// a longer one is lowered into a buffer and compared there, without a lower-case copy; any
// other goes through QString::toLower().
bool in(const Extensions& extensions, QStringView ext) {
  constexpr qsizetype kLongest = 8;
  if (ext.isEmpty()) return false;
  if (!extensions.packed.empty()) {
    if (const uint64_t word = packedLower(ext))
      return std::find(extensions.packed.begin(), extensions.packed.end(), word) != extensions.packed.end();
  }
  const QStringList& list = extensions.names;
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
  static const QStringList list = classic().names + other().names;
  return list;
}

}  // namespace FileKinds
