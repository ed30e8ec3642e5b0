#include "app/common/Orvofonctions2.h"

#include "app/common/ErrorNumbers.h"
#include "app/common/InstallLayout.h"
#include "app/common/ProgramInfo.h"

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace Orvofonctions2 {
namespace {


// A path as one word of a shell command: quoted when it holds anything but plain characters.
QString shellWord(const QString& path) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+-]+$"));
  if (plain.match(path).hasMatch()) return path;
  QString quoted = path;
  quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The slot of interface I: filled on first use from clsid and kept to the end of the process
// (never released, so no library code runs during the program's exit).
template <class I>
rt::com::ComPtr<I>& slot() {
  static auto* held = new rt::com::ComPtr<I>();
  return *held;
}

// Fills the slot of I from clsid unless it is filled; false, with the reason in detail, when
// the object cannot be created.
template <class I>
bool fillSlot(const CLSID& clsid, QString* detail = nullptr) {
  rt::com::ComPtr<I>& held = slot<I>();
  if (held) return true;
  rt::com::ComPtr<I> created;
  const rt::com::BundledServer library = InstallLayout::Library();
  if (failed(rt::com::createInstance(clsid, created, detail, &library)) || !created) return false;
  held = std::move(created);
  return true;
}

template <class I>
I& slotObject(const CLSID& clsid) {
  QString detail;
  if (!fillSlot<I>(clsid, &detail)) {
    // The message names the files looked for: the library really is missing.
    rt::raise(errors::kCannotCreateObject, rt::defaultErrorSource(),
              rt::errorDescription(errors::kCannotCreateObject) + QLatin1Char('\n') + detail);
  }
  return *slot<I>();
}

// Calls member of object with args; raises the object's error at the calling statement when
// the call failed.
template <class I, class... Params, class... Args>
void perform(I& object, HRESULT (I::*member)(Params...), Args&&... args) {
  rt::com::raiseOnFailure((object.*member)(std::forward<Args>(args)...), &object);
}

// Calls member of object with args followed by a place for its result of type R; raises the
// object's error at the calling statement when the call failed, else returns the result.
template <class R, class I, class... Params, class... Args>
R query(I& object, HRESULT (I::*member)(Params...), Args&&... args) {
  R result{};
  perform(object, member, std::forward<Args>(args)..., &result);
  return result;
}

}  // namespace

QString LibraryRemedy() {
  const QString program = ProgramInfo::ProgramFolder();
  const QString tool = QDir(program).filePath(QStringLiteral("tindra-regserver"));
  return QStringLiteral("Réinstallez Tindra, ou enregistrez la bibliothèque avec la commande :\n  %1 %2")
      .arg(shellWord(QFileInfo::exists(tool) ? tool : QStringLiteral("tindra-regserver")),
           shellWord(InstallLayout::LibraryFile()));
}

QString LibraryProblem() {
  // The objects tried are the ones the program then uses: each class is looked up and created
  // once per process.
  QString detail;
  if (fillSlot<_IniParam>(CLSID_IniParam, &detail) && fillSlot<_HexFunctions>(CLSID_HexFunctions, &detail) &&
      fillSlot<_FilesPaths>(CLSID_FilesPaths, &detail))
    return QString();
  return QStringLiteral("la bibliothèque OrvoLib22 ne peut pas être utilisée (erreur %1 : %2)%3\n%4")
      .arg(errors::kCannotCreateObject)
      .arg(rt::errorDescription(errors::kCannotCreateObject),
           detail.isEmpty() ? QString() : QStringLiteral("\n  ") + detail, LibraryRemedy());
}

_IniParam& IniParamObject() { return slotObject<_IniParam>(CLSID_IniParam); }
_WinPlace& WinPlaceObject() { return slotObject<_WinPlace>(CLSID_WinPlace); }
_Divers& DiversObject() { return slotObject<_Divers>(CLSID_Divers); }
_HexFunctions& HexFunctionsObject() { return slotObject<_HexFunctions>(CLSID_HexFunctions); }
_FilesPaths& FilesPathsObject() { return slotObject<_FilesPaths>(CLSID_FilesPaths); }

void CreateObjects() {
  IniParamObject();
  WinPlaceObject();
  DiversObject();
  HexFunctionsObject();
  FilesPathsObject();
}

