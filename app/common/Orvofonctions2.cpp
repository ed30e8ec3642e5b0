#include "app/common/Orvofonctions2.h"

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"

namespace Orvofonctions2 {
namespace {

constexpr int32_t kCannotCreateObject = 429;

// The slot of interface I: filled on first use from clsid and kept to the end of the process
// (never released, so no library code runs during the program's exit).
template <class I>
I& slotObject(const CLSID& clsid) {
  static auto* slot = new rt::com::ComPtr<I>();
  if (!*slot) {
    rt::com::ComPtr<I> created;
    if (failed(rt::com::createInstance(clsid, created)) || !created) rt::raise(kCannotCreateObject);
    *slot = std::move(created);
  }
  return **slot;
}

// Raises the object's error at the calling statement when status failed.
template <class I>
void check(HRESULT status, I& object) {
  rt::com::raiseOnFailure(status, &object);
}

}  // namespace

_IniParam& IniParamObject() { return slotObject<_IniParam>(CLSID_IniParam); }
_WinPlace& WinPlaceObject() { return slotObject<_WinPlace>(CLSID_WinPlace); }
_Divers& DiversObject() { return slotObject<_Divers>(CLSID_Divers); }
_HexFunctions& HexFunctionsObject() { return slotObject<_HexFunctions>(CLSID_HexFunctions); }
_FilesPaths& FilesPathsObject() { return slotObject<_FilesPaths>(CLSID_FilesPaths); }

// HexFunctions ------------------------------------------------------------------------------

uint8_t HiByte(int32_t word) {
  auto& o = HexFunctionsObject();
  uint8_t r = 0;
  check(o.HiByte(word, &r), o);
  return r;
}

uint8_t LoByte(int32_t word) {
  auto& o = HexFunctionsObject();
  uint8_t r = 0;
  check(o.LoByte(word, &r), o);
  return r;
}

int16_t HiWord(double dword) {
  auto& o = HexFunctionsObject();
  int16_t r = 0;
  check(o.HiWord(dword, &r), o);
  return r;
}

int16_t LoWord(double dword) {
  auto& o = HexFunctionsObject();
  int16_t r = 0;
  check(o.LoWord(dword, &r), o);
  return r;
}

QString Hex2(uint8_t val) {
  auto& o = HexFunctionsObject();
  QString r;
  check(o.Hex2(val, &r), o);
  return r;
}

QString Hex4(int16_t val) {
  auto& o = HexFunctionsObject();
  QString r;
  check(o.Hex4(val, &r), o);
  return r;
}

QString Hex8(int32_t val) {
  auto& o = HexFunctionsObject();
  QString r;
  check(o.Hex8(val, &r), o);
  return r;
}

int16_t MakeInt(uint8_t lsb, uint8_t msb) {
  auto& o = HexFunctionsObject();
  int16_t r = 0;
  check(o.MakeInt(lsb, msb, &r), o);
  return r;
}

int32_t MakeLong(int16_t lsb, int16_t msb) {
  auto& o = HexFunctionsObject();
  int32_t r = 0;
  check(o.MakeLong(lsb, msb, &r), o);
  return r;
}

// IniParam ----------------------------------------------------------------------------------

QString GetPrivateParam(const QString& topic, const QString& item, const QString& defaut,
                        const QString& iniFileName) {
  auto& o = IniParamObject();
  QString r;
  check(o.GetPrivateParam(topic, item, defaut, iniFileName, &r), o);
  return r;
}

void SetPrivateParam(const QString& topic, const QString& item, const QString& value,
                     const QString& iniFileName) {
  auto& o = IniParamObject();
  check(o.SetPrivateParam(topic, item, value, iniFileName), o);
}

void DelPrivateParam(const QString& topic, const QString& item, const QString& iniFileName) {
  auto& o = IniParamObject();
  check(o.DelPrivateParam(topic, item, iniFileName), o);
}

void DelPrivateSection(const QString& topic, const QString& iniFileName) {
  auto& o = IniParamObject();
  check(o.DelPrivateSection(topic, iniFileName), o);
}

int16_t GetPrivateParamsList(QStringList& tab, const QString& topic, const QString& iniFileName) {
  auto& o = IniParamObject();
  int16_t r = 0;
  check(o.GetPrivateParamsList(&tab, topic, iniFileName, &r), o);
  return r;
}

// WinPlace ----------------------------------------------------------------------------------

void RestoreWindow(QWidget* f, const QString& sIniFileName) {
  auto& o = WinPlaceObject();
  check(o.RestoreWindow(f, sIniFileName), o);
}

void SaveWindow(QWidget* f, const QString& sIniFileName) {
  auto& o = WinPlaceObject();
  check(o.SaveWindow(f, sIniFileName), o);
}

// Divers ------------------------------------------------------------------------------------

QVariant Maxi(const QVariant& valA, const QVariant& valB) {
  auto& o = DiversObject();
  QVariant r;
  check(o.Maxi(valA, valB, &r), o);
  return r;
}

// FilesPaths --------------------------------------------------------------------------------

QString GetFileName(WId hwndParent, const QString& sFilter, bool bSave, bool bMulti,
                    const QString& sFileName, const QString& sInitDir, const QString& sDialogTitle,
                    QVariant& nFilterIndex) {
  auto& o = FilesPathsObject();
  const auto flag = [](bool b) { return QVariant::fromValue<VARIANT_BOOL>(b ? VARIANT_TRUE : VARIANT_FALSE); };
  QString r;
  check(o.GetFileName(hwndParent, sFilter, flag(bSave), flag(bMulti), sFileName, sInitDir,
                      sDialogTitle, &nFilterIndex, &r),
        o);
  return r;
}

QString GetDirectoryFromPath(const QString& path) {
  auto& o = FilesPathsObject();
  QString r;
  check(o.GetDirectoryFromPath(path, &r), o);
  return r;
}

QString GetFilenameFromPath(const QString& path) {
  auto& o = FilesPathsObject();
  QString r;
  check(o.GetFilenameFromPath(path, &r), o);
  return r;
}

QString GetFileExt(const QString& path) {
  auto& o = FilesPathsObject();
  QString r;
  check(o.GetFileExt(path, &r), o);
  return r;
}

}  // namespace Orvofonctions2
