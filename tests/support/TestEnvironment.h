#pragma once
// Per-process test isolation and small file helpers shared by every test binary.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace testsupport {

// The private temporary folder of this test process (also $TMPDIR and the parent of
// $XDG_CONFIG_HOME). Created before any test runs, removed at exit.
QString processTempDir();

// A fresh, empty folder below processTempDir(); each call gives a new one.
QString makeTempDir(const QString& hint = QStringLiteral("t"));

// Writes bytes to path (creating the file, replacing any content). Returns false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

// Reads a whole file; an empty array when it cannot be read.
QByteArray readFile(const QString& path);

// The folder of real camera pictures beside the checkout, or "" when absent.
QString corpusDir();

// The rows of a tab-separated file, one list of fields per line; blank lines and lines
// starting with "#" are skipped. Empty when the file cannot be read.
QList<QStringList> readTsv(const QString& path);

}  // namespace testsupport

// Skips the current test with a clear message when the real-picture folder is missing.
#define TINDRA_REQUIRE_CORPUS(dirVar)                                                    \
  const QString dirVar = testsupport::corpusDir();                                       \
  if (dirVar.isEmpty())                                                                  \
  GTEST_SKIP() << "real-picture folder not found beside the checkout (../shared/corpus/real)"