// HexFunctions ------------------------------------------------------------------------------

uint8_t HiByte(int32_t word) {
  return query<uint8_t>(HexFunctionsObject(), &_HexFunctions::HiByte, word);
}

uint8_t LoByte(int32_t word) {
  return query<uint8_t>(HexFunctionsObject(), &_HexFunctions::LoByte, word);
}

int16_t HiWord(double dword) {
  return query<int16_t>(HexFunctionsObject(), &_HexFunctions::HiWord, dword);
}

int16_t LoWord(double dword) {
  return query<int16_t>(HexFunctionsObject(), &_HexFunctions::LoWord, dword);
}

QString Hex2(uint8_t val) {
  return query<QString>(HexFunctionsObject(), &_HexFunctions::Hex2, val);
}

QString Hex4(int16_t val) {
  return query<QString>(HexFunctionsObject(), &_HexFunctions::Hex4, val);
}

QString Hex8(int32_t val) {
  return query<QString>(HexFunctionsObject(), &_HexFunctions::Hex8, val);
}

int16_t MakeInt(uint8_t lsb, uint8_t msb) {
  return query<int16_t>(HexFunctionsObject(), &_HexFunctions::MakeInt, lsb, msb);
}

int32_t MakeLong(int16_t lsb, int16_t msb) {
  return query<int32_t>(HexFunctionsObject(), &_HexFunctions::MakeLong, lsb, msb);
}

// IniParam ----------------------------------------------------------------------------------

QString GetPrivateParam(const QString& topic, const QString& item, const QString& defaut,
                        const QString& iniFileName) {
  return query<QString>(IniParamObject(), &_IniParam::GetPrivateParam, topic, item, defaut, iniFileName);
}

void SetPrivateParam(const QString& topic, const QString& item, const QString& value,
                     const QString& iniFileName) {
  perform(IniParamObject(), &_IniParam::SetPrivateParam, topic, item, value, iniFileName);
}

void DelPrivateParam(const QString& topic, const QString& item, const QString& iniFileName) {
  perform(IniParamObject(), &_IniParam::DelPrivateParam, topic, item, iniFileName);
}

void DelPrivateSection(const QString& topic, const QString& iniFileName) {
  perform(IniParamObject(), &_IniParam::DelPrivateSection, topic, iniFileName);
}

int16_t GetPrivateParamsList(QStringList& tab, const QString& topic, const QString& iniFileName) {
  return query<int16_t>(IniParamObject(), &_IniParam::GetPrivateParamsList, &tab, topic, iniFileName);
}

// WinPlace ----------------------------------------------------------------------------------

void RestoreWindow(QWidget* f, const QString& sIniFileName) {
  perform(WinPlaceObject(), &_WinPlace::RestoreWindow, f, sIniFileName);
}

void SaveWindow(QWidget* f, const QString& sIniFileName) {
  perform(WinPlaceObject(), &_WinPlace::SaveWindow, f, sIniFileName);
}

// Divers ------------------------------------------------------------------------------------

QVariant Maxi(const QVariant& valA, const QVariant& valB) {
  return query<QVariant>(DiversObject(), &_Divers::Maxi, valA, valB);
}

// FilesPaths --------------------------------------------------------------------------------

QString GetFileName(WId hwndParent, const QString& sFilter, bool bSave, bool bMulti,
                    const QString& sFileName, const QString& sInitDir, const QString& sDialogTitle,
                    QVariant& nFilterIndex) {
  const auto flag = [](bool b) { return QVariant::fromValue<VARIANT_BOOL>(b ? VARIANT_TRUE : VARIANT_FALSE); };
  return query<QString>(FilesPathsObject(), &_FilesPaths::GetFileName, hwndParent, sFilter, flag(bSave),
                        flag(bMulti), sFileName, sInitDir, sDialogTitle, &nFilterIndex);
}

QString GetDirectoryFromPath(const QString& path) {
  return query<QString>(FilesPathsObject(), &_FilesPaths::GetDirectoryFromPath, path);
}

QString GetFilenameFromPath(const QString& path) {
  return query<QString>(FilesPathsObject(), &_FilesPaths::GetFilenameFromPath, path);
}

QString GetFileExt(const QString& path) {
  return query<QString>(FilesPathsObject(), &_FilesPaths::GetFileExt, path);
}

}  // namespace Orvofonctions2
