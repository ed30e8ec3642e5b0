#include "app/naming/SimulatedFileSystem.h"

#include "runtime/RuntimeError.h"

namespace {

// Folder and name of a path, split at its last "/".
std::pair<QString, QString> splitPath(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return {QString(), path};
  return {path.left(slash), path.mid(slash + 1)};
}

}  // namespace

SimulatedFileSystem::Folder& SimulatedFileSystem::folder(const QString& path) const {
  auto it = folders_.find(path);
  if (it != folders_.end()) return *it;
  Folder loaded;
  try {
    const QStringList names = real_.entryNames(path.isEmpty() ? QStringLiteral("/") : path);
    loaded.names = QSet<QString>(names.begin(), names.end());
  } catch (const rt::RuntimeError& error) {
    loaded.error = error.number();
  }
  return *folders_.insert(path, loaded);
}

// "folder/", "folder/." and "folder/.." name the folders themselves, which exist.
static bool namesFolder(const QString& name) {
  return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
}

bool SimulatedFileSystem::exists(const QString& path) const {
  const auto [dir, name] = splitPath(path);
  const Folder& f = folder(dir);
  return f.names.contains(name) || (f.error == 0 && namesFolder(name));
}

bool SimulatedFileSystem::renameNoReplace(const QString& from, const QString& to) {
  const auto [fromDir, fromName] = splitPath(from);
  const auto [toDir, toName] = splitPath(to);
  folder(fromDir);
  folder(toDir);  // both loaded before taking references into the table
  Folder& source = folders_[fromDir];
  Folder& target = folders_[toDir];
  if (target.error != 0) rt::raise(target.error);
  if (!source.names.contains(fromName)) rt::raise(rt::ErrFileNotFound);
  if (target.names.contains(toName) || namesFolder(toName)) return false;
  source.names.remove(fromName);
  target.names.insert(toName);
  return true;
}

QStringList SimulatedFileSystem::entryNames(const QString& path) const {
  const Folder& f = folder(path);
  if (f.error != 0) rt::raise(f.error);
  return QStringList(f.names.begin(), f.names.end());
}
