#pragma once
// OrvoLib22: the public interface of the utility library. This is all a client shares with
// the library: class and interface identifiers, the interfaces with their members in binding
// order, the type library's enumerations, help contexts and descriptions. Clients create
// objects by class identifier through the component runtime (runtime/ComCreate.h); they never
// link the library.
//
// Calling rules (every interface):
// - The first seven slots are the standard ones (QueryInterface, AddRef, Release,
//   GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke); the class's members follow in
//   the order below. The order is binding: never insert, remove or reorder a member.
// - Every member returns a status (negative = failure; the error record then holds number,
//   source and description: rt::com::raiseOnFailure turns it into rt::RuntimeError). The
//   function result comes through the last parameter, named `result`; it is left as it was
//   when the member fails.
// - Texts by value are `const QString&`; arguments by reference are pointers (QString*,
//   int32_t*, QStringList*, QPixmap*...) that the member may change.
// - Optional arguments are QVariant: by value `const QVariant&`, where an invalid QVariant
//   means "missing" and the member's default applies; by reference `QVariant*`, where a null
//   pointer or an invalid QVariant means "missing". Arguments "of any type" (self-describing
//   values, values convertible to text) are QVariant as well.
// - Booleans are VARIANT_BOOL (-1 true, 0 false). Forms are top-level QWidget windows,
//   printers QPrinter, pictures QPixmap, window handles WId.
// - Strings and pictures returned are new values owned by the caller; the library keeps no
//   reference to caller data.

#include "runtime/ComTypes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

class QImage;
class QPixmap;
class QPrinter;
class QWidget;

// ---------------------------------------------------------------------------------------
// Type library

namespace OrvoLib22 {

constexpr GUID kLibraryId = rt::com::makeGuid("{50725C86-AF41-4DC3-964A-4282834D4D00}");
constexpr uint16_t kLibraryVersionMajor = 1;
constexpr uint16_t kLibraryVersionMinor = 0;
constexpr uint32_t kLibraryLocale = 0x0409;
constexpr const char* kLibraryName = "OrvoLib22";
constexpr const char* kHelpFileName = "OrvoLib.chm";
// The library's file version (also readable from the library through DllGetVersion).
constexpr ServerVersion kFileVersion{2, 2, 0, 83};
constexpr const char* kFileVersionText = "2.02.0083";
// The library's file name (its shared-object name), as installed and as built.
constexpr const char* kServerFileName = "libOrvoLib22.so.2";

// Global classes are application objects (one shared instance per client); creatable ones
// are created explicitly and may have many instances.
enum class ClassKind { Global, Creatable };

struct ClassInfo {
  const char* name;           // class name; the ProgID is "OrvoLib22." + name
  const char* interfaceName;  // "_" + name
  GUID clsid;
  GUID iid;
  uint32_t helpContext;
  const char* description;    // type library text (UTF-8), "" when none
  ClassKind kind;
};

}  // namespace OrvoLib22

