#pragma once
// The class factory handed out by DllGetClassObject: one per request, creating objects of one
// built class.

#include "lib/ClassTable.h"
#include "runtime/ComTypes.h"

namespace orvo {

// Gives a new factory for clsid asked for iid: CLASS_E_CLASSNOTAVAILABLE when classes
// do not hold it.
HRESULT getClassFactory(std::span<const BuiltClass> classes, const CLSID& clsid, const IID& iid,
                        void** object);

}  // namespace orvo
