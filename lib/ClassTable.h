#pragma once
// The classes this build of the library carries: their type-library description and their
// creation function. Only these are registered and served by the class factory. The widget
// module has a table of its own for the classes it implements (lib/WidgetEntry.h).

#include "lib/include/OrvoLib22.h"

#include <span>

namespace orvo {

struct BuiltClass {
  const OrvoLib22::ClassInfo& info;
  HRESULT (*create)(const IID& iid, void** object);
};

// Every class of the library, those served by its widget part included.
std::span<const BuiltClass> builtClasses();

// The class of clsid in classes, or null.
inline const BuiltClass* findClassIn(std::span<const BuiltClass> classes, const CLSID& clsid) {
  for (const BuiltClass& c : classes) {
    if (c.info.clsid == clsid) return &c;
  }
  return nullptr;
}

// The built class of clsid, or null.
const BuiltClass* findBuiltClass(const CLSID& clsid);

}  // namespace orvo