constexpr CLSID CLSID_Divers = rt::com::makeGuid("{39006FB0-F4AD-4880-A9A4-06DEA0BB3052}");
constexpr IID IID__Divers = rt::com::makeGuid("{EAD0B701-D0C4-42A5-AAA1-FE76CFDBBE49}");
constexpr CLSID CLSID_IniParam = rt::com::makeGuid("{B0243E63-9A4B-4755-A3D9-ABE3884812D6}");
constexpr IID IID__IniParam = rt::com::makeGuid("{267C2C48-0561-4890-835E-78C17B4F0D41}");
constexpr CLSID CLSID_WinPlace = rt::com::makeGuid("{93D029ED-506F-46D5-A7BF-43F461807C19}");
constexpr IID IID__WinPlace = rt::com::makeGuid("{1B7E93A9-FC0A-46E4-88C6-B76E96F90E09}");
constexpr CLSID CLSID_PrintWnd = rt::com::makeGuid("{4839773D-E88C-4F32-8DFD-FCA340D45FDF}");
constexpr IID IID__PrintWnd = rt::com::makeGuid("{20461773-3E22-4985-8087-F1AC7551C6E0}");
constexpr CLSID CLSID_RegBase = rt::com::makeGuid("{8B076E96-D310-4BC5-8FB8-B6BA0B3BFD12}");
constexpr IID IID__RegBase = rt::com::makeGuid("{468B1B6C-D24B-4060-B99C-EB637AA8D2A3}");
constexpr CLSID CLSID_StringArray = rt::com::makeGuid("{7050554D-6069-4874-9BB4-EC83015ACE8E}");
constexpr IID IID__StringArray = rt::com::makeGuid("{353D18E1-0B60-4A00-B52A-C97A4FED7F94}");
constexpr CLSID CLSID_FilesPaths = rt::com::makeGuid("{6882BEBA-40FC-478F-A1EE-E5DB3A70D733}");
constexpr IID IID__FilesPaths = rt::com::makeGuid("{5F5CA4E6-5745-42F8-AFD1-2A6559C161D5}");
constexpr CLSID CLSID_LogFileClass = rt::com::makeGuid("{2EAE1399-039B-4707-B3D2-EF81F7493DC7}");
constexpr IID IID__LogFileClass = rt::com::makeGuid("{1D456278-FD97-440B-A546-292B48E6290F}");
constexpr CLSID CLSID_HexFunctions = rt::com::makeGuid("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF8}");
constexpr IID IID__HexFunctions = rt::com::makeGuid("{0DA1E67A-645A-4778-A548-55275B3FC09A}");
constexpr CLSID CLSID_StrToKclass = rt::com::makeGuid("{0A18C856-B344-4A53-89BA-B941A1630088}");
constexpr IID IID__StrToKclass = rt::com::makeGuid("{0FC7F202-F69E-49BB-9990-20D8183803CB}");
constexpr CLSID CLSID_KeyFilter = rt::com::makeGuid("{2D4A2BD7-1941-4A2F-95A5-98F75CDF8236}");
constexpr IID IID__KeyFilter = rt::com::makeGuid("{214004D8-2600-4AAF-915A-A2D1E5CED82B}");

namespace OrvoLib22 {

inline constexpr ClassInfo kDivers{"Divers", "_Divers", CLSID_Divers, IID__Divers, 1,
                                   "Classe regroupant des fonctions d'ordre général", ClassKind::Global};
inline constexpr ClassInfo kIniParam{"IniParam", "_IniParam", CLSID_IniParam, IID__IniParam, 2,
                                     "Fonctions relatives aux fichiers de paramètres privés", ClassKind::Global};
inline constexpr ClassInfo kWinPlace{"WinPlace", "_WinPlace", CLSID_WinPlace, IID__WinPlace, 3,
                                     "Fonctions de positionnement de fenêtres", ClassKind::Global};
inline constexpr ClassInfo kPrintWnd{
    "PrintWnd", "_PrintWnd", CLSID_PrintWnd, IID__PrintWnd, 4,
    "Fonctions de capture d'écran et de fenêtre, ainsi que l'impression d'un objet graphique", ClassKind::Global};
inline constexpr ClassInfo kRegBase{"RegBase", "_RegBase", CLSID_RegBase, IID__RegBase, 38,
                                    "Fonctions de la base de registre de Windows", ClassKind::Global};
inline constexpr ClassInfo kStringArray{"StringArray", "_StringArray", CLSID_StringArray,
                                        IID__StringArray, 46, "Tableau de chaines", ClassKind::Creatable};
inline constexpr ClassInfo kFilesPaths{"FilesPaths", "_FilesPaths", CLSID_FilesPaths,
                                       IID__FilesPaths, 0, "", ClassKind::Global};
inline constexpr ClassInfo kLogFileClass{"LogFileClass", "_LogFileClass", CLSID_LogFileClass,
                                         IID__LogFileClass, 0, "", ClassKind::Creatable};
inline constexpr ClassInfo kHexFunctions{"HexFunctions", "_HexFunctions", CLSID_HexFunctions,
                                         IID__HexFunctions, 0, "", ClassKind::Global};
inline constexpr ClassInfo kStrToKclass{"StrToKclass", "_StrToKclass", CLSID_StrToKclass,
                                        IID__StrToKclass, 0, "", ClassKind::Global};
inline constexpr ClassInfo kKeyFilter{"KeyFilter", "_KeyFilter", CLSID_KeyFilter, IID__KeyFilter,
                                      0, "", ClassKind::Global};

// All eleven public classes, in the type library's order.
inline constexpr const ClassInfo* kClasses[] = {&kDivers,      &kIniParam,   &kWinPlace,
                                                &kPrintWnd,    &kRegBase,    &kStringArray,
                                                &kFilesPaths,  &kLogFileClass, &kHexFunctions,
                                                &kStrToKclass, &kKeyFilter};

}  // namespace OrvoLib22

