// wMain: undo of the last rename and recovery of an interrupted one, through the journal.
#include "app/common/ErrorHandling.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/JournalCommands.h"
#include "app/ui/UiServices.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/JournalRecovery.h"
#include "app/naming/JournalStore.h"
#include "app/naming/UndoRun.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"


using ui::Ui;

namespace {

const QString kNothingToUndo = QStringLiteral("Aucun renommage à annuler.");

// Folders as a person reads them (bytes that are not UTF-8 shown as "\xE9").
QString folderList(const JournalRun& run) { return rt::displayPath(run.folders().join(QStringLiteral("\n"))); }

QString when(const JournalRun& run) {
  const QString date = run.started.left(10);
  return QStringLiteral("%1/%2/%3 à %4").arg(date.mid(8, 2), date.mid(5, 2), date.left(4), run.started.mid(11, 5));
}

void showLeftAlone(const QString& intro, const QStringList& lines) {
  if (lines.isEmpty()) return;
  Ui().messageBox(intro + QStringLiteral("\n\n") + rt::displayPath(lines.join(QLatin1Char('\n'))), ui::Buttons::Ok,
                  ui::Icon::Exclamation);
}

void recover(wMain& window, const QString& path, const JournalRun& run) {
  const ui::Answer answer = Ui().messageBox(
      QStringLiteral("Un renommage de %1 fichiers commencé le %2 a été interrompu, dans :\n%3\n\n"
                     "Oui : rendre aux fichiers leurs anciens noms.\n"
                     "Non : achever le renommage.\n"
                     "Annuler : décider au prochain démarrage.")
          .arg(run.files.size())
          .arg(when(run), folderList(run)),
      ui::Buttons::YesNoCancel, ui::Icon::Question);
  if (answer == ui::Answer::Cancel) return;
  const RecoveryGoal goal = answer == ui::Answer::Yes ? RecoveryGoal::OldNames : RecoveryGoal::FinalNames;
  const RecoveryReport report = recoverJournal(path, goal, rt::localFileSystem());
  std::vector<std::pair<QString, QString>> moved;
  for (size_t i = 0; i < run.files.size(); ++i) {
    const JournalFile& file = run.files[i];
    for (const QString& from : {file.oldPath(), file.finalPath(), file.folder + QLatin1Char('/') + file.temporaryName})
      if (!report.whereNow[i].isEmpty() && from != report.whereNow[i]) moved.emplace_back(from, report.whereNow[i]);
  }
  window.lvwFiles->pictures().followMoves(moved);
  showLeftAlone(QStringLiteral("Ces fichiers ont été laissés tels quels :"), report.problems);
}

}  // namespace

void UndoLastRename(wMain& window) {
  const std::vector<JournalRun> runs = undoableRuns();
  if (runs.empty()) {
    Ui().messageBox(kNothingToUndo, ui::Buttons::Ok, ui::Icon::Information);
    return;
  }
  const JournalRun& run = runs.front();
  if (Ui().messageBox(QStringLiteral("Rendre leurs anciens noms aux %1 fichiers renommés le %2 dans :\n%3\n\nÊtes vous sûr ?")
                          .arg(run.files.size())
                          .arg(when(run), folderList(run)),
                      ui::Buttons::OkCancel, ui::Icon::Question) != ui::Answer::Ok)
    return;
  const ui::Pointer pointer = Ui().mousePointer();
  Ui().setMousePointer(ui::Pointer::Busy);
  UndoResult result;
  try {
    result = undoRun(run, rt::localFileSystem());
  } catch (...) {
    Ui().setMousePointer(pointer);
    throw;  // reported by the menu command's handler; nothing moved
  }
  Ui().setMousePointer(pointer);
  window.lvwFiles->pictures().followMoves(result.moved);
  if (!result.journalProblem.isEmpty()) result.skipped.append(result.journalProblem);
  const QString pruneProblem = pruneJournals();
  if (!pruneProblem.isEmpty()) result.skipped.append(pruneProblem);
  showLeftAlone(QStringLiteral("Ces fichiers ont gardé leur nom :"), result.skipped);
}

void OfferRecovery(wMain& window) {
  ErrorHandling::Guarded(QStringLiteral("wMain.OfferRecovery"), [&] {
    for (const QString& path : interruptedJournals()) {
      const StoredRun stored = readStoredRun(path);
      if (!stored.run) {
        Ui().messageBox(QStringLiteral("Le journal « %1 » d'un renommage interrompu est endommagé (%2).\n\n"
                                       "Aucun fichier n'a été déplacé.")
                            .arg(rt::displayPath(path), stored.error),
                        ui::Buttons::Ok, ui::Icon::Critical);
        continue;
      }
      recover(window, path, *stored.run);
    }
  });
}
