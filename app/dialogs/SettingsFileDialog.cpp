#include "app/dialogs/SettingsFileDialog.h"

#include "app/common/Orvofonctions2.h"
#include "app/ui/UiServices.h"
#include "app/naming/SettingsFile.h"

#include <QFileInfo>

using ui::Ui;

namespace SettingsFileDialog {

QString Ask(QWidget* owner, bool save, const QString& fileName, const QString& initDir) {
  ui::FileDialogRequest request;
  request.owner = owner;
  request.filter = kSettingsFileFilter;
  request.save = save;
  request.fileName = fileName;
  request.initDir = initDir;
  for (;;) {
    const QString chosen = Ui().getFileName(request);
    if (chosen.isEmpty() || !save) return chosen;
    const QString path = WithSettingsExtension(chosen);
    if (path == chosen || !QFileInfo::exists(path)) return path;
    const QString name = Orvofonctions2::GetFilenameFromPath(path);
    const ui::Answer answer =
        Ui().messageBox(QStringLiteral("Le fichier « %1 » existe déjà.\r\nVoulez-vous le remplacer ?").arg(name),
                        ui::Buttons::YesNo, ui::Icon::Exclamation);
    if (answer == ui::Answer::Yes) return path;
    request.fileName = name;
    request.initDir = Orvofonctions2::GetDirectoryFromPath(path);
  }
}

}  // namespace SettingsFileDialog
