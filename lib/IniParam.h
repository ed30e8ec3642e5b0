#pragma once
// IniParam: named values in private initialisation files, through the runtime's
// initialisation-file service. Stateless: every call names its file.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class IniParam final : public ComObject<IniParam, _IniParam> {
 public:
  static const DispatchTable& dispatchTable();

  // The value of sItem in sTopic (at most 1023 characters), or sDefaut when absent; cut at a
  // zero character and trimmed of spaces (spaces only) either way.
  HRESULT GetPrivateParam(const QString& sTopic, const QString& sItem, const QString& sDefaut,
                          const QString& sIniFileName, QString* result) override;
  // The writes raise the service's file error (source OrvoLib22) when the file cannot be
  // written; the file is then unchanged. Removing what does not exist is a success.
  HRESULT SetPrivateParam(const QString& sTopic, const QString& sItem, const QString& sValue,
                          const QString& sIniFileName) override;
  HRESULT DelPrivateParam(const QString& sTopic, const QString& sItem,
                          const QString& sIniFileName) override;
  HRESULT DelPrivateSection(const QString& sTopic, const QString& sIniFileName) override;
  // The section's key names in file order (as many as fit 4096 characters with their
  // terminators; the list stops at an empty name). sTab becomes exactly those names; when
  // there are none it is left untouched. result: the count.
  HRESULT GetPrivateParamsList(QStringList* sTab, const QString& sTopic,
                               const QString& sIniFileName, int16_t* result) override;
};

}  // namespace orvo
