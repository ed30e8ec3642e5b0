#include "tests/support/TestEnvironment.h"

#include "tests/support/LibraryRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdlib>
#include <memory>

namespace testsupport {
namespace {
std::unique_ptr<QTemporaryDir>& tempDirHolder() {
  static std::unique_ptr<QTemporaryDir> dir;
  return dir;
}
}  // namespace

// Called from main before anything else: every test process gets its own TMPDIR and
// XDG_CONFIG_HOME and XDG_STATE_HOME, so no test reads or writes the user's files or another test's.
void initProcessEnvironment() {
  auto& holder = tempDirHolder();
  holder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tindra-test-XXXXXX"));
  if (!holder->isValid()) {
    std::abort();
  }
  const QString root = holder->path();
  QDir(root).mkpath(QStringLiteral("tmp"));
  QDir(root).mkpath(QStringLiteral("config"));
  QDir(root).mkpath(QStringLiteral("machine"));
  const QByteArray tmp = QFile::encodeName(root + QStringLiteral("/tmp"));
  const QByteArray cfg = QFile::encodeName(root + QStringLiteral("/config"));
  setenv("TMPDIR", tmp.constData(), 1);
  setenv("XDG_CONFIG_HOME", cfg.constData(), 1);
  setenv("HOME", QFile::encodeName(root).constData(), 1);
  // Nor the machine-wide store an installation wrote.
  setenv("TINDRA_MACHINE_CONFIG", QFile::encodeName(root + QStringLiteral("/machine")).constData(), 1);
  setenv("XDG_STATE_HOME", QFile::encodeName(root + QStringLiteral("/state")).constData(), 1);
  if (!getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  // Library objects are created by class identifier from this private store.
  registerBuiltLibrary();
}

void clearProcessEnvironment() { tempDirHolder().reset(); }

QString processTempDir() { return tempDirHolder() ? tempDirHolder()->path() : QString(); }

QString makeTempDir(const QString& hint) {
  const QString path = processTempDir() + QStringLiteral("/") + hint + QStringLiteral("-") +
                       QUuid::createUuid().toString(QUuid::Id128).left(12);
  QDir().mkpath(path);
  return path;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QString corpusDir() {
#ifdef TINDRA_CORPUS_DIR
  const QString dir = QStringLiteral(TINDRA_CORPUS_DIR);
  if (QFileInfo(dir).isDir()) return QDir(dir).canonicalPath();
#endif
  return {};
}

QList<QStringList> readTsv(const QString& path) {
  QList<QStringList> rows;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return rows;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).chopped(1);
    if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) rows.append(line.split(QLatin1Char('\t')));
  }
  return rows;
}

}  // namespace testsupport
