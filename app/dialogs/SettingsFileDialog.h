#pragma once
// The file dialog of settings files, shared by the File menu, the parameters dialog and the
// take-over of old settings: the settings-file filter, and in save mode the ".tdc" a typed
// name without extension receives.

#include <QString>

class QWidget;

namespace SettingsFileDialog {

// Shows the dialog owned by owner, at fileName in initDir; "" when cancelled. In save mode a
// name without extension gets ".tdc"; when the file so named exists already (the dialog only
// asked about the name as typed), the user is asked whether to replace it, and "Non" shows
// the dialog again.
QString Ask(QWidget* owner, bool save, const QString& fileName, const QString& initDir);

}  // namespace SettingsFileDialog
