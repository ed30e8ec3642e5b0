#include "runtime/ComCreate.h"

#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"

#include <QDir>
#include <QSet>

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

// The places to try, in order: the bundled server's first folders, the user's and the machine's
// registrations, its last folders. Each group is asked for only when the ones before it gave
// nothing, so a client whose own copy of the server answers never reads the registry.
class CandidatePaths {
 public:
  CandidatePaths(const CLSID& clsid, const BundledServer* bundled) : clsid_(clsid), bundled_(bundled) {}

  // The paths of the next group not tried yet; empty when every group is done.
  QStringList next() {
    while (stage_ < 3) {
      QStringList group;
      switch (stage_++) {
        case 0: group = bundledIn(bundled_ ? bundled_->firstFolders : QStringList()); break;
        case 1: group = registered(); break;
        default: group = bundledIn(bundled_ ? bundled_->lastFolders : QStringList()); break;
      }
      QStringList fresh;
      for (const QString& path : group) {
        if (tried_.contains(path)) continue;
        tried_.insert(path);
        fresh.append(path);
      }
      if (!fresh.isEmpty()) return fresh;
    }
    return {};
  }

 private:
  QStringList bundledIn(const QStringList& folders) const {
    QStringList paths;
    if (!bundled_ || bundled_->fileName.isEmpty()) return paths;
    for (const QString& folder : folders) {
      if (!folder.isEmpty()) paths.append(QDir::cleanPath(QDir(folder).absoluteFilePath(bundled_->fileName)));
    }
    return paths;
  }

  QStringList registered() const {
    QStringList paths;
    const QString key = serverKey(clsid_);
    for (const auto& value : {reg::queryValue(reg::ClassesRoot, key, QString()),
                              reg::queryMachineValue(reg::ClassesRoot, key, QString())}) {
      const QString path = value.value_or(QString()).trimmed();
      if (!path.isEmpty()) paths.append(path);
    }
    return paths;
  }

  const CLSID& clsid_;
  const BundledServer* bundled_;
  int stage_ = 0;
  QSet<QString> tried_;
};

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
  CandidatePaths candidates(clsid, bundled);
  Attempt furthest;
  QStringList missing;
  bool anyPath = false;
  for (QStringList group = candidates.next(); !group.isEmpty(); group = candidates.next()) {
    anyPath = true;
    for (const QString& path : group) {
      Attempt attempt = createFrom(path, clsid, iid, object);
      if (!failed(attempt.status)) return attempt.status;
      if (attempt.status == CO_E_DLLNOTFOUND) missing.append(path);
      if (reach(attempt.status) > reach(furthest.status)) furthest = attempt;
    }
  }
  if (!anyPath) {
    if (detail) *detail = QStringLiteral("Classe non enregistrée : %1").arg(guidToString(clsid));
    return REGDB_E_CLASSNOTREG;
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
