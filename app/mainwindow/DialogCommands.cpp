#include "app/mainwindow/DialogCommands.h"

#include "app/dialogs/wParams.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/JournalCommands.h"
#include "app/mainwindow/RenameCommand.h"
#include "app/mainwindow/wMain.h"

void RegisterDialogCommands(wMain& window, DialogCommandOptions options) {
  window.setCommand(QStringLiteral("mnuEditProperties"), [&window] { ShowParametersDialog(window); });
  window.setCommand(QStringLiteral("mnuActionRename"), [&window, options] { RenameCheckedFiles(window, options); });
  window.setCommand(QStringLiteral("mnuEditUndo"), [&window] { UndoLastRename(window); });
}

void ShowParametersDialog(wMain& window) {
  {
    wParams dialog(&window);
    dialog.SetSettingsMode();
    dialog.exec();
  }
  // The plan and the future name in the status bar follow the settings just edited.
  window.SettingsChanged();
}
