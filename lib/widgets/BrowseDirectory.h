#pragma once
// The folder-browse dialog behind FilesPaths.ChooseDirectory: a modal dialog over owner
// showing the prompt, the folder tree of the whole file system, and a status line with the
// full path of the current selection. Its object name is "BrowseDirectory" (the tree is
// "folderTree", the status line "statusText").

#include <QString>

class QWidget;

namespace orvo {

// The longest prompt shown; a longer one is cut.
constexpr qsizetype kLongestBrowsePrompt = 1024;

// Shows the dialog with initialFolder preselected (nothing is selected when it does not
// exist) and returns the absolute path of the folder chosen, or "" when cancelled. There is
// no network namespace on this system, so noNetwork changes nothing.
QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& initialFolder,
                        bool noNetwork);

}  // namespace orvo
