#include "runtime/PathCodec.h"

#include <QDir>

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace rt {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b >= 0x80 escapes to U+DC00 + b

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at bytes[i] (shortest form, no surrogates, at most
// U+10FFFF), 0 when the byte there does not start one.
int validSequence(const QByteArray& bytes, qsizetype i) {
  const qsizetype left = bytes.size() - i;
  const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[i + k]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // U+D800..U+DFFF are not characters
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (left < length) return 0;
  if (at(1) < low || at(1) > high) return 0;
  for (int k = 2; k < length; ++k)
    if (!continuation(at(k))) return 0;
  return length;
}

void appendUtf8(QByteArray& out, char32_t c) {
  if (c < 0x80) {
    out.append(static_cast<char>(c));
  } else if (c < 0x800) {
    out.append(static_cast<char>(0xC0 | (c >> 6)));
    out.append(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.append(static_cast<char>(0xE0 | (c >> 12)));
    out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.append(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.append(static_cast<char>(0xF0 | (c >> 18)));
    out.append(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.append(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool escapedByte(char16_t u) { return u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF; }

// Most names are plain ASCII, whose bytes and characters are the same: they skip the
// character-by-character work below.
bool isAscii(QByteArrayView bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool isAscii(QStringView text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

}  // namespace

QString decodePath(const QByteArray& bytes) {
  if (isAscii(bytes)) return QString::fromLatin1(bytes);
  QString text;
  text.reserve(bytes.size());
  qsizetype i = 0;
  while (i < bytes.size()) {
    const int length = validSequence(bytes, i);
    if (length == 0) {
      text.append(QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]))));
      ++i;
    } else {
      text.append(QString::fromUtf8(bytes.constData() + i, length));
      i += length;
    }
  }
  return text;
}

QByteArray encodePath(const QString& path) {
  if (isAscii(path)) return path.toLatin1();
  QByteArray bytes;
  bytes.reserve(path.size());
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t u = path[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode())) {
      appendUtf8(bytes, QChar::surrogateToUcs4(u, path[i + 1].unicode()));
      ++i;
    } else if (escapedByte(u)) {
      bytes.append(static_cast<char>(u - kEscapeBase));
    } else if (QChar::isSurrogate(u)) {
      appendUtf8(bytes, 0xFFFD);
    } else {
      appendUtf8(bytes, u);
    }
  }
  return bytes;
}

QString displayPath(const QString& path) {
  if (isAscii(path)) return path;
  QString shown;
  shown.reserve(path.size());
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t u = path[i].unicode();
    const bool pair = QChar::isHighSurrogate(u) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode());
    if (pair) {
      shown.append(path[i]).append(path[i + 1]);
      ++i;
    } else if (escapedByte(u)) {
      shown.append(QStringLiteral("\\x") + QString::number(u - kEscapeBase, 16).toUpper());
    } else if (QChar::isSurrogate(u)) {
      shown.append(QChar(QChar::ReplacementCharacter));
    } else {
      shown.append(path[i]);
    }
  }
  return shown;
}

namespace {

// Whether cleaning leaves the absolute path as it is: no "//", no "/" before a "." (where
// every "." and ".." segment starts), no "/" at the end. Nearly every path listed is so.
bool alreadyClean(const QString& path) {
  const QChar* chars = path.constData();
  const qsizetype last = path.size() - 1;
  for (qsizetype i = 0; i < last; ++i)
    if (chars[i] == QLatin1Char('/') && (chars[i + 1] == QLatin1Char('/') || chars[i + 1] == QLatin1Char('.')))
      return false;
  return last == 0 || chars[last] != QLatin1Char('/');
}

}  // namespace

QString joinPath(QStringView folder, QStringView name) {
  QString path(folder.size() + 1 + name.size(), Qt::Uninitialized);
  QChar* out = std::copy(folder.begin(), folder.end(), path.data());
  *out++ = QLatin1Char('/');
  std::copy(name.begin(), name.end(), out);
  return path;
}

QString absolutePath(const QString& path) {
  if (path.startsWith(QLatin1Char('/'))) return alreadyClean(path) ? path : QDir::cleanPath(path);
  char buffer[PATH_MAX];
  const QString folder = ::getcwd(buffer, sizeof buffer) ? decodePath(QByteArray(buffer)) : QDir::currentPath();
  return QDir::cleanPath(folder + QLatin1Char('/') + path);
}

bool namesFolderItself(QStringView name) {
  return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
}

}  // namespace rt
