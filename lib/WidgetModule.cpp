#include "lib/WidgetModule.h"

#include "lib/ClassTable.h"
#include "lib/Global.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/ComServer.h"
#include "runtime/RuntimeError.h"

#include <QFileInfo>

#include <atomic>
#include <dlfcn.h>
#include <mutex>

namespace orvo {
namespace {

constexpr int32_t kCannotCreateObject = 429;

std::atomic<const WidgetEntry*> loadedEntry{nullptr};

// The library's own classes, for the widget module's private objects.
HRESULT createLibraryObject(const CLSID& clsid, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const BuiltClass* cls = findBuiltClass(clsid);
  return cls ? cls->create(iid, object) : CLASS_E_CLASSNOTAVAILABLE;
}

QString modulePath() {
  const QString library = rt::com::moduleFilePath(reinterpret_cast<const void*>(&createLibraryObject));
  return QFileInfo(library).absolutePath() + QLatin1Char('/') + QString::fromLatin1(kWidgetModuleFile);
}

// Loads the module; null, with the reason in detail, when it cannot be.
const WidgetEntry* load(QString& detail) {
  const QString path = modulePath();
  // Kept loaded: widgets, timers and the GUI's own state may outlive any object of ours.
  void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    detail = QStringLiteral("Module des fenêtres de la bibliothèque introuvable ou illisible : %1 (%2)")
                 .arg(path, QString::fromLocal8Bit(dlerror()));
    return nullptr;
  }
  auto entry = reinterpret_cast<WidgetEntryFn>(dlsym(handle, kWidgetEntryName));
  if (!entry) {
    detail = QStringLiteral("Le module %1 ne fournit pas %2").arg(path, QString::fromLatin1(kWidgetEntryName));
    return nullptr;
  }
  return entry(&createLibraryObject);
}

}  // namespace

const WidgetEntry& widgetModule() {
  if (const WidgetEntry* entry = loadedEntry.load()) return *entry;
  static std::mutex loading;
  const std::lock_guard lock(loading);
  if (const WidgetEntry* entry = loadedEntry.load()) return *entry;
  QString detail;
  const WidgetEntry* entry = load(detail);
  if (!entry) {
    rt::raise(kCannotCreateObject, LibraryTitle(),
              rt::errorDescription(kCannotCreateObject) + QLatin1Char('\n') + detail);
  }
  loadedEntry.store(entry);
  return *entry;
}

bool widgetModuleInUse() {
  const WidgetEntry* entry = loadedEntry.load();
  return entry && entry->inUse();
}

void raiseWidgetFailure(const WidgetEntry& module, HRESULT status) {
  if (!failed(status)) return;
  int32_t number = 0;
  QString source;
  QString description;
  if (module.takeErrorRecord(&number, &source, &description)) rt::raise(number, source, description);
  rt::raise(rt::com::errorNumberForStatus(status));
}

HRESULT createWidgetObject(const CLSID& clsid, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  try {
    const WidgetEntry& module = widgetModule();
    rt::com::ComPtr<IClassFactory> factory;
    const HRESULT status = module.getClassObject(clsid, IID_IClassFactory, factory.put());
    if (failed(status) || !factory) return failed(status) ? status : CLASS_E_CLASSNOTAVAILABLE;
    return factory->CreateInstance(nullptr, iid, object);
  } catch (...) {
    return rt::com::recordCurrentException();
  }
}

}  // namespace orvo
