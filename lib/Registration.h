#pragma once
// Registration of the library's built classes in the registry store (HKEY_CLASSES_ROOT):
// for each class its CLSID key (description, ProgID, in-process server path with the
// apartment threading model, type library), its ProgID key "OrvoLib22.<Class>", its interface
// key, and the type library key (version 1.0, help folder).

#include "runtime/ComTypes.h"

#include <QString>

namespace orvo {

// Writes the registration with serverPath as the in-process server. Stale keys of the same
// classes are replaced. On failure nothing of it is left and SELFREG_E_CLASS comes back.
HRESULT registerLibrary(const QString& serverPath);

// Removes exactly the keys registerLibrary writes (and the CLSID, Interface and TypeLib
// parents when nothing else is left in them). Nothing to remove is a success.
HRESULT unregisterLibrary();

}  // namespace orvo
