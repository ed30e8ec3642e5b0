#pragma once
// The main window's "&Renommer" command (mnuActionRename) around the rename engine.

#include "app/mainwindow/DialogCommands.h"

class wMain;

// The rename command: nothing checked is said; otherwise the parameters dialog in confirmation
// mode, the last confirmation, then every checked file is renamed (busy pointer, progress for
// long runs, dates asked with the date-input dialog) and the rows follow the files. A failure
// is reported as wMain.mnuActionRename_Click after the files still under temporary names got
// their old names back; the rows match the files on disk in every case.
void RenameCheckedFiles(wMain& window, const DialogCommandOptions& options);
