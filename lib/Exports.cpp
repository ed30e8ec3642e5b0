// The library's exported entry points: the four of an in-process component server and the
// file version. Everything else in the library is hidden.

#include "lib/ClassFactory.h"
#include "lib/Registration.h"
#include "lib/ServerLifetime.h"
#include "lib/WidgetModule.h"
#include "lib/include/OrvoLib22.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComServer.h"

#define ORVOLIB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

QString ownPath() {
  return rt::com::moduleFilePath(reinterpret_cast<const void*>(&orvo::registerLibrary));
}

// Entry points run foreign-called: nothing may escape them.
template <class Body>
HRESULT guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return rt::com::recordCurrentException();
  }
}

}  // namespace

ORVOLIB_EXPORT HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return guarded([&] { return orvo::getClassFactory(orvo::builtClasses(), clsid, iid, object); });
}

ORVOLIB_EXPORT HRESULT DllCanUnloadNow() {
  return orvo::serverInUse() || orvo::widgetModuleInUse() ? S_FALSE : S_OK;
}

ORVOLIB_EXPORT HRESULT DllRegisterServer() {
  return guarded([] { return orvo::registerLibrary(ownPath()); });
}

ORVOLIB_EXPORT HRESULT DllUnregisterServer() {
  return guarded([] { return orvo::unregisterLibrary(); });
}

ORVOLIB_EXPORT HRESULT DllGetVersion(ServerVersion* version) {
  if (!version) return E_POINTER;
  *version = OrvoLib22::kFileVersion;
  return S_OK;
}