// ---------------------------------------------------------------------------------------
// Enumerations of the type library

// Registry roots (RegBase).
enum KeyTypesEnum : int32_t {
  HKEY_CLASSES_ROOT = static_cast<int32_t>(0x80000000u),
  HKEY_CURRENT_USER = static_cast<int32_t>(0x80000001u),
  HKEY_LOCAL_MACHINE = static_cast<int32_t>(0x80000002u),
  HKEY_USERS = static_cast<int32_t>(0x80000003u),
  HKEY_PERFORMANCE_DATA = static_cast<int32_t>(0x80000004u),
  HKEY_CURRENT_CONFIG = static_cast<int32_t>(0x80000005u),
  HKEY_DYN_DATA = static_cast<int32_t>(0x80000006u),
};

// Output modes of LogFileClass.
enum LogModeConstants : int32_t {
  eLogModeNone = 0,
  eLogModeDebug = 1,
  eLogModeFileNew = 2,
  eLogModeFileAppend = 3,
};

// ---------------------------------------------------------------------------------------
// Interfaces, members in binding order

// Divers: general helpers (locale separators, typed min/max/clamp, number reading...).
struct _Divers : IDispatch {
  static constexpr IID kIid = IID__Divers;
  virtual HRESULT SepList(QString* result) = 0;
  virtual HRESULT SepDec(QString* result) = 0;
  virtual HRESULT SepMil(QString* result) = 0;
  virtual HRESULT Mini(const QVariant& ValA, const QVariant& ValB, QVariant* result) = 0;
  virtual HRESULT Maxi(const QVariant& ValA, const QVariant& ValB, QVariant* result) = 0;
  virtual HRESULT Borner(QVariant* Valeur, QVariant* ValMin, QVariant* ValMax) = 0;
  virtual HRESULT Num(const QString& ValTxt, float* result) = 0;
  virtual HRESULT Ceiling(double Num, int32_t* result) = 0;
  virtual HRESULT Remplace(const QString& Original, const QString& Rech, const QString& Rempl,
                           QVariant* result) = 0;
  // Masked: optional flag, default false.
  virtual HRESULT LaunchAndWaitForApp(const QString& AppName, const QString& AppDir,
                                      const QString& CmdLine, const QVariant& Masked,
                                      VARIANT_BOOL* result) = 0;
};

// IniParam: named values in private initialisation files.
struct _IniParam : IDispatch {
  static constexpr IID kIid = IID__IniParam;
  virtual HRESULT GetPrivateParam(const QString& sTopic, const QString& sItem,
                                  const QString& sDefaut, const QString& sIniFileName,
                                  QString* result) = 0;
  virtual HRESULT SetPrivateParam(const QString& sTopic, const QString& sItem,
                                  const QString& sValue, const QString& sIniFileName) = 0;
  virtual HRESULT DelPrivateParam(const QString& sTopic, const QString& sItem,
                                  const QString& sIniFileName) = 0;
  virtual HRESULT DelPrivateSection(const QString& sTopic, const QString& sIniFileName) = 0;
  virtual HRESULT GetPrivateParamsList(QStringList* sTab, const QString& sTopic,
                                       const QString& sIniFileName, int16_t* result) = 0;
};

