#pragma once
// Objects of the classes the library itself serves, made by the library that loaded this
// module (lib/WidgetEntry.h).

#include "runtime/ComTypes.h"

namespace orvo {

// CLASS_E_CLASSNOTAVAILABLE when the library does not carry the class.
HRESULT createLibraryObject(const CLSID& clsid, const IID& iid, void** object);

}  // namespace orvo
