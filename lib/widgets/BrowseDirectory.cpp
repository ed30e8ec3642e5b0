#include "lib/widgets/BrowseDirectory.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace orvo {
namespace {

class BrowseFolderDialog : public QDialog {
 public:
  BrowseFolderDialog(QWidget* owner, const QString& prompt) : QDialog(owner) {
    setObjectName(QStringLiteral("BrowseDirectory"));
    setWindowTitle(QStringLiteral("Rechercher un dossier"));

    auto* promptLabel = new QLabel(prompt.left(kLongestBrowsePrompt), this);
    promptLabel->setWordWrap(true);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QStringLiteral("/"));

    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusText"));

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel);
    layout->addWidget(tree_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons_);
    resize(420, 460);

    // The status line always shows the full path of the current selection.
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { showSelection(current); });
    showSelection(QModelIndex());
  }

  void preselect(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir()) return;
    const QModelIndex index = model_->index(info.absoluteFilePath());
    if (!index.isValid()) return;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    tree_->expand(index);
    // The tree fills in and sorts itself as folders load: keep the preselected folder in view
    // until the user picks another one.
    keepInView_ = true;
    const auto showPreselected = [this] {
      if (keepInView_) tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    };
    connect(model_, &QFileSystemModel::directoryLoaded, this, showPreselected);
    connect(model_, &QFileSystemModel::layoutChanged, this, showPreselected);
  }

  QString chosenFolder() const {
    const QModelIndex current = tree_->currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
  }

 private:
  void showSelection(const QModelIndex& current) {
    keepInView_ = false;
    const bool chosen = current.isValid();
    status_->setText(chosen ? model_->filePath(current) : QString());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(chosen);
  }

  bool keepInView_ = false;
  QFileSystemModel* model_ = nullptr;
  QTreeView* tree_ = nullptr;
  QLabel* status_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace

QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& initialFolder,
                        bool noNetwork) {
  Q_UNUSED(noNetwork);
  BrowseFolderDialog dialog(owner, prompt);
  dialog.preselect(initialFolder);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.chosenFolder();
}

}  // namespace orvo
