#pragma once
// The main window's commands that rest on the dialogs: "&Paramètres" (mnuEditProperties) opens
// the parameters dialog in settings mode, "&Renommer" (mnuActionRename) renames the checked
// files, "&Annuler le dernier renommage" (mnuEditUndo) undoes the last rename (see
// JournalCommands.h). The program registers them on its window at start-up.

class wMain;

struct DialogCommandOptions {
  // A rename that lasts longer than this shows its progress in a modal window.
  int progressDelayMs = 500;
  // While the progress window shows, pending window events run at most this often.
  int eventsIntervalMs = 80;
};

// Registers both commands on the window (which must outlive its commands).
void RegisterDialogCommands(wMain& window, DialogCommandOptions options = {});

// The parameters dialog in settings mode; afterwards the current row's details follow the
// settings.
void ShowParametersDialog(wMain& window);
