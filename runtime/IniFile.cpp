#include "runtime/IniFile.h"

#include "runtime/AtomicFile.h"
#include "runtime/FileLock.h"
#include "runtime/IniDocument.h"
#include "runtime/RuntimeError.h"

#include <QFileInfo>

#include <functional>

namespace rt::ini {
namespace {

// Settings files are small; a larger file reads as empty and is never rewritten.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

IniDocument load(const QString& file) { return IniDocument(files::readWholeFile(file, kMaxFileSize).bytes); }

// text cut to at most count UTF-16 units, never between the two halves of a surrogate pair.
QString cut(const QString& text, qsizetype count) {
  if (text.size() <= count) return text;
  if (count > 0 && text[count - 1].isHighSurrogate()) --count;
  return text.left(count);
}

// Locks the file's folder against other writers, re-reads the file, applies change and writes
// the result back when change reports a modification. A change that modifies nothing leaves
// the file untouched (and not created), even when the folder cannot be locked.
int32_t modify(const QString& file, const std::function<bool(IniDocument&)>& change) {
  if (file.isEmpty()) return ErrPathFileAccess;
  const files::FileLock lock(QFileInfo(file).absolutePath(), files::FileLock::Kind::Folder);
  const files::ReadResult current = files::readWholeFile(file, kMaxFileSize);
  IniDocument document(current.bytes);
  if (!change(document)) return 0;
  if (!lock.locked()) return lock.error();
  if (current.error != 0) return current.error;
  const QByteArray bytes = document.toBytes();
  if (current.exists && bytes == current.bytes) return 0;
  return files::writeFileAtomically(file, bytes);
}

}  // namespace

QString getString(const QString& section, const QString& key, const QString& def, int size, const QString& file) {
  if (size <= 0) return QString();
  return cut(load(file).value(section, key).value_or(def), size - 1);
}

QStringList getKeys(const QString& section, int size, const QString& file) {
  // The names as the service lays them out: each followed by a terminator, all followed by one
  // more. When that does not fit, the buffer holds what fits of size - 2 characters, then the
  // two terminators; the list ends at the first empty entry.
  const QStringList all = load(file).keys(section);
  QStringList fitting;
  qsizetype room = qsizetype(size) - 2;
  for (const QString& name : all) {
    if (room <= 0) break;
    if (name.size() + 1 <= room) {
      fitting.append(name);
      room -= name.size() + 1;
      continue;
    }
    const QString part = cut(name, room);  // what fits of it ends the list
    if (!part.isEmpty()) fitting.append(part);
    break;
  }
  return fitting;
}

QString oversizeText(const QString& file) { return files::oversizeText(file, kMaxFileSize); }

QStringList getSections(const QString& file) { return load(file).sections(); }

int32_t writeString(const QString& section, const QString& key, const QString& value, const QString& file) {
  if (!IniDocument::isValidSectionName(section) || !IniDocument::isValidKeyName(key) ||
      !IniDocument::isValidValue(value)) {
    return ErrInvalidArgument;
  }
  return modify(file, [&](IniDocument& document) {
    document.setValue(section, key, value);
    return true;
  });
}

int32_t deleteKey(const QString& section, const QString& key, const QString& file) {
  return modify(file, [&](IniDocument& document) { return document.removeKey(section, key); });
}

int32_t deleteSection(const QString& section, const QString& file) {
  return modify(file, [&](IniDocument& document) { return document.removeSection(section); });
}

}  // namespace rt::ini
