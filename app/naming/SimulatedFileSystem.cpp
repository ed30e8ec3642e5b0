#include "app/naming/SimulatedFileSystem.h"

#include "runtime/RuntimeError.h"

#include <algorithm>

namespace {

// Folder and name of a path, split at its last "/". Both view path.
std::pair<QStringView, QStringView> splitPath(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return {QStringView(), QStringView(path)};
  return {QStringView(path).left(slash), QStringView(path).mid(slash + 1)};
}

// The name as a string for looking up only: no copy, valid while the path viewed lives.
QString lookupKey(QStringView name) { return QString::fromRawData(name.data(), name.size()); }

// "folder/", "folder/." and "folder/.." name the folders themselves, which exist.
bool namesFolder(QStringView name) {
  return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
}

}  // namespace

SimulatedFileSystem::Folder& SimulatedFileSystem::folder(QStringView path) const {
  if (last_ && path.size() == lastPath_.size() &&
      std::equal(path.begin(), path.end(), lastPath_.cbegin()))
    return *last_;
  QString key = path.toString();
  auto it = folders_.find(key);
  if (it == folders_.end()) {
    Folder loaded;
    try {
      loaded.listed = listings_.read(real_, key.isEmpty() ? QStringLiteral("/") : key);
      loaded.names = loaded.listed->index;
    } catch (const rt::RuntimeError& error) {
      loaded.error = error.number();
    }
    it = folders_.emplace(key, std::move(loaded)).first;
  }
  lastPath_ = std::move(key);
  last_ = &it->second;
  return *last_;
}

bool SimulatedFileSystem::exists(const QString& path) const {
  const auto [dir, name] = splitPath(path);
  const Folder& f = folder(dir);
  return f.names.contains(lookupKey(name)) || (f.error == 0 && namesFolder(name));
}

bool SimulatedFileSystem::renameNoReplace(const QString& from, const QString& to) {
  const auto [fromDir, fromName] = splitPath(from);
  const auto [toDir, toName] = splitPath(to);
  Folder& target = folder(toDir);
  const bool sameFolder = fromDir.size() == toDir.size() && std::equal(fromDir.begin(), fromDir.end(), toDir.begin());
  Folder& source = sameFolder ? target : folder(fromDir);
  if (target.error != 0) rt::raise(target.error);
  if (!source.names.remove(lookupKey(fromName))) rt::raise(rt::ErrFileNotFound);
  const qsizetype before = target.names.size();
  if (!namesFolder(toName)) target.names.insert(toName.toString());  // a copy: toName views the caller's path
  if (target.names.size() == before) {  // to is taken: from stays
    source.names.insert(fromName.toString());
    return false;
  }
  source.moved = target.moved = true;
  return true;
}

QStringList SimulatedFileSystem::entryNames(const QString& path) const {
  const Folder& f = folder(path);
  if (f.error != 0) rt::raise(f.error);
  if (!f.moved) return f.listed->names;  // shared, not copied
  return QStringList(f.names.cbegin(), f.names.cend());
}
