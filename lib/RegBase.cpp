#include "lib/RegBase.h"

#include "lib/ArgumentValues.h"
#include "lib/FilesPaths.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RegistryStore.h"
#include "runtime/RuntimeError.h"

namespace orvo {
namespace {

// true on failure, as SetRegKey reports it.
bool writeValue(int32_t root, const QString& key, const QString& name, const QString& value) {
  if (!rt::reg::keyExists(root, key) &&
      !rt::reg::createKey(root, key, QString::fromLatin1(RegBase::kKeyClassName))) {
    return true;
  }
  return !rt::reg::setValue(root, key, name, value);
}

QString readValue(int32_t root, const QString& key, const QString& name) {
  return rt::reg::queryValue(root, key, name).value_or(QString());
}

QString optionalText(const QVariant* value) {
  return isMissing(value) ? QString() : readText(*value, QString());
}

// The file name part of a path, through a private FilesPaths object.
QString fileNameOf(const QString& path) {
  rt::com::ComPtr<_FilesPaths> paths;
  rt::com::raiseOnFailure(createObject<FilesPaths>(_FilesPaths::kIid, paths.put()), nullptr);
  QString name;
  rt::com::raiseOnFailure(paths->GetFilenameFromPath(path, &name), paths.get());
  return name;
}

}  // namespace

const DispatchTable& RegBase::dispatchTable() {
  static const DispatchTable table{
      method<&_RegBase::SetRegKey>("SetRegKey"),
      method<&_RegBase::GetRegKey>("GetRegKey"),
      procedure<&_RegBase::DelRegKey>("DelRegKey"),
      method<&_RegBase::SetRegExtAssociation>("SetRegExtAssociation"),
  };
  return table;
}

HRESULT RegBase::SetRegKey(int32_t lRootID, const QString& sKey, const QString& sValue,
                           QVariant* sValueName, VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const bool failure = writeValue(lRootID, sKey, optionalText(sValueName), sValue);
    *result = failure ? VARIANT_TRUE : VARIANT_FALSE;
  });
}

HRESULT RegBase::GetRegKey(int32_t* lRootID, QString* sKey, QVariant* sValueName,
                           QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    if (!lRootID || !sKey) rt::raise(rt::ErrInvalidArgument);
    *result = readValue(*lRootID, *sKey, optionalText(sValueName));
  });
}

HRESULT RegBase::DelRegKey(int32_t lRootID, QString* sKey) {
  return rt::com::callMember([&] {
    if (!sKey) rt::raise(rt::ErrInvalidArgument);
    rt::reg::deleteKey(lRootID, *sKey);
  });
}

HRESULT RegBase::SetRegExtAssociation(const QString& sAppPath, const QString& sExt,
                                      const QString& sCmd, const QString& sTypeDesc,
                                      QVariant* IconRank, VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const int32_t iconRank = isMissing(IconRank) ? 0 : readInt32(*IconRank, 0);
    const QString program = fileNameOf(sAppPath).section(QLatin1Char('.'), 0, 0);
    const QString typeName = program + QLatin1Char('.') + sExt;
    const QString extKey = QLatin1Char('.') + sExt;
    const int32_t root = rt::reg::ClassesRoot;
    *result = VARIANT_FALSE;

    const QString owner = readValue(root, extKey, QString());
    if (!owner.isEmpty() && owner.compare(typeName, Qt::CaseInsensitive) != 0) return;
    if (writeValue(root, extKey, QString(), typeName)) return;
    if (writeValue(root, typeName + QStringLiteral("\\shell\\Open\\command"), QString(),
                   sAppPath + QLatin1Char(' ') + sCmd)) {
      return;
    }
    writeValue(root, typeName + QStringLiteral("\\DefaultIcon"), QString(),
               sAppPath + QStringLiteral(", ") + QString::number(iconRank));
    writeValue(root, typeName, QString(), sTypeDesc);
    // No desktop shell here listens for association changes: nothing to notify.
    *result = VARIANT_TRUE;
  });
}

}  // namespace orvo
