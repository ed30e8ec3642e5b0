// wMain: the rename command around the rename engine — the checks and confirmations before it,
// the busy pointer and progress while it runs, and the rows brought up to date afterwards.
#include "app/common/ErrorHandling.h"
#include "app/dialogs/wParams.h"
#include "app/mainwindow/RenameCommand.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/RenameDialogs.h"
#include "app/ui/UiServices.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/JournalStore.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/RenameReport.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidgetItem>

#include <optional>
#include <vector>

using ui::Ui;

namespace {

const QString kNothingChecked = QStringLiteral(
    "Aucun fichier à renommer !\n\nVerifiez que vous avez bien coché des cases de fichiers.");
const QString kConfirmation = QStringLiteral(
    "Tous les fichiers dont la case est cochée vont être\nrenommés en fonction des paramètres courants.\n"
    "Cette action est irréversible.\n\nÊtes vous sûr ?");

int checkedRows(const FileListView& list) {
  int count = 0;
  for (const QTreeWidgetItem* item : list.allRows()) count += FileListView::isChecked(item) ? 1 : 0;
  return count;
}

// The parameters dialog in confirmation mode; the offsets when the user confirmed.
std::optional<RenameOffsets> confirmSettings(wMain& window) {
  wParams dialog(&window);
  dialog.SetConfirmationMode();
  dialog.exec();
  if (!dialog.Ok()) return std::nullopt;
  return RenameOffsets::fromConfig(CurrentConfig());  // the dialog stored its controls
}

std::vector<RenameRow> rowsOf(const QList<QTreeWidgetItem*>& items) {
  std::vector<RenameRow> rows;
  rows.reserve(static_cast<size_t>(items.size()));
  for (const QTreeWidgetItem* item : items) {
    RenameRow row;
    row.key = FileListView::key(item);
    row.text = item->text(FileListView::kName);
    row.folder = item->text(FileListView::kFolder);
    row.dateKey = item->text(FileListView::kDateKey);
    row.exifMark = item->text(FileListView::kExif) == QLatin1String("X");
    row.checked = FileListView::isChecked(item);
    rows.push_back(row);
  }
  return rows;
}

// Keys are emptied first, then set, so that no two rows ever hold the same key at once.
void copyBack(FileListView& list, const QList<QTreeWidgetItem*>& items, const std::vector<RenameRow>& rows) {
  for (QTreeWidgetItem* item : items) list.setKey(item, QString());
  for (qsizetype i = 0; i < items.size(); ++i) {
    const RenameRow& row = rows[static_cast<size_t>(i)];
    list.setKey(items[i], row.key);
    items[i]->setText(FileListView::kName, row.text);
    FileListView::setChecked(items[i], row.checked);
  }
}

// For the length of the renames: the busy pointer, and no hand-over pick-up (files handed over
// meanwhile wait in the hand-off file until the end).
class RenameScope {
 public:
  explicit RenameScope(wMain& window)
      : window_(window), pointer_(Ui().mousePointer()), timerWasActive_(window.tmrLoadFiles->isActive()) {
    Ui().setMousePointer(ui::Pointer::Busy);
    window_.tmrLoadFiles->stop();
  }
  ~RenameScope() { end(); }
  RenameScope(const RenameScope&) = delete;
  RenameScope& operator=(const RenameScope&) = delete;

  void end() {
    if (ended_) return;
    ended_ = true;
    Ui().setMousePointer(pointer_);
    if (timerWasActive_) window_.tmrLoadFiles->start();
  }

 private:
  wMain& window_;
  ui::Pointer pointer_;
  bool timerWasActive_;
  bool ended_ = false;
};

}  // namespace

namespace {

void renameCheckedFiles(wMain& window, const DialogCommandOptions& options) {
  FileListView& list = *window.lvwFiles;
  if (checkedRows(list) == 0) {
    Ui().messageBox(kNothingChecked, ui::Buttons::Ok, ui::Icon::Critical);
    return;
  }
  const std::optional<RenameOffsets> offsets = confirmSettings(window);
  if (!offsets) return;
  if (Ui().messageBox(kConfirmation, ui::Buttons::OkCancel, ui::Icon::Exclamation) != ui::Answer::Ok) return;

  RenameScope scope(window);
  const QList<QTreeWidgetItem*> items = list.allRows();
  std::vector<RenameRow> rows = rowsOf(items);
  RenameDialogs dialogs(&window, options.progressDelayMs, options.eventsIntervalMs);
  JournalWriter journal;
  RenameEngine engine(rt::localFileSystem(), CurrentConfig(), *offsets, dialogs);
  engine.setJournal(&journal);
  QString leftAlone;
  QString journalProblem;
  try {
    const RenameSummary summary = engine.run(rows);
    leftAlone = LeftAloneReport(summary.leftAlone);
    journalProblem = summary.journalProblem;
  } catch (const RenameFailure& failure) {
    // The engine gave back the old names it could; the rows follow the files as they are now.
    copyBack(list, items, rows);
    scope.end();
    ErrorHandling::ShowError(QStringLiteral("wMain.mnuActionRename_Click"), failure);
    Ui().messageBox(rt::displayPath(RenameFailureReport(failure)), ui::Buttons::Ok, ui::Icon::Exclamation);
    return;
  }
  copyBack(list, items, rows);
  scope.end();
  if (!leftAlone.isEmpty()) Ui().messageBox(rt::displayPath(leftAlone), ui::Buttons::Ok, ui::Icon::Exclamation);
  const QString pruneProblem = pruneJournals();
  for (const QString& problem : {journalProblem, pruneProblem})
    if (!problem.isEmpty()) Ui().messageBox(problem, ui::Buttons::Ok, ui::Icon::Exclamation);
}

}  // namespace

void RenameCheckedFiles(wMain& window, const DialogCommandOptions& options) {
  renameCheckedFiles(window, options);
  // The details show the current row as it is now: its new name, under the settings the
  // dialog may just have changed.
  window.lvwFiles_ItemClick(window.lvwFiles->currentItem());
}
