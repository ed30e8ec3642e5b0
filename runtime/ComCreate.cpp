#include "runtime/ComCreate.h"

#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"

#include <QDir>

namespace rt::com {
namespace {

QString serverKey(const CLSID& clsid) {
  return QStringLiteral("CLSID\\%1\\InprocServer32").arg(guidToString(clsid));
}

// One try: the server at path asked for the class.
struct Attempt {
  HRESULT status = REGDB_E_CLASSNOTREG;
  QString detail;
};

// How far a failed attempt got: a file that exists tells more than one that does not.
int reach(HRESULT status) {
  if (status == REGDB_E_CLASSNOTREG) return 0;
  if (status == CO_E_DLLNOTFOUND) return 1;
  return 2;
}

Attempt createFrom(const QString& path, const CLSID& clsid, const IID& iid, void** object) {
  Attempt attempt;
  ServerLoad load = ServerLoad::NotAServer;
  void* entry = serverEntry(path, "DllGetClassObject", &load, &attempt.detail);
  if (!entry) {
    attempt.status = load == ServerLoad::FileMissing ? CO_E_DLLNOTFOUND : CO_E_ERRORINDLL;
    return attempt;
  }
  ComPtr<IClassFactory> factory;
  attempt.status = reinterpret_cast<DllGetClassObjectFn>(entry)(clsid, IID_IClassFactory, factory.put());
  if (failed(attempt.status) || !factory) {
    attempt.detail = QStringLiteral("Le serveur %1 ne fournit pas la classe %2").arg(path, guidToString(clsid));
    if (!failed(attempt.status)) attempt.status = CLASS_E_CLASSNOTAVAILABLE;
    return attempt;
  }
  attempt.status = factory->CreateInstance(nullptr, iid, object);
  if (failed(attempt.status)) {
    *object = nullptr;
    attempt.detail = QStringLiteral("Création de l'objet %1 impossible").arg(guidToString(clsid));
  }
  return attempt;
}

// The places to try, in order, without repeats.
QStringList candidatePaths(const CLSID& clsid, const BundledServer* bundled) {
  QStringList paths;
  const auto addBundled = [&](const QStringList& folders) {
    if (!bundled || bundled->fileName.isEmpty()) return;
    for (const QString& folder : folders) {
      if (!folder.isEmpty()) paths.append(QDir::cleanPath(QDir(folder).absoluteFilePath(bundled->fileName)));
    }
  };
  if (bundled) addBundled(bundled->firstFolders);
  const QString key = serverKey(clsid);
  for (const auto& value : {reg::queryValue(reg::ClassesRoot, key, QString()),
                            reg::queryMachineValue(reg::ClassesRoot, key, QString())}) {
    const QString path = value.value_or(QString()).trimmed();
    if (!path.isEmpty()) paths.append(path);
  }
  if (bundled) addBundled(bundled->lastFolders);
  paths.removeDuplicates();
  return paths;
}

}  // namespace

QString registeredServerPath(const CLSID& clsid) {
  const QString key = serverKey(clsid);
  const QString user = reg::queryValue(reg::ClassesRoot, key, QString()).value_or(QString()).trimmed();
  if (!user.isEmpty()) return user;
  return reg::queryMachineValue(reg::ClassesRoot, key, QString()).value_or(QString()).trimmed();
}

HRESULT createInstance(const CLSID& clsid, const IID& iid, void** object, QString* detail,
                       const BundledServer* bundled) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const QStringList paths = candidatePaths(clsid, bundled);
  if (paths.isEmpty()) {
    if (detail) *detail = QStringLiteral("Classe non enregistrée : %1").arg(guidToString(clsid));
    return REGDB_E_CLASSNOTREG;
  }
  Attempt furthest;
  QStringList missing;
  for (const QString& path : paths) {
    Attempt attempt = createFrom(path, clsid, iid, object);
    if (!failed(attempt.status)) return attempt.status;
    if (attempt.status == CO_E_DLLNOTFOUND) missing.append(path);
    if (reach(attempt.status) > reach(furthest.status)) furthest = attempt;
  }
  if (detail) {
    QStringList lines;
    if (furthest.status != CO_E_DLLNOTFOUND) lines.append(furthest.detail);
    if (!missing.isEmpty()) {
      lines.append(QStringLiteral("Bibliothèque introuvable : %1").arg(missing.join(QStringLiteral(", "))));
    }
    *detail = lines.join(u'\n');
  }
  return furthest.status;
}

}  // namespace rt::com
