#include "app/common/HandOff.h"

#include "app/common/ProgramInfo.h"
#include "runtime/FileLock.h"
#include "runtime/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

namespace handoff {
namespace {

QString lockFileName() { return FileName() + QStringLiteral(".lock"); }

}  // namespace

QString FileName() { return ProgramInfo::DataFolder() + QStringLiteral("/~files.tmp"); }

bool Exists() { return QFileInfo(FileName()).isFile(); }

void Append(const QString& list) {
  const rt::files::FileLock lock(lockFileName(), rt::files::FileLock::Kind::LockFile);
  if (!lock.locked()) rt::raise(lock.error());
  QFile file(FileName());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) rt::raise(rt::ErrPathFileAccess);
  const QByteArray bytes = (list + QStringLiteral("\r\n")).toUtf8();
  if (file.write(bytes) != bytes.size() || !file.flush()) rt::raise(rt::ErrDeviceIO);
}

std::optional<QString> Claim() {
  if (!Exists()) return std::nullopt;
  const rt::files::FileLock lock(lockFileName(), rt::files::FileLock::Kind::LockFile);
  if (!lock.locked()) return std::nullopt;
  QFile file(FileName());
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  file.close();
  if (!QFile::remove(FileName())) return std::nullopt;
  return QString::fromUtf8(bytes);
}

}  // namespace handoff
