#pragma once
// Creation of component objects by class identifier. A class's registration in the registry
// store (HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, default value = the server library's
// path) names the library, in the user's store first, then in the machine-wide store; the
// library is loaded once and kept for the life of the process; its DllGetClassObject gives
// the class factory, which creates the object.
//
// A client that comes with its own copy of a server (the program and its library) also names
// that server's file and the folders it may sit in, so that a class registered nowhere, or
// registered to a file that is gone, is still created.

#include "runtime/ComPtr.h"
#include "runtime/ComTypes.h"

#include <QString>
#include <QStringList>

namespace rt::com {

// The server file a client brings along and where it looks for it: firstFolders before any
// registration (the client's build tree or portable folder: a registration never makes it load
// another build's copy), lastFolders after the registrations (the client's own install).
struct BundledServer {
  QString fileName;
  QStringList firstFolders;
  QStringList lastFolders;
};

// The registered server path of a class in the user's store, else in the machine-wide store;
// "" when the class is registered in neither.
QString registeredServerPath(const CLSID& clsid);

// Creates an object of class clsid and asks it for interface iid, trying in turn the bundled
// server's first folders, the user's and the machine's registrations, then the bundled
// server's last folders; the first place that gives the object wins. On success *object holds
// a reference. Failure statuses (*object is then null), from the place that got furthest:
//   REGDB_E_CLASSNOTREG    the class is registered nowhere and no server file was looked for;
//   CO_E_DLLNOTFOUND       no server file exists at any place looked at;
//   CO_E_ERRORINDLL        a file cannot be loaded or lacks DllGetClassObject;
//   CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE ...  as the server answers.
// detail, when given, receives a French explanation of a failure naming every file looked for.
HRESULT createInstance(const CLSID& clsid, const IID& iid, void** object, QString* detail = nullptr,
                       const BundledServer* bundled = nullptr);

template <class T>
HRESULT createInstance(const CLSID& clsid, ComPtr<T>& out, QString* detail = nullptr,
                       const BundledServer* bundled = nullptr) {
  return createInstance(clsid, T::kIid, out.put(), detail, bundled);
}

}  // namespace rt::com
