#pragma once
// What the library's widget part offers the library. Everything of the library that needs
// Qt's widget stack (window placement, capture and printing, the file and folder dialogs) is
// built into a second shared object installed beside the library, so that a client which
// never shows a window never loads the widget, GUI and print libraries. The library loads it
// on first use of a class or member that needs it (lib/WidgetModule.h).
//
// Each module carries its own copy of the runtime: an error raised in the widget module is
// recorded in that module's thread record, which an object of the module hands out itself,
// and which the library takes (takeErrorRecord) after a failed dialog call.

#include "runtime/ComTypes.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

class QWidget;

namespace orvo {

// The widget module's file, beside the library's.
inline constexpr const char* kWidgetModuleFile = "libOrvoLib22Widgets.so.2";
// Its one exported function: WidgetEntryFn.
inline constexpr const char* kWidgetEntryName = "OrvoLib22WidgetEntry";

// How the widget module creates an object of a class the library itself serves (the private
// IniParam object of WinPlace).
using CreateLibraryObjectFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);

// FilesPaths.GetFileName's dialog, its arguments read.
struct FileDialogRequest {
  WId parent = 0;
  QStringList filters;  // Qt name filters ("Images (*.jpg *.jpeg)")
  bool save = false;
  bool multi = false;
  QString fileName;
  QString initDir;
  QString title;
  int32_t filterIndex = 0;
};

struct WidgetEntry {
  // The class factory of a class the widget module carries (WinPlace, PrintWnd).
  HRESULT (*getClassObject)(const CLSID& clsid, const IID& iid, void** object);
  // True while an object of the module or a lock on it is alive.
  bool (*inUse)();
  // Runs the file dialog: *accepted false when cancelled; otherwise the files chosen and
  // the 1-based filter the user ended on (0 without filters).
  HRESULT (*runFileDialog)(const FileDialogRequest& request, bool* accepted, QStringList* files,
                           int32_t* chosenFilter);
  // The body of FilesPaths.ChooseDirectory (lib/FilesPaths.h).
  HRESULT (*chooseDirectory)(QWidget* form, const QString& prompt, const QVariant& initialFolder,
                             QVariant* noNetwork, QString* result);
  // Takes the record a failed call above left in the calling thread; false when none.
  bool (*takeErrorRecord)(int32_t* number, QString* source, QString* description);
};

using WidgetEntryFn = const WidgetEntry* (*)(CreateLibraryObjectFn createLibraryObject);

}  // namespace orvo
