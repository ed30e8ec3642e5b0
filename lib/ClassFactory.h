#pragma once
// The class factory handed out by DllGetClassObject: one per request, creating objects of one
// built class.

#include "lib/ClassTable.h"
#include "runtime/ComTypes.h"

namespace orvo {

// Gives a new factory for clsid asked for iid: CLASS_E_CLASSNOTAVAILABLE when this build
// does not carry the class.
HRESULT getClassFactory(const CLSID& clsid, const IID& iid, void** object);

}  // namespace orvo
