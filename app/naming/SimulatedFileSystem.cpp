#include "app/naming/SimulatedFileSystem.h"

#include "runtime/RuntimeError.h"

#include <cstring>

namespace {

// Folder and name of a path, split at its last "/". Both view path.
std::pair<QStringView, QStringView> splitPath(const QString& path) {
  const QChar* begin = path.constData();
  const QChar* slash = begin + path.size();
  while (slash != begin && *(slash - 1) != QLatin1Char('/')) --slash;
  if (slash == begin) return {QStringView(), QStringView(path)};
  return {QStringView(begin, slash - 1), QStringView(slash, begin + path.size())};
}

bool sameText(QStringView a, QStringView b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), static_cast<size_t>(a.size()) * sizeof(QChar)) == 0;
}

// The name as a string for looking up only: no copy, valid while the path viewed lives.
QString lookupKey(QStringView name) { return QString::fromRawData(name.data(), name.size()); }

// "folder/", "folder/." and "folder/.." name the folders themselves, which exist.
bool namesFolder(QStringView name) {
  return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
}

}  // namespace

SimulatedFileSystem::Folder& SimulatedFileSystem::folder(QStringView path) const {
  if (last_ && sameText(path, lastPath_)) return *last_;
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
  Folder& source = sameText(fromDir, toDir) ? target : folder(fromDir);
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
