// Fuzzes the initialisation-file service: the input is an ini file. Reads every section and
// key from a real file, then adds a key to the first section and removes it again through the
// file service, and checks that the untouched lines survived both rewrites byte for byte.
#include "runtime/AtomicFile.h"
#include "runtime/IniDocument.h"
#include "runtime/IniFile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString& scratchFile() {
  static const QString path = QDir::tempPath() + QStringLiteral("/ini-fuzz-%1.ini").arg(QCoreApplication::applicationPid());
  return path;
}

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "ini fuzz check failed: %s\n", what);
    std::abort();
  }
}

// The line end the service gives new lines: the document's first one (LF, CR LF or a lone CR),
// LF when it has none.
QByteArray firstLineEnd(const QByteArray& bytes) {
  const qsizetype lf = bytes.indexOf('\n');
  const qsizetype cr = bytes.indexOf('\r');
  if (cr < 0 && lf < 0) return QByteArrayLiteral("\n");
  if (cr < 0 || (lf >= 0 && lf < cr)) return QByteArrayLiteral("\n");
  return cr + 1 == lf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r");
}

QByteArray readBack(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const rt::ini::IniDocument document(input);
  check(document.toBytes() == input, "unchanged document differs from its bytes");

  rt::files::setFlushToDisk(false);
  const QString& path = scratchFile();
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(input) != input.size()) return 0;
  }
  const QStringList sections = rt::ini::getSections(path);
  for (const QString& section : sections) {
    for (const QString& key : rt::ini::getKeys(section, 4096, path)) {
      (void)rt::ini::getString(section, key, QString(), 1024, path);
    }
  }

  const QString section = sections.isEmpty() || !rt::ini::IniDocument::isValidSectionName(sections.first())
                              ? QStringLiteral("FuzzSection")
                              : sections.first();
  const QString key = QStringLiteral("fuzz-added-key");
  if (rt::ini::getString(section, key, QStringLiteral("<none>"), 64, path) != QStringLiteral("<none>")) return 0;
  check(rt::ini::writeString(section, key, QStringLiteral("v"), path) == 0, "write failed");
  check(rt::ini::getString(section, key, QString(), 64, path) == QStringLiteral("v"), "written value not read back");
  const QByteArray written = readBack(path);
  check(rt::ini::deleteKey(section, key, path) == 0, "delete failed");
  if (!sections.contains(section, Qt::CaseInsensitive)) {
    check(rt::ini::deleteSection(section, path) == 0, "section delete failed");
  }
  // Back to the input, give or take the document's line end that the first write gave an
  // unterminated last line.
  const QByteArray restored = readBack(path);
  const QByteArray added = restored.startsWith(input) ? restored.mid(input.size()) : QByteArray("<changed>");
  check(added.isEmpty() || added == firstLineEnd(input), "untouched lines changed");
  check(written.size() > input.size(), "write added nothing");
  return 0;
}
