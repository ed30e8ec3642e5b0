#pragma once
// The library's side of its widget module (lib/WidgetEntry.h): loaded from the library's own
// folder on first use, then kept for the life of the process.

#include "lib/WidgetEntry.h"

namespace orvo {

// The widget module's entry table. Raises 429, naming the file, when the module cannot be
// loaded; a later call tries again.
const WidgetEntry& widgetModule();

// True when the module is loaded and one of its objects or locks is alive.
bool widgetModuleInUse();

// Raises, at the library's member, the error a failed call of the widget module recorded.
void raiseWidgetFailure(const WidgetEntry& module, HRESULT status);

// Creates an object of a class the widget module carries (a class table's creation function).
HRESULT createWidgetObject(const CLSID& clsid, const IID& iid, void** object);

template <const CLSID& kClass>
HRESULT createWidgetObject(const IID& iid, void** object) {
  return createWidgetObject(kClass, iid, object);
}

}  // namespace orvo
