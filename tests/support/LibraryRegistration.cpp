#include "tests/support/LibraryRegistration.h"

#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstdio>

namespace testsupport {
namespace {

// A registration takes a couple of seconds (every store change is flushed to the disk), and
// every test process needs one. The first process of a given library build keeps the hive it
// wrote; later ones copy it into their private store.
QString cachedHivePath(const QString& library) {
#ifdef TINDRA_TEST_CACHE_DIR
  const QFileInfo info(library);
  const QByteArray identity = (info.absoluteFilePath() + QString::number(info.size()) +
                               QString::number(info.lastModified().toMSecsSinceEpoch()))
                                  .toUtf8();
  const QString name = QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex());
  return QStringLiteral(TINDRA_TEST_CACHE_DIR "/registry-") + name + QStringLiteral(".reg");
#else
  Q_UNUSED(library);
  return {};
#endif
}

bool copyInto(const QString& from, const QString& to) {
  QDir().mkpath(QFileInfo(to).absolutePath());
  QFile::remove(to);
  return QFile::copy(from, to);
}

// Keeps the hive for later processes: written beside, then renamed, so no reader sees half.
void keepForLater(const QString& hive, const QString& cached) {
  if (cached.isEmpty()) return;
  const QString temporary = cached + QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128);
  if (copyInto(hive, temporary) && !QFile::rename(temporary, cached)) QFile::remove(temporary);
}

}  // namespace

QString builtLibraryPath() {
#ifdef TINDRA_ORVOLIB_PATH
  return QStringLiteral(TINDRA_ORVOLIB_PATH);
#else
  return {};
#endif
}

QString registrationToolPath() {
#ifdef TINDRA_REGSERVER_PATH
  return QStringLiteral(TINDRA_REGSERVER_PATH);
#else
  return {};
#endif
}

bool registerBuiltLibrary() {
  const QString library = builtLibraryPath();
  if (library.isEmpty()) return true;
  const QString hive = rt::reg::hiveFile(rt::reg::ClassesRoot);
  const QString cached = cachedHivePath(library);
  const bool freshStore = !QFileInfo::exists(hive);
  if (freshStore && !cached.isEmpty() && QFileInfo::exists(cached) && copyInto(cached, hive)) return true;
  QString detail;
  if (rt::com::registerServer(library, false, &detail) != rt::com::RegistrationResult::Done) {
    std::fprintf(stderr, "warning: the library could not be registered for the tests: %s\n",
                 detail.toLocal8Bit().constData());
    return false;
  }
  // Only a store that held nothing else is worth keeping.
  if (freshStore && !QFileInfo::exists(cached)) keepForLater(hive, cached);
  return true;
}

}  // namespace testsupport
