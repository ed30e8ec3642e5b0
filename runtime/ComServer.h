#pragma once
// Loading an in-process component server by path and calling its entry points. Used by the
// object creation, the registration tool and the test support. A loaded server stays loaded
// for the life of the process.

#include "runtime/ComTypes.h"

#include <QString>

#include <optional>

namespace rt::com {

enum class ServerLoad {
  Loaded,
  FileMissing,   // no file at that path (or a folder)
  NotAServer,    // the file cannot be loaded or lacks the entry points
};

// Loads the server at path (made absolute) and checks that it exports DllGetClassObject,
// DllCanUnloadNow, DllRegisterServer and DllUnregisterServer. detail receives a French
// explanation of a failure.
ServerLoad loadServer(const QString& path, QString* detail = nullptr);

// The address of an entry point of a loaded server, or null when the server cannot be loaded
// (see loadServer) or lacks it.
void* serverEntry(const QString& path, const char* name, ServerLoad* load = nullptr,
                  QString* detail = nullptr);

enum class RegistrationResult {
  Done,
  FileMissing,
  NotAServer,
  Failed,  // the server's own registration call returned a failed status
};

// Calls DllRegisterServer (or DllUnregisterServer) of the server at path. On Failed, detail
// names the classes hive when it is too large to be used, else gives the failed status.
RegistrationResult registerServer(const QString& path, bool unregister = false,
                                  QString* detail = nullptr);

// Calls DllCanUnloadNow: S_OK when the server may be unloaded, S_FALSE when an object or a
// lock is alive; a failed status when the server cannot be loaded.
HRESULT serverCanUnloadNow(const QString& path);

// The server's file version (DllGetVersion), or nullopt when it has none.
std::optional<ServerVersion> serverVersion(const QString& path);

// The absolute path of the loaded file (program or shared library) that holds address, or ""
// when it cannot be told. A server uses it to register its own path.
QString moduleFilePath(const void* address);

}  // namespace rt::com
