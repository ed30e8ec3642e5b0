// The widget module's one exported function: the entry table the library calls
// (lib/WidgetEntry.h). Everything else in the module is hidden.

#include "lib/ArgumentValues.h"
#include "lib/ClassFactory.h"
#include "lib/ComObject.h"
#include "lib/ServerLifetime.h"
#include "lib/WidgetEntry.h"
#include "lib/widgets/BrowseDirectory.h"
#include "lib/widgets/FileDialog.h"
#include "lib/widgets/FormCheck.h"
#include "lib/widgets/LibraryObjects.h"
#include "lib/widgets/PrintWnd.h"
#include "lib/widgets/WinPlace.h"
#include "runtime/ComErrorInfo.h"

#include <QDir>

#include <atomic>

namespace orvo {
namespace {

const BuiltClass kWidgetClasses[] = {
    {OrvoLib22::kWinPlace, &createObject<WinPlace>},
    {OrvoLib22::kPrintWnd, &createObject<PrintWnd>},
};

std::atomic<CreateLibraryObjectFn> libraryCreator{nullptr};

HRESULT getClassObject(const CLSID& clsid, const IID& iid, void** object) {
  try {
    return getClassFactory(kWidgetClasses, clsid, iid, object);
  } catch (...) {
    return rt::com::recordCurrentException();
  }
}

bool inUse() { return serverInUse(); }

HRESULT fileDialog(const FileDialogRequest& request, bool* accepted, QStringList* files, int32_t* chosenFilter) {
  if (!accepted || !files || !chosenFilter) return E_POINTER;
  return rt::com::callMember([&] { *accepted = runFileDialog(request, *files, *chosenFilter); });
}

HRESULT chooseDirectory(QWidget* form, const QString& prompt, const QVariant& path, QVariant* noNetwork,
                        QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    CheckFormArgument(form);
    QString initial = readText(path, QString());
    if (initial.isEmpty()) initial = QDir::currentPath();
    *result = BrowseForFolder(form, prompt, initial, noNetwork ? readFlag(*noNetwork, false) : false);
  });
}

bool takeErrorRecord(int32_t* number, QString* source, QString* description) {
  const auto record = rt::com::takeErrorRecord();
  if (!record) return false;
  *number = record->number;
  *source = record->source;
  *description = record->description;
  return true;
}

const WidgetEntry kEntry{&getClassObject, &inUse, &fileDialog, &chooseDirectory, &takeErrorRecord};

}  // namespace

HRESULT createLibraryObject(const CLSID& clsid, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const CreateLibraryObjectFn create = libraryCreator.load();
  return create ? create(clsid, iid, object) : CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace orvo

extern "C" __attribute__((visibility("default"))) const orvo::WidgetEntry* OrvoLib22WidgetEntry(
    orvo::CreateLibraryObjectFn createLibraryObject) {
  orvo::libraryCreator.store(createLibraryObject);
  return &orvo::kEntry;
}
