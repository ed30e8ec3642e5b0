#pragma once
// RegBase: string values and keys of the registry store (runtime/RegistryStore.h; key paths
// use "\" between names), and file-type associations under HKEY_CLASSES_ROOT. No member
// raises errors of its own: failures come back through the results. Stateless.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class RegBase final : public ComObject<RegBase, _RegBase> {
 public:
  // The class name given to the keys this class creates.
  static constexpr const char* kKeyClassName = "OrvoRegBase";

  static const DispatchTable& dispatchTable();

  // Writes sValue as the value sValueName (default "": the key's default value) of sKey under
  // lRootID, creating the key when missing. result: true on FAILURE (bad root or key path,
  // store not writable), false on success.
  HRESULT SetRegKey(int32_t lRootID, const QString& sKey, const QString& sValue,
                    QVariant* sValueName, VARIANT_BOOL* result) override;
  // The value sValueName (default "") of sKey, or "" when the key or the value is missing.
  HRESULT GetRegKey(int32_t* lRootID, QString* sKey, QVariant* sValueName,
                    QString* result) override;
  // Deletes sKey when it has no subkeys; the outcome is not reported.
  HRESULT DelRegKey(int32_t lRootID, QString* sKey) override;
  // Associates the extension sExt (without its dot) with the program sAppPath: type name =
  // the program's file name cut before its first "." + "." + sExt. An extension that already
  // belongs to another type (not the same name, ignoring case) is left unchanged and false
  // comes back. Otherwise writes ".ext" -> type name, type\shell\Open\command -> sAppPath +
  // " " + sCmd, type\DefaultIcon -> sAppPath + ", " + IconRank (default 0), type -> sTypeDesc,
  // and returns true; false when one of the first two writes fails.
  HRESULT SetRegExtAssociation(const QString& sAppPath, const QString& sExt, const QString& sCmd,
                               const QString& sTypeDesc, QVariant* IconRank,
                               VARIANT_BOOL* result) override;
};

}  // namespace orvo
