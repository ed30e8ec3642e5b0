#include "app/common/ProgramInfo.h"

#include "app/common/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ProgramInfo {
namespace {

struct Location {
  QString folder;
  QString fileName;
};

Location& overridden() {
  static Location location;
  return location;
}

}  // namespace

QString ProgramFolder() {
  if (!overridden().folder.isEmpty()) return overridden().folder;
  return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

QString ProgramFileName() {
  if (!overridden().fileName.isEmpty()) return overridden().fileName;
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString ConfigHome() {
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!xdg.isEmpty()) return QDir::cleanPath(xdg);
  return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config"));
}

QString ChooseDataFolder(const QString& programFolder, bool programFolderWritable,
                         const QString& configHome) {
  if (programFolderWritable) return programFolder;
  return QDir::cleanPath(configHome + QStringLiteral("/Tindra"));
}

QString DataFolder() {
  const QString program = ProgramFolder();
  const QFileInfo info(program);
  const bool portable = info.isDir() && info.isWritable() && !InstallLayout::IsInstalled(program);
  const QString folder = ChooseDataFolder(program, portable, ConfigHome());
  if (folder != program) QDir().mkpath(folder);
  return folder;
}

void OverrideLocation(const QString& folder, const QString& fileName) {
  overridden() = Location{folder.isEmpty() ? QString() : QDir::cleanPath(folder), fileName};
}

}  // namespace ProgramInfo
