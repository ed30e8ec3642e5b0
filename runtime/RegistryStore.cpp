#include "runtime/RegistryStore.h"

#include "runtime/AtomicFile.h"
#include "runtime/FileLock.h"
#include "runtime/HiveFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QHash>

#include <functional>
#include <memory>
#include <mutex>

namespace rt::reg {
namespace {

// A hive larger than this is not read (and never rewritten).
constexpr qint64 kMaxHiveSize = 64 * 1024 * 1024;

QString rootName(int32_t root) {
  switch (static_cast<uint32_t>(root)) {
    case 0x80000000u: return QStringLiteral("HKEY_CLASSES_ROOT");
    case 0x80000001u: return QStringLiteral("HKEY_CURRENT_USER");
    case 0x80000002u: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case 0x80000003u: return QStringLiteral("HKEY_USERS");
    case 0x80000004u: return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case 0x80000005u: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case 0x80000006u: return QStringLiteral("HKEY_DYN_DATA");
    default: return QString();
  }
}

QString configFolder() {
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg;
  const QString home = qEnvironmentVariable("HOME");
  return (home.isEmpty() ? QDir::homePath() : home) + QStringLiteral("/.config");
}

// A hive as read for a query, shared with the cache below.
struct LoadedHive {
  std::shared_ptr<const ParsedHive> hive;
  bool readable() const { return hive != nullptr; }
};

// The hive of root in the store under configuration folder folder.
QString hiveFileIn(const QString& folder, int32_t root) {
  return folder + QStringLiteral("/Tindra/registry/") + rootName(root) + QStringLiteral(".reg");
}

// The process reads each hive file once while it stays the same: a query compares the file's
// stamp with the one read (a write by this process or another replaces the file, so the stamp
// changes) and parses again only when they differ. A missing hive is not kept.
struct CachedHive {
  files::FileStamp stamp;
  std::shared_ptr<const ParsedHive> hive;
};

LoadedHive loadFile(const QString& path, int32_t root) {
  if (!isValidRoot(root)) return {};
  static std::mutex guard;
  static QHash<QString, CachedHive> cache;
  if (const std::optional<files::FileStamp> stamp = files::fileStamp(path)) {
    const std::lock_guard lock(guard);
    const auto cached = cache.constFind(path);
    if (cached != cache.cend() && cached->stamp == *stamp) return {cached->hive};
  }
  const files::ReadResult file = files::readWholeFile(path, kMaxHiveSize);
  if (file.error != 0) return {};
  auto hive = std::make_shared<const ParsedHive>(parseHive(file.bytes, rootName(root)));
  const std::lock_guard lock(guard);
  if (file.exists) {
    cache.insert(path, CachedHive{file.stamp, hive});
  } else {
    cache.remove(path);
  }
  return {hive};
}

LoadedHive load(int32_t root) { return loadFile(hiveFile(root), root); }

// The key at the path below top, or nullptr (also for a malformed path).
const HiveKey* find(const HiveKey& top, const QString& path) {
  const QStringList names = splitKeyPath(path);
  if (names.isEmpty()) return nullptr;
  const HiveKey* key = &top;
  for (const QString& name : names) {
    key = key->child(name);
    if (!key) return nullptr;
  }
  return key;
}

HiveKey* find(HiveKey& top, const QString& path) {
  return const_cast<HiveKey*>(find(static_cast<const HiveKey&>(top), path));
}

// A change applied to the hive's tree: returns its result and sets changed when it modified
// the tree.
using Change = std::function<bool(HiveKey& top, bool& changed)>;

// Under the hive's lock: reads the hive, applies change and, when the tree changed, writes the
// hive back. A damaged hive is first copied to "<hive>.damaged", since the rewrite drops what
// could not be read. Returns the change's result, or false when the hive could not be read or
// written.
bool mutate(int32_t root, const Change& change) {
  if (!isValidRoot(root)) return false;
  const QString file = hiveFile(root);
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  const files::FileLock lock(file + QStringLiteral(".lock"), files::FileLock::Kind::LockFile);
  if (!lock.locked()) return false;
  const files::ReadResult current = files::readWholeFile(file, kMaxHiveSize);
  if (current.error != 0) return false;
  ParsedHive hive = parseHive(current.bytes, rootName(root));
  bool changed = false;
  const bool result = change(hive.root, changed);
  if (!changed) return result;
  if (hive.damaged && files::writeFileAtomically(file + QStringLiteral(".damaged"), current.bytes) != 0) return false;
  if (files::writeFileAtomically(file, serializeHive(hive.root, rootName(root))) != 0) return false;
  return result;
}

// The key's parent path and own name; false for a malformed path.
bool splitParent(const QString& path, QString& parent, QString& name) {
  const QStringList names = splitKeyPath(path);
  if (names.isEmpty()) return false;
  name = names.last();
  parent = names.mid(0, names.size() - 1).join(u'\\');
  return true;
}

// Removes the key at path when allowed(key). Returns whether it was removed.
bool removeKey(int32_t root, const QString& path, const std::function<bool(const HiveKey&)>& allowed) {
  QString parentPath;
  QString name;
  if (!splitParent(path, parentPath, name)) return false;
  return mutate(root, [&](HiveKey& top, bool& changed) {
    HiveKey* parent = parentPath.isEmpty() ? &top : find(top, parentPath);
    HiveKey* key = parent ? parent->child(name) : nullptr;
    if (!key || !allowed(*key)) return false;
    changed = parent->removeChild(name);
    return changed;
  });
}

}  // namespace

bool isValidRoot(int32_t root) { return !rootName(root).isEmpty(); }

QString hiveFile(int32_t root) {
  if (!isValidRoot(root)) return QString();
  return hiveFileIn(configFolder(), root);
}

QString hiveOversizeText(int32_t root) {
  return isValidRoot(root) ? files::oversizeText(hiveFile(root), kMaxHiveSize) : QString();
}

bool keyExists(int32_t root, const QString& key) {
  LoadedHive loaded = load(root);
  return loaded.readable() && find(loaded.hive->root, key) != nullptr;
}

bool createKey(int32_t root, const QString& key, const QString& className) {
  const QStringList names = splitKeyPath(key);
  if (names.isEmpty()) return false;
  return mutate(root, [&](HiveKey& top, bool& changed) {
    HiveKey* current = &top;
    for (const QString& name : names) {
      changed = changed || current->child(name) == nullptr;
      current = &current->ensureChild(name, className);
    }
    return true;
  });
}

std::optional<QString> queryValue(int32_t root, const QString& key, const QString& name) {
  LoadedHive loaded = load(root);
  const HiveKey* found = loaded.readable() ? find(loaded.hive->root, key) : nullptr;
  const QString* value = found ? found->value(name) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

bool setValue(int32_t root, const QString& key, const QString& name, const QString& value) {
  return mutate(root, [&](HiveKey& top, bool& changed) {
    HiveKey* found = find(top, key);
    if (!found) return false;
    changed = found->setValue(name, value);
    return true;
  });
}

bool deleteValue(int32_t root, const QString& key, const QString& name) {
  return mutate(root, [&](HiveKey& top, bool& changed) {
    HiveKey* found = find(top, key);
    changed = found && found->removeValue(name);
    return changed;
  });
}

bool deleteKey(int32_t root, const QString& key) {
  return removeKey(root, key, [](const HiveKey& found) { return found.children().empty(); });
}

bool deleteTree(int32_t root, const QString& key) {
  return removeKey(root, key, [](const HiveKey&) { return true; });
}

QStringList subKeys(int32_t root, const QString& key) {
  LoadedHive loaded = load(root);
  const HiveKey* found = loaded.readable() ? find(loaded.hive->root, key) : nullptr;
  QStringList names;
  if (found) {
    for (const auto& child : found->children()) names.append(child->name());
  }
  return names;
}

QStringList valueNames(int32_t root, const QString& key) {
  LoadedHive loaded = load(root);
  const HiveKey* found = loaded.readable() ? find(loaded.hive->root, key) : nullptr;
  QStringList names;
  if (found) {
    for (const auto& value : found->values()) names.append(value.first);
  }
  return names;
}

QString machineConfigFolder() {
  const QString forced = qEnvironmentVariable("TINDRA_MACHINE_CONFIG");
  if (!forced.isEmpty() && QDir::isAbsolutePath(forced)) return QDir::cleanPath(forced);
  const QDir bin = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absoluteDir();
  QDir prefix = bin;
  if (bin.dirName() != QLatin1String("bin") || !prefix.cdUp()) return QStringLiteral("/etc/xdg");
  const QString path = QDir::cleanPath(prefix.absolutePath());
  if (path == QLatin1String("/usr") || path == QLatin1String("/")) return QStringLiteral("/etc/xdg");
  return path + QStringLiteral("/etc/xdg");
}

QString machineHiveFile(int32_t root) {
  if (!isValidRoot(root)) return QString();
  return hiveFileIn(machineConfigFolder(), root);
}

std::optional<QString> queryMachineValue(int32_t root, const QString& key, const QString& name) {
  LoadedHive loaded = loadFile(machineHiveFile(root), root);
  const HiveKey* found = loaded.readable() ? find(loaded.hive->root, key) : nullptr;
  const QString* value = found ? found->value(name) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

}  // namespace rt::reg