// WinPlace: window placement kept in initialisation files, centring, top-most state.
struct _WinPlace : IDispatch {
  static constexpr IID kIid = IID__WinPlace;
  // sIniFileName: any value convertible to text.
  virtual HRESULT RestoreWindow(QWidget* f, const QVariant& sIniFileName) = 0;
  virtual HRESULT SaveWindow(QWidget* f, const QVariant& sIniFileName) = 0;
  virtual HRESULT RestorePos(QWidget* f, const QString& sIniFileName) = 0;
  virtual HRESULT StorePos(QWidget* f, const QString& sIniFileName) = 0;
  virtual HRESULT CentrerEcran(QWidget* f) = 0;
  virtual HRESULT SetToTopmost(QWidget* f) = 0;
  virtual HRESULT SetToNotTopmost(QWidget* f) = 0;
  // Exact: optional flag, default false. result: the window brought to the front, or 0.
  virtual HRESULT AppActivateEx(const QString& AppCaption, const QVariant& Exact, WId* result) = 0;
};

// PrintWnd: window and screen capture, printing a picture fitted to the page.
struct _PrintWnd : IDispatch {
  static constexpr IID kIid = IID__PrintWnd;
  // hBmp: the bitmap; hPal: its palette (colour table), empty = none.
  virtual HRESULT CreateBitmapPicture(const QImage& hBmp, const QList<uint32_t>& hPal,
                                      QPixmap* result) = 0;
  virtual HRESULT CaptureWindow(WId hWndSrc, VARIANT_BOOL Client, int32_t LeftSrc, int32_t TopSrc,
                                int32_t WidthSrc, int32_t HeightSrc, QPixmap* result) = 0;
  virtual HRESULT CaptureScreen(QPixmap* result) = 0;
  virtual HRESULT CaptureForm(QWidget* frmSrc, QPixmap* result) = 0;
  virtual HRESULT CaptureClient(QWidget* frmSrc, QPixmap* result) = 0;
  virtual HRESULT CaptureActiveWindow(QPixmap* result) = 0;
  virtual HRESULT PrintPictureToFitPage(QPrinter* Prn, QPixmap* Pic) = 0;
};

// RegBase: string values and keys of the registry, file-type associations.
struct _RegBase : IDispatch {
  static constexpr IID kIid = IID__RegBase;
  // sValueName: optional, default "" (the key's default value). result: true on FAILURE.
  virtual HRESULT SetRegKey(int32_t lRootID, const QString& sKey, const QString& sValue,
                            QVariant* sValueName, VARIANT_BOOL* result) = 0;
  virtual HRESULT GetRegKey(int32_t* lRootID, QString* sKey, QVariant* sValueName,
                            QString* result) = 0;
  virtual HRESULT DelRegKey(int32_t lRootID, QString* sKey) = 0;
  // IconRank: optional, default 0. result: true when the association was written.
  virtual HRESULT SetRegExtAssociation(const QString& sAppPath, const QString& sExt,
                                       const QString& sCmd, const QString& sTypeDesc,
                                       QVariant* IconRank, VARIANT_BOOL* result) = 0;
};

// StringArray: a growable zero-based list of strings, optionally sorted.
struct _StringArray : IDispatch {
  static constexpr IID kIid = IID__StringArray;
  virtual HRESULT get_Count(int32_t* result) = 0;
  virtual HRESULT put_Sorted(VARIANT_BOOL value) = 0;
  virtual HRESULT get_Sorted(VARIANT_BOOL* result) = 0;
  virtual HRESULT Add(const QString& sNewString) = 0;
  virtual HRESULT Delete(int32_t lIndex) = 0;
  virtual HRESULT DeleteAll() = 0;
  virtual HRESULT InsertAt(int32_t lIndex, const QString& sNewString) = 0;
  // The default member.
  virtual HRESULT Item(int32_t lIndex, QString* result) = 0;
  virtual HRESULT SetAt(int32_t lIndex, QString* sString) = 0;
  // lIndex: any numeric value.
  virtual HRESULT SetCount(const QVariant& lIndex) = 0;
};

