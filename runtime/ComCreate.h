#pragma once
// Creation of component objects by class identifier. The class's registration in the
// registry store (HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, default value = the server
// library's path) names the library; it is loaded once and kept for the life of the process;
// its DllGetClassObject gives the class factory, which creates the object.

#include "runtime/ComPtr.h"
#include "runtime/ComTypes.h"

#include <QString>

namespace rt::com {

// The registered server path of a class, or "" when the class is not registered.
QString registeredServerPath(const CLSID& clsid);

// Creates an object of class clsid and asks it for interface iid. On success *object holds
// a reference. Failure statuses (*object is then null):
//   REGDB_E_CLASSNOTREG    the class is not registered (no key or no server path);
//   CO_E_DLLNOTFOUND       the registered file does not exist;
//   CO_E_ERRORINDLL        the file cannot be loaded or lacks DllGetClassObject;
//   CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE ...  as the server answers.
// detail, when given, receives a French explanation of a failure.
HRESULT createInstance(const CLSID& clsid, const IID& iid, void** object, QString* detail = nullptr);

template <class T>
HRESULT createInstance(const CLSID& clsid, ComPtr<T>& out, QString* detail = nullptr) {
  return createInstance(clsid, T::kIid, out.put(), detail);
}

}  // namespace rt::com
