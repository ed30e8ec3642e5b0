#include "runtime/ComServer.h"

#include "runtime/RegistryStore.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dlfcn.h>

#include <mutex>

namespace rt::com {
namespace {

constexpr const char* kRequiredEntries[] = {"DllGetClassObject", "DllCanUnloadNow",
                                            "DllRegisterServer", "DllUnregisterServer"};

struct LoadedServers {
  std::mutex mutex;
  QHash<QString, void*> handles;  // absolute path -> handle, never closed
};

LoadedServers& loaded() {
  static LoadedServers servers;
  return servers;
}

QString absolutePath(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

// The handle of the server at path, loading it on first use; null on failure.
void* serverHandle(const QString& path, ServerLoad* load, QString* detail) {
  const QString key = absolutePath(path);
  const QFileInfo info(key);
  if (path.isEmpty() || !info.exists() || info.isDir()) {
    if (load) *load = ServerLoad::FileMissing;
    if (detail) *detail = QStringLiteral("Fichier introuvable : %1").arg(key);
    return nullptr;
  }
  auto& servers = loaded();
  std::lock_guard lock(servers.mutex);
  void* handle = servers.handles.value(key, nullptr);
  if (!handle) {
    handle = dlopen(QFile::encodeName(key).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      if (load) *load = ServerLoad::NotAServer;
      if (detail) {
        const char* why = dlerror();
        *detail = QStringLiteral("Impossible de charger %1 : %2")
                      .arg(key, why ? QString::fromLocal8Bit(why) : QString());
      }
      return nullptr;
    }
    for (const char* name : kRequiredEntries) {
      if (!dlsym(handle, name)) {
        // Not a component server: keep it loaded (unloading is not worth its risk) but
        // never answer for it.
        if (load) *load = ServerLoad::NotAServer;
        if (detail) {
          *detail = QStringLiteral("%1 n'est pas un serveur de composants (point d'entrée %2 absent)")
                        .arg(key, QString::fromLatin1(name));
        }
        return nullptr;
      }
    }
    servers.handles.insert(key, handle);
  }
  if (load) *load = ServerLoad::Loaded;
  return handle;
}

}  // namespace

ServerLoad loadServer(const QString& path, QString* detail) {
  ServerLoad load = ServerLoad::NotAServer;
  serverHandle(path, &load, detail);
  return load;
}

void* serverEntry(const QString& path, const char* name, ServerLoad* load, QString* detail) {
  void* handle = serverHandle(path, load, detail);
  if (!handle) return nullptr;
  void* entry = dlsym(handle, name);
  if (!entry && detail) {
    *detail = QStringLiteral("Point d'entrée %1 absent de %2").arg(QString::fromLatin1(name), path);
  }
  return entry;
}

RegistrationResult registerServer(const QString& path, bool unregister, QString* detail) {
  ServerLoad load = ServerLoad::NotAServer;
  void* entry = serverEntry(path, unregister ? "DllUnregisterServer" : "DllRegisterServer", &load,
                            detail);
  if (!entry) {
    return load == ServerLoad::FileMissing ? RegistrationResult::FileMissing
                                           : RegistrationResult::NotAServer;
  }
  const HRESULT status = reinterpret_cast<DllRegisterServerFn>(entry)();
  if (failed(status)) {
    if (detail) {
      // Registrations live in the classes hive: one too large to be used is the reason to give.
      *detail = reg::hiveOversizeText(reg::ClassesRoot);
      if (detail->isEmpty()) {
        *detail = QStringLiteral("%1 a échoué (code 0x%2)")
                      .arg(QString::fromLatin1(unregister ? "DllUnregisterServer" : "DllRegisterServer"))
                      .arg(static_cast<uint32_t>(status), 8, 16, QLatin1Char('0'));
      }
    }
    return RegistrationResult::Failed;
  }
  return RegistrationResult::Done;
}

HRESULT serverCanUnloadNow(const QString& path) {
  void* entry = serverEntry(path, "DllCanUnloadNow");
  if (!entry) return CO_E_ERRORINDLL;
  return reinterpret_cast<DllCanUnloadNowFn>(entry)();
}

std::optional<ServerVersion> serverVersion(const QString& path) {
  void* entry = serverEntry(path, "DllGetVersion");
  if (!entry) return std::nullopt;
  ServerVersion version;
  if (failed(reinterpret_cast<DllGetVersionFn>(entry)(&version))) return std::nullopt;
  return version;
}

QString moduleFilePath(const void* address) {
  Dl_info info{};
  if (!address || dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname) return {};
  return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}

}  // namespace rt::com
