#include "tools/cli/JournalCommands.h"

#include "app/naming/JournalRecovery.h"
#include "app/naming/JournalStore.h"
#include "app/naming/UndoRun.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"
#include "tools/cli/CliOutput.h"

#include <algorithm>

namespace cli {
namespace {

QString started(const JournalRun& run) { return QString(run.started).replace(QLatin1Char('T'), QLatin1Char(' ')); }

QString kindText(const JournalRun& run) {
  return run.kind == JournalKind::Undo ? QStringLiteral("annulation") : QStringLiteral("renommage");
}

void printProblems(const QStringList& problems) {
  for (const QString& line : problems) printError(line);
  if (!problems.isEmpty()) markFailed();
}

}  // namespace

bool isJournalCommand(Command command) {
  return command == Command::History || command == Command::Undo || command == Command::Recover;
}

bool readJournalArguments(const QStringList& args, Options& options, QString* error) {
  const QStringList rest = args.mid(1);
  switch (options.command) {
    case Command::History:
      if (rest.isEmpty()) return true;
      *error = QStringLiteral("la commande history ne prend pas d'argument");
      return false;
    case Command::Undo: {
      if (rest.isEmpty()) return true;
      bool ok = false;
      options.undoRank = rest.size() == 1 ? rest.front().toInt(&ok) : 0;
      if (ok && options.undoRank >= 1) return true;
      *error = QStringLiteral("undo attend au plus un nombre N ≥ 1 (le N-ième dernier renommage)");
      return false;
    }
    case Command::Recover:
      if (rest.size() == 1 && (rest.front() == QLatin1String("--restore") || rest.front() == QLatin1String("--finish"))) {
        options.restore = rest.front() == QLatin1String("--restore");
        return true;
      }
      *error = QStringLiteral("recover attend --restore (anciens noms) ou --finish (achever le renommage)");
      return false;
    default:
      return false;
  }
}

int runHistory() {
  for (const StoredRun& stored : storedRuns()) {
    if (!stored.run) {
      printLine(QStringLiteral("%1\tjournal endommagé : %2").arg(stored.path, stored.error));
      continue;
    }
    const JournalRun& run = *stored.run;
    printLine(QStringList{run.id, started(run), kindText(run), run.folders().join(QStringLiteral(", ")),
                          QString::number(run.files.size()), outcomeText(run)}
                  .join(QLatin1Char('\t')));
  }
  return 0;
}

int runUndo(const Options& options) {
  const std::vector<JournalRun> runs = undoableRuns();
  if (static_cast<int>(runs.size()) < options.undoRank) {
    printError(runs.empty() ? QStringLiteral("aucun renommage à annuler")
                            : QStringLiteral("seuls %1 renommages peuvent être annulés").arg(runs.size()));
    return 1;
  }
  try {
    const UndoResult result = undoRun(runs[static_cast<size_t>(options.undoRank - 1)], rt::localFileSystem());
    for (const auto& [from, to] : result.moved) printLine(from + QLatin1Char('\t') + to);
    printProblems(result.skipped);
    if (!result.journalProblem.isEmpty()) printProblems({result.journalProblem});
  } catch (const rt::RuntimeError& error) {
    printProblems({QStringLiteral("%1 : aucun fichier n'a été renommé").arg(error.description())});
  }
  const QString pruneProblem = pruneJournals();
  if (!pruneProblem.isEmpty()) printError(pruneProblem);
  return failed() ? 1 : 0;
}

int runRecover(const Options& options) {
  QStringList journals = interruptedJournals();  // newest first
  if (journals.isEmpty()) {
    printError(QStringLiteral("aucun renommage interrompu"));
    return 0;
  }
  // Old names go back newest run first; an unfinished run is finished oldest first.
  if (!options.restore) std::reverse(journals.begin(), journals.end());
  for (const QString& path : journals) {
    try {
      const RecoveryReport report =
          recoverJournal(path, options.restore ? RecoveryGoal::OldNames : RecoveryGoal::FinalNames, rt::localFileSystem());
      printLine(QStringLiteral("%1\t%2 fichiers renommés, %3 déjà en place")
                    .arg(path).arg(report.moved).arg(report.alreadyThere));
      printProblems(report.problems);
    } catch (const rt::RuntimeError& error) {
      printProblems({error.description()});
    }
  }
  return failed() ? 1 : 0;
}

void noteInterruptedRuns() {
  for (const QString& path : interruptedJournals()) {
    const StoredRun stored = readStoredRun(path);
    if (!stored.run) {
      printError(QStringLiteral("le journal « %1 » d'un renommage est endommagé (%2)").arg(path, stored.error));
      continue;
    }
    printError(QStringLiteral("un renommage de %1 fichiers dans « %2 » a été interrompu ; "
                              "« tindra-cli recover --restore » leur rend leurs anciens noms, "
                              "« tindra-cli recover --finish » l'achève")
                   .arg(stored.run->files.size())
                   .arg(stored.run->folders().join(QStringLiteral(", "))));
  }
}

}  // namespace cli
