#include "lib/ClassTable.h"

#include "lib/ComObject.h"
#include "lib/HexFunctions.h"
#include "lib/IniParam.h"

namespace orvo {
namespace {
// One line per class: add a class here once its implementation exists.
const BuiltClass kBuiltClasses[] = {
    {OrvoLib22::kIniParam, &createObject<IniParam>},
    {OrvoLib22::kHexFunctions, &createObject<HexFunctions>},
};
}  // namespace

std::span<const BuiltClass> builtClasses() { return kBuiltClasses; }

const BuiltClass* findBuiltClass(const CLSID& clsid) {
  for (const BuiltClass& c : kBuiltClasses) {
    if (c.info.clsid == clsid) return &c;
  }
  return nullptr;
}

}  // namespace orvo
