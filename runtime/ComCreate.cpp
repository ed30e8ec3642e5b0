#include "runtime/ComCreate.h"

#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"

namespace rt::com {

QString registeredServerPath(const CLSID& clsid) {
  const QString key = QStringLiteral("CLSID\\%1\\InprocServer32").arg(guidToString(clsid));
  return reg::queryValue(reg::ClassesRoot, key, QString()).value_or(QString()).trimmed();
}

HRESULT createInstance(const CLSID& clsid, const IID& iid, void** object, QString* detail) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const QString path = registeredServerPath(clsid);
  if (path.isEmpty()) {
    if (detail) *detail = QStringLiteral("Classe non enregistrée : %1").arg(guidToString(clsid));
    return REGDB_E_CLASSNOTREG;
  }
  ServerLoad load = ServerLoad::NotAServer;
  void* entry = serverEntry(path, "DllGetClassObject", &load, detail);
  if (!entry) return load == ServerLoad::FileMissing ? CO_E_DLLNOTFOUND : CO_E_ERRORINDLL;

  ComPtr<IClassFactory> factory;
  HRESULT status = reinterpret_cast<DllGetClassObjectFn>(entry)(clsid, IID_IClassFactory, factory.put());
  if (failed(status) || !factory) {
    if (detail) *detail = QStringLiteral("Le serveur %1 ne fournit pas la classe %2").arg(path, guidToString(clsid));
    return failed(status) ? status : CLASS_E_CLASSNOTAVAILABLE;
  }
  status = factory->CreateInstance(nullptr, iid, object);
  if (failed(status)) {
    *object = nullptr;
    if (detail) *detail = QStringLiteral("Création de l'objet %1 impossible").arg(guidToString(clsid));
  }
  return status;
}

}  // namespace rt::com
