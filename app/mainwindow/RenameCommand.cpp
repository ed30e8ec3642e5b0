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
#include "app/naming/PictureList.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/RenameReport.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include <optional>
#include <vector>

using ui::Ui;

namespace {

const QString kNothingChecked = QStringLiteral(
    "Aucun fichier à renommer !\n\nVerifiez que vous avez bien coché des cases de fichiers.");
const QString kConfirmation = QStringLiteral(
    "Tous les fichiers dont la case est cochée vont être\nrenommés en fonction des paramètres courants.\n"
    "Cette action est irréversible.\n\nÊtes vous sûr ?");

size_t checkedRows(const PictureList& list) {
  size_t count = 0;
  for (const PictureRow& picture : list.rows()) count += picture.row.checked ? 1 : 0;
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
  PictureListModel& list = window.lvwFiles->pictures();
  if (checkedRows(list.list()) == 0) {
    Ui().messageBox(kNothingChecked, ui::Buttons::Ok, ui::Icon::Critical);
    return;
  }
  const std::optional<RenameOffsets> offsets = confirmSettings(window);
  if (!offsets) return;
  window.SettingsChanged();  // the list shows the plan of the settings just confirmed
  if (Ui().messageBox(kConfirmation, ui::Buttons::OkCancel, ui::Icon::Exclamation) != ui::Answer::Ok) return;

  RenameScope scope(window);
  // The run reads what the list read and renames the rows the plan was made of, so the files
  // get the names the list showed under the settings just confirmed.
  std::vector<RenameRow> rows = list.list().renameRows();
  RenameDialogs dialogs(&window, options.progressDelayMs, options.eventsIntervalMs);
  JournalWriter journal;
  RenameEngine engine(rt::localFileSystem(), CurrentConfig(), *offsets, dialogs);
  engine.setJournal(&journal);
  engine.setPictureReader(list.list().readings());
  QString leftAlone;
  QString journalProblem;
  try {
    const RenameSummary summary = engine.run(rows);
    leftAlone = LeftAloneReport(summary.leftAlone);
    journalProblem = summary.journalProblem;
  } catch (const RenameFailure& failure) {
    // The engine gave back the old names it could; the rows follow the files as they are now.
    list.takeBack(rows);
    scope.end();
    ErrorHandling::ShowError(QStringLiteral("wMain.mnuActionRename_Click"), failure);
    Ui().messageBox(rt::displayPath(RenameFailureReport(failure)), ui::Buttons::Ok, ui::Icon::Exclamation);
    return;
  }
  list.takeBack(rows);
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
  window.SettingsChanged();
}
