#include "lib/widgets/FileDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace orvo {
namespace {

// The 1-based position of the filter the user ended on. With the details hidden the dialog
// reports only the filter's description, which two filters may share: the position comes
// from its filter list itself.
int32_t chosenFilterPosition(const QFileDialog& dialog, const QStringList& filters) {
  if (const auto* list = dialog.findChild<const QComboBox*>(QStringLiteral("fileTypeCombo"))) {
    if (list->currentIndex() >= 0 && list->currentIndex() < filters.size()) return list->currentIndex() + 1;
  }
  const qsizetype position = filters.indexOf(dialog.selectedNameFilter());
  return position < 0 ? 1 : static_cast<int32_t>(position + 1);
}

// Qt's file dialog, refusing (with a message, the dialog staying open) a name whose folder
// does not exist: the chosen path must be usable as it is.
class ExistingPathFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.first()).isDir()) {
      const QFileInfo chosen(files.first());
      if (!chosen.absoluteDir().exists()) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("%1\nLe chemin d'accès n'existe pas.\nVérifiez que le chemin "
                                            "d'accès correct a été entré.")
                                 .arg(QDir::toNativeSeparators(chosen.absoluteFilePath())));
        return;
      }
    }
    QFileDialog::accept();
  }
};

}  // namespace

bool runFileDialog(const FileDialogRequest& request, QStringList& files, int32_t& chosenFilter) {
  QWidget* parent = request.parent ? QWidget::find(request.parent) : nullptr;
  ExistingPathFileDialog dialog(parent);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QString title = request.title;
  if (title.isEmpty()) title = request.save ? QStringLiteral("Enregistrer sous") : QStringLiteral("Ouvrir");
  dialog.setWindowTitle(title);
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multi ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  if (!request.filters.isEmpty()) {
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size()) {
      dialog.selectNameFilter(request.filters[request.filterIndex - 1]);
    }
  }
  if (!request.initDir.isEmpty()) dialog.setDirectory(request.initDir);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);

  if (dialog.exec() != QDialog::Accepted) return false;
  files = dialog.selectedFiles();
  if (files.isEmpty()) return false;
  chosenFilter = request.filters.isEmpty() ? 0 : chosenFilterPosition(dialog, request.filters);
  return true;
}

}  // namespace orvo
