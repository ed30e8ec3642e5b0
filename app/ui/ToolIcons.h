#pragma once
// The program's pictures, drawn as vector shapes so they stay sharp at every size and screen
// density: the nine toolbar images (keyed by the menu item they stand for) and the program
// icon.

#include <QHash>
#include <QIcon>
#include <QString>

namespace ToolIcons {

// The image list imlTools: one icon per toolbar key.
QHash<QString, QIcon> ImageList();
// One toolbar image; a null icon for an unknown key.
QIcon Icon(const QString& key);
// The program's icon (a picture with a clock).
QIcon ProgramIcon();

}  // namespace ToolIcons
