#pragma once
// The classes this build of the library carries: their type-library description and their
// creation function. Only these are registered and served by the class factory.

#include "lib/include/OrvoLib22.h"

#include <span>

namespace orvo {

struct BuiltClass {
  const OrvoLib22::ClassInfo& info;
  HRESULT (*create)(const IID& iid, void** object);
};

std::span<const BuiltClass> builtClasses();

// The built class of clsid, or null.
const BuiltClass* findBuiltClass(const CLSID& clsid);

}  // namespace orvo