// FilesPaths: path splitting, relative paths, temporary names, file and folder dialogs.
struct _FilesPaths : IDispatch {
  static constexpr IID kIid = IID__FilesPaths;
  // Optional: bSave (false), bMulti (false), sFileName (""), sInitDir (""), sDialogTitle (""),
  // nFilterIndex by reference (0).
  virtual HRESULT GetFileName(WId hwndParent, const QString& sFilter, const QVariant& bSave,
                              const QVariant& bMulti, const QVariant& sFileName,
                              const QVariant& sInitDir, const QVariant& sDialogTitle,
                              QVariant* nFilterIndex, QString* result) = 0;
  // Path: optional, default "".
  virtual HRESULT GetTempFileName(const QVariant& Path, QString* result) = 0;
  virtual HRESULT RelPath(const QString& sRefPath, QString* sAbsPath, QString* result) = 0;
  virtual HRESULT DeleteLastSlash(const QString& sPath, QString* result) = 0;
  // sPath: any value convertible to text; SansReseau: optional flag by reference (missing =
  // false).
  virtual HRESULT ChooseDirectory(QWidget* frmSrc, const QString& sPrompt, const QVariant& sPath,
                                  QVariant* SansReseau, QString* result) = 0;
  virtual HRESULT GetDirectoryFromPath(const QString& sPath, QString* result) = 0;
  virtual HRESULT GetFilenameFromPath(const QString& sPath, QString* result) = 0;
  virtual HRESULT GetFileTitle(const QString& sPath, QString* result) = 0;
  virtual HRESULT GetFileExt(const QString& sPath, QString* result) = 0;
};

// LogFileClass: a plain-text journal.
struct _LogFileClass : IDispatch {
  static constexpr IID kIid = IID__LogFileClass;
  virtual HRESULT put_NoRaiseError(VARIANT_BOOL value) = 0;
  virtual HRESULT get_NoRaiseError(VARIANT_BOOL* result) = 0;
  virtual HRESULT get_Mode(LogModeConstants* result) = 0;
  virtual HRESULT get_LogPath(QString* result) = 0;
  virtual HRESULT get_Opened(VARIANT_BOOL* result) = 0;
  // Optional: LogPath (""), LogMode (eLogModeFileNew).
  virtual HRESULT OpenFile(const QVariant& LogPath, const QVariant& LogMode) = 0;
  // Optional: CommentString ("").
  virtual HRESULT Comment(const QVariant& CommentString) = 0;
  virtual HRESULT Rewind() = 0;
  virtual HRESULT CloseFile() = 0;
  virtual HRESULT FlushFile() = 0;
};

// HexFunctions: splitting, joining and hexadecimal text of 8-, 16- and 32-bit integers.
struct _HexFunctions : IDispatch {
  static constexpr IID kIid = IID__HexFunctions;
  virtual HRESULT HiByte(int32_t Word, uint8_t* result) = 0;
  virtual HRESULT LoByte(int32_t Word, uint8_t* result) = 0;
  virtual HRESULT HiWord(double Dword, int16_t* result) = 0;
  virtual HRESULT LoWord(double Dword, int16_t* result) = 0;
  virtual HRESULT Hex2(uint8_t Val, QString* result) = 0;
  virtual HRESULT Hex4(int16_t Val, QString* result) = 0;
  virtual HRESULT Hex8(int32_t Val, QString* result) = 0;
  virtual HRESULT MakeInt(uint8_t oLSB, uint8_t oMSB, int16_t* result) = 0;
  virtual HRESULT MakeLong(int16_t nLSB, int16_t nMSB, int32_t* result) = 0;
};

// StrToKclass: a stateful tokenizer.
struct _StrToKclass : IDispatch {
  static constexpr IID kIid = IID__StrToKclass;
  // Chaine: optional text by reference (""); Separ: optional by reference (missing = the
  // locale list separator).
  virtual HRESULT Strtok(QVariant* Chaine, QVariant* Separ, QString* result) = 0;
};

// KeyFilter: keystroke filters for text boxes (character code in, code or 0 out).
struct _KeyFilter : IDispatch {
  static constexpr IID kIid = IID__KeyFilter;
  // bPositive: optional flag, default false.
  virtual HRESULT FilterInt(int16_t KeyAscii, const QVariant& bPositive, int16_t* result) = 0;
  virtual HRESULT FilterUint(int16_t KeyAscii, int16_t* result) = 0;
  virtual HRESULT FilterHex(int16_t KeyAscii, int16_t* result) = 0;
  // sSep: optional text, default ".".
  virtual HRESULT FilterDec(int16_t KeyAscii, const QVariant& sSep, int16_t* result) = 0;
  virtual HRESULT FilterMaj(int16_t KeyAscii, int16_t* result) = 0;
};
