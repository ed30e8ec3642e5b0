#include "app/naming/SimulatedFileSystem.h"

#include "runtime/PathCodec.h"
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

}  // namespace

SimulatedFileSystem::Folder& SimulatedFileSystem::folder(QStringView path) const {
  if (last_ && sameText(path, lastPath_)) return *last_;
  QString key = path.toString();
  auto it = folders_.find(key);
  if (it == folders_.end()) {
    Folder loaded;
    try {
      loaded.listed = listings_.read(real_, key.isEmpty() ? QStringLiteral("/") : key);
    } catch (const rt::RuntimeError& error) {
      loaded.error = error.number();
    }
    it = folders_.emplace(key, std::move(loaded)).first;
  }
  lastPath_ = std::move(key);
  last_ = &it->second;
  return *last_;
}

void SimulatedFileSystem::Folder::copyListing() {
  if (copied) return;
  copied = true;
  if (!listed) return;  // a folder that could not be read holds nothing
  names = listed->index;
  present.assign(static_cast<size_t>(names.size()), 1);
  // Room for two new names per entry: each file renamed takes a temporary then a final name.
  present.reserve(3 * present.size());
}

bool SimulatedFileSystem::exists(const QString& path) const {
  const auto [dir, name] = splitPath(path);
  const Folder& f = folder(dir);
  return f.holds(name) || (f.error == 0 && rt::namesFolderItself(name));  // the folder itself exists
}

bool SimulatedFileSystem::renameNoReplace(const QString& from, const QString& to) {
  const auto [fromDir, fromName] = splitPath(from);
  const auto [toDir, toName] = splitPath(to);
  Folder& target = folder(toDir);
  Folder& source = sameText(fromDir, toDir) ? target : folder(fromDir);
  return rename(source, fromName, target, toName);
}

bool SimulatedFileSystem::renameInFolder(const QString& path, QStringView from, QStringView to) {
  Folder& f = folder(path);
  return rename(f, from, f, to);
}

bool SimulatedFileSystem::rename(Folder& source, QStringView fromName, Folder& target, QStringView toName) {
  if (target.error != 0) rt::raise(target.error);
  source.copyListing();
  target.copyListing();
  const qsizetype leaving = source.names.find(fromName);
  if (leaving < 0 || !source.present[static_cast<size_t>(leaving)]) rt::raise(rt::ErrFileNotFound);
  if (rt::namesFolderItself(toName)) return false;  // the folder itself: taken
  source.present[static_cast<size_t>(leaving)] = 0;
  const qsizetype taking = target.names.insert(toName);
  if (static_cast<size_t>(taking) == target.present.size()) target.present.push_back(0);
  if (target.present[static_cast<size_t>(taking)]) {  // to is taken: from stays
    source.present[static_cast<size_t>(leaving)] = 1;
    return false;
  }
  target.present[static_cast<size_t>(taking)] = 1;
  source.moved = target.moved = true;
  return true;
}

std::shared_ptr<const FolderListings::Listing> SimulatedFileSystem::listing(const QString& path) const {
  const Folder& f = folder(path);
  if (f.error != 0) rt::raise(f.error);
  return f.listed;
}

QStringList SimulatedFileSystem::entryNames(const QString& path) const {
  const Folder& f = folder(path);
  if (f.error != 0) rt::raise(f.error);
  if (!f.moved) return f.listed->names;  // shared, not copied
  QStringList names;
  for (qsizetype number = 0; number < f.names.size(); ++number)
    if (f.present[static_cast<size_t>(number)]) names.append(f.names.name(number).toString());
  return names;
}
