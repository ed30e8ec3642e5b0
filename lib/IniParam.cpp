#include "lib/IniParam.h"

#include "lib/Global.h"
#include "runtime/IniFile.h"
#include "runtime/RuntimeError.h"

namespace orvo {
namespace {

constexpr int kValueBufferSize = 1024;
constexpr int kKeyListBufferSize = 4096;

// A failed write of the service comes back as its runtime file error; a file refused for its
// size is named in the description, with the reason.
void raiseOnWriteFailure(int32_t error, const QString& file) {
  if (error == 0) return;
  const QString oversize = error == rt::ErrPathFileAccess ? rt::ini::oversizeText(file) : QString();
  rt::raise(error, LibraryTitle(), oversize.isEmpty() ? rt::errorDescription(error) : oversize);
}

}  // namespace

const DispatchTable& IniParam::dispatchTable() {
  static const DispatchTable table{
      method<&_IniParam::GetPrivateParam>("GetPrivateParam"),
      procedure<&_IniParam::SetPrivateParam>("SetPrivateParam"),
      procedure<&_IniParam::DelPrivateParam>("DelPrivateParam"),
      procedure<&_IniParam::DelPrivateSection>("DelPrivateSection"),
      method<&_IniParam::GetPrivateParamsList>("GetPrivateParamsList"),
  };
  return table;
}

HRESULT IniParam::GetPrivateParam(const QString& sTopic, const QString& sItem,
                                  const QString& sDefaut, const QString& sIniFileName,
                                  QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    QString value = rt::ini::getString(sTopic, sItem, sDefaut, kValueBufferSize, sIniFileName)
                        .left(kValueBufferSize - 1);
    const qsizetype zero = value.indexOf(QChar(0));
    if (zero >= 0) value.truncate(zero);
    *result = TrimSpaces(value);
  });
}

HRESULT IniParam::SetPrivateParam(const QString& sTopic, const QString& sItem,
                                  const QString& sValue, const QString& sIniFileName) {
  return rt::com::callMember(
      [&] { raiseOnWriteFailure(rt::ini::writeString(sTopic, sItem, sValue, sIniFileName), sIniFileName); });
}

HRESULT IniParam::DelPrivateParam(const QString& sTopic, const QString& sItem,
                                  const QString& sIniFileName) {
  return rt::com::callMember(
      [&] { raiseOnWriteFailure(rt::ini::deleteKey(sTopic, sItem, sIniFileName), sIniFileName); });
}

HRESULT IniParam::DelPrivateSection(const QString& sTopic, const QString& sIniFileName) {
  return rt::com::callMember(
      [&] { raiseOnWriteFailure(rt::ini::deleteSection(sTopic, sIniFileName), sIniFileName); });
}

HRESULT IniParam::GetPrivateParamsList(QStringList* sTab, const QString& sTopic,
                                       const QString& sIniFileName, int16_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    QStringList names;
    for (const QString& key : rt::ini::getKeys(sTopic, kKeyListBufferSize, sIniFileName)) {
      // The list is read up to its first empty entry; a zero inside a name ends the name and
      // the text after it is the next entry.
      bool ended = false;
      for (const QString& part : key.split(QChar(0))) {
        if (part.isEmpty()) {
          ended = true;
          break;
        }
        names.append(part);
      }
      if (ended) break;
    }
    if (!names.isEmpty()) {
      if (!sTab) rt::raise(rt::ErrInvalidArgument, LibraryTitle(), rt::errorDescription(rt::ErrInvalidArgument));
      *sTab = names;
    }
    *result = static_cast<int16_t>(names.size());
  });
}

}  // namespace orvo
