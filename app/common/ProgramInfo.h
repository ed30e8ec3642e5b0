#pragma once
// Where the program lives and keeps its own files. The application settings file and the
// hand-off file sit beside the program when its folder is writable (portable use); otherwise
// (a system-wide install) in the per-user folder $XDG_CONFIG_HOME/Tindra/.

#include <QString>

namespace ProgramInfo {

// The folder of the program file, without a trailing separator.
QString ProgramFolder();
// The program's file name without folder and extension ("tindra").
QString ProgramFileName();

// The folder that holds the program's own files (see above; an installed program counts as
// not writable, see InstallLayout::IsInstalled); created when it is the per-user
// folder and does not exist yet. Computed anew at each call.
QString DataFolder();

// The choice behind DataFolder: the program folder when writable, else configHome + "/Tindra"
// (configHome: $XDG_CONFIG_HOME, or ~/.config when that is unset or empty).
QString ChooseDataFolder(const QString& programFolder, bool programFolderWritable,
                         const QString& configHome);

// The per-user configuration folder ($XDG_CONFIG_HOME or ~/.config).
QString ConfigHome();

// Makes the program act as if it were the file `fileName` in `folder` (tests run the windows
// from a private folder). Empty texts restore the real location.
void OverrideLocation(const QString& folder, const QString& fileName);

}  // namespace ProgramInfo
