#include "lib/Registration.h"

#include "lib/ClassTable.h"
#include "runtime/RegistryStore.h"

#include <QFileInfo>

namespace orvo {
namespace {

using rt::com::guidToString;
constexpr int32_t kRoot = rt::reg::ClassesRoot;

QString progId(const OrvoLib22::ClassInfo& info) {
  return QStringLiteral("%1.%2").arg(QLatin1String(OrvoLib22::kLibraryName), QLatin1String(info.name));
}

QString classKey(const OrvoLib22::ClassInfo& info) {
  return QStringLiteral("CLSID\\") + guidToString(info.clsid);
}

QString interfaceKey(const OrvoLib22::ClassInfo& info) {
  return QStringLiteral("Interface\\") + guidToString(info.iid);
}

QString typeLibKey() { return QStringLiteral("TypeLib\\") + guidToString(OrvoLib22::kLibraryId); }

QString versionText() {
  return QStringLiteral("%1.%2").arg(OrvoLib22::kLibraryVersionMajor).arg(OrvoLib22::kLibraryVersionMinor);
}

// The key's default value for a class: its description, or its ProgID when it has none.
QString classTitle(const OrvoLib22::ClassInfo& info) {
  const QString description = QString::fromUtf8(info.description);
  return description.isEmpty() ? progId(info) : description;
}

// Creates key (and its parents) and sets its values; false on the first failure.
bool writeKey(const QString& key, std::initializer_list<std::pair<QString, QString>> values) {
  if (!rt::reg::createKey(kRoot, key)) return false;
  for (const auto& [name, value] : values) {
    if (!rt::reg::setValue(kRoot, key, name, value)) return false;
  }
  return true;
}

bool writeClass(const OrvoLib22::ClassInfo& info, const QString& serverPath) {
  const QString clsid = guidToString(info.clsid);
  const QString libid = guidToString(OrvoLib22::kLibraryId);
  const QString ck = classKey(info);
  const QString ik = interfaceKey(info);
  return writeKey(ck, {{QString(), classTitle(info)}}) &&
         writeKey(ck + QStringLiteral("\\ProgID"), {{QString(), progId(info)}}) &&
         writeKey(ck + QStringLiteral("\\InprocServer32"),
                  {{QString(), serverPath}, {QStringLiteral("ThreadingModel"), QStringLiteral("Apartment")}}) &&
         writeKey(ck + QStringLiteral("\\TypeLib"), {{QString(), libid}}) &&
         writeKey(ck + QStringLiteral("\\VERSION"), {{QString(), versionText()}}) &&
         writeKey(progId(info), {{QString(), classTitle(info)}}) &&
         writeKey(progId(info) + QStringLiteral("\\CLSID"), {{QString(), clsid}}) &&
         writeKey(ik, {{QString(), QLatin1String(info.interfaceName)}}) &&
         writeKey(ik + QStringLiteral("\\TypeLib"),
                  {{QString(), libid}, {QStringLiteral("Version"), versionText()}});
}

bool writeTypeLibrary(const QString& serverPath) {
  const QString key = typeLibKey() + QLatin1Char('\\') + versionText();
  const QString locale = QString::number(OrvoLib22::kLibraryLocale, 16);
  return writeKey(key, {{QString(), QLatin1String(OrvoLib22::kLibraryName)}}) &&
         writeKey(key + QLatin1Char('\\') + locale + QStringLiteral("\\linux"), {{QString(), serverPath}}) &&
         writeKey(key + QStringLiteral("\\FLAGS"), {{QString(), QStringLiteral("0")}}) &&
         writeKey(key + QStringLiteral("\\HELPDIR"), {{QString(), QFileInfo(serverPath).absolutePath()}});
}

// Removes a whole tree; true when it is gone afterwards.
bool removeTree(const QString& key) {
  if (!rt::reg::keyExists(kRoot, key)) return true;
  return rt::reg::deleteTree(kRoot, key) || !rt::reg::keyExists(kRoot, key);
}

void removeIfEmpty(const QString& key) {
  if (rt::reg::keyExists(kRoot, key) && rt::reg::subKeys(kRoot, key).isEmpty() &&
      rt::reg::valueNames(kRoot, key).isEmpty()) {
    rt::reg::deleteKey(kRoot, key);
  }
}

}  // namespace

HRESULT registerLibrary(const QString& serverPath) {
  if (serverPath.isEmpty()) return SELFREG_E_CLASS;
  // Replace any earlier registration of the same classes (an older path, stale keys).
  if (failed(unregisterLibrary())) return SELFREG_E_CLASS;
  bool ok = writeTypeLibrary(serverPath);
  for (const BuiltClass& cls : builtClasses()) {
    ok = ok && writeClass(cls.info, serverPath);
  }
  if (!ok) {
    (void)unregisterLibrary();
    return SELFREG_E_CLASS;
  }
  return S_OK;
}

HRESULT unregisterLibrary() {
  bool ok = removeTree(typeLibKey());
  for (const BuiltClass& cls : builtClasses()) {
    ok = removeTree(classKey(cls.info)) && ok;
    ok = removeTree(progId(cls.info)) && ok;
    ok = removeTree(interfaceKey(cls.info)) && ok;
  }
  for (const char* parent : {"CLSID", "Interface", "TypeLib"}) removeIfEmpty(QLatin1String(parent));
  return ok ? S_OK : SELFREG_E_CLASS;
}

}  // namespace orvo
