#pragma once
// The program's road to the OrvoLib22 library. The program never links the library: it holds
// one object of each of the five classes it uses in a process-wide slot, created by class
// identifier through the component runtime on first use and kept until the program ends.
// Each wrapper below calls the member at its binding place; a failed call (negative status)
// raises rt::RuntimeError at the calling statement with the number, source and description
// of the library's error record. A class that cannot be created raises 429.

#include "runtime/ComTypes.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

class QWidget;
struct _IniParam;
struct _WinPlace;
struct _Divers;
struct _HexFunctions;
struct _FilesPaths;

namespace Orvofonctions2 {

// The process-wide objects, created on first use and kept until the program ends; the same
// object comes back on every call. Raise 429 when the class cannot be created (not
// registered, server file missing, class not in the server); a later call tries again.
_IniParam& IniParamObject();
_WinPlace& WinPlaceObject();
_Divers& DiversObject();
_HexFunctions& HexFunctionsObject();
_FilesPaths& FilesPathsObject();
// Creates every object above now (those not created yet); raises 429 when one cannot be.
void CreateObjects();

// What to do when the library cannot be found, in French: reinstall, or register the library
// with tindra-regserver and the file where the program expects it (InstallLayout::LibraryFile).
QString LibraryRemedy();

// Why the objects of the library cannot be created, in French, with the files looked for and
// LibraryRemedy(); "" when they can. Tries the classes that reading pictures, names and
// settings files need.
QString LibraryProblem();

// HexFunctions
uint8_t HiByte(int32_t word);
uint8_t LoByte(int32_t word);
int16_t HiWord(double dword);
int16_t LoWord(double dword);
QString Hex2(uint8_t val);
QString Hex4(int16_t val);
QString Hex8(int32_t val);
int16_t MakeInt(uint8_t lsb, uint8_t msb);
int32_t MakeLong(int16_t lsb, int16_t msb);

// IniParam
QString GetPrivateParam(const QString& topic, const QString& item, const QString& defaut,
                        const QString& iniFileName);
void SetPrivateParam(const QString& topic, const QString& item, const QString& value,
                     const QString& iniFileName);
void DelPrivateParam(const QString& topic, const QString& item, const QString& iniFileName);
void DelPrivateSection(const QString& topic, const QString& iniFileName);
int16_t GetPrivateParamsList(QStringList& tab, const QString& topic, const QString& iniFileName);

// WinPlace
void RestoreWindow(QWidget* f, const QString& sIniFileName);
void SaveWindow(QWidget* f, const QString& sIniFileName);

// Divers
QVariant Maxi(const QVariant& valA, const QVariant& valB);

// FilesPaths. GetFileName: the file dialog; "" when cancelled. nFilterIndex is the filter
// to preselect (1-based) and receives the one the user chose.
QString GetFileName(WId hwndParent, const QString& sFilter, bool bSave, bool bMulti,
                    const QString& sFileName, const QString& sInitDir, const QString& sDialogTitle,
                    QVariant& nFilterIndex);
QString GetDirectoryFromPath(const QString& path);
QString GetFilenameFromPath(const QString& path);
QString GetFileExt(const QString& path);

}  // namespace Orvofonctions2
