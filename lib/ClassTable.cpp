#include "lib/ClassTable.h"

#include "lib/ComObject.h"
#include "lib/Divers.h"
#include "lib/FilesPaths.h"
#include "lib/HexFunctions.h"
#include "lib/IniParam.h"
#include "lib/KeyFilter.h"
#include "lib/LogFileClass.h"
#include "lib/RegBase.h"
#include "lib/StrToKclass.h"
#include "lib/StringArray.h"
#include "lib/WidgetModule.h"

namespace orvo {
namespace {
// One line per class: add a class here once its implementation exists. The classes that need
// widgets are created by the widget module, loaded then.
const BuiltClass kBuiltClasses[] = {
    {OrvoLib22::kIniParam, &createObject<IniParam>},
    {OrvoLib22::kHexFunctions, &createObject<HexFunctions>},
    {OrvoLib22::kWinPlace, &createWidgetObject<CLSID_WinPlace>},
    {OrvoLib22::kPrintWnd, &createWidgetObject<CLSID_PrintWnd>},
    {OrvoLib22::kFilesPaths, &createObject<FilesPaths>},
    {OrvoLib22::kDivers, &createObject<Divers>},
    {OrvoLib22::kRegBase, &createObject<RegBase>},
    {OrvoLib22::kStringArray, &createObject<StringArray>},
    {OrvoLib22::kLogFileClass, &createObject<LogFileClass>},
    {OrvoLib22::kStrToKclass, &createObject<StrToKclass>},
    {OrvoLib22::kKeyFilter, &createObject<KeyFilter>},
};
}  // namespace

std::span<const BuiltClass> builtClasses() { return kBuiltClasses; }

const BuiltClass* findBuiltClass(const CLSID& clsid) { return findClassIn(kBuiltClasses, clsid); }

}  // namespace orvo
