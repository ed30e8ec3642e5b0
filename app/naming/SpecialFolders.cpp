#include "app/naming/SpecialFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool isFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

QString GetPersonalFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (isFolder(documents)) return QDir::cleanPath(documents);
  const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
  if (isFolder(home)) return QDir::cleanPath(home);
  return QString();
}
