#include "app/naming/UndoRun.h"

#include "app/naming/JournalRecovery.h"
#include "app/naming/RenameEngine.h"
#include "runtime/DurableFile.h"
#include "runtime/RuntimeError.h"

#include <QHash>
#include <QSet>

namespace {

using rt::durable::FileIdentity;


bool undoable(const JournalRun& run) {
  return run.kind == JournalKind::Rename && run.undoneBy.isEmpty() &&
         (run.outcome == JournalOutcome::Complete || run.outcome == JournalOutcome::RolledBack ||
          run.outcome == JournalOutcome::Finished);
}

// The folder as it is now: each entry's identity by name.
using Listing = QHash<QString, FileIdentity>;

// Works out which files go back: those found under their final names, unchanged, whose old
// name is free or held by another file that goes back too.
class UndoPlanner {
 public:
  UndoPlanner(const JournalRun& run, UndoResult& result) : run_(run), result_(result) {}
  JournalRun plan();

 private:
  void check(const JournalFile& file, const Listing& listing);
  void skip(const JournalFile& file, const QString& why) {
    result_.skipped.append(QStringLiteral("« %1 » : %2").arg(file.finalPath(), why));
  }

  const JournalRun& run_;
  UndoResult& result_;
  QHash<QString, Listing> listings_;
  std::vector<const JournalFile*> going_;
};

JournalRun UndoPlanner::plan() {
  for (const QString& folder : run_.folders()) {
    Listing& listing = listings_[folder];
    try {
      for (const auto& [name, id] : rt::durable::identitiesIn(folder)) listing.insert(name, id);
    } catch (const rt::RuntimeError& error) {
      for (const JournalFile& file : run_.files)
        if (file.folder == folder) skip(file, QStringLiteral("dossier illisible (%1)").arg(error.description()));
      listings_.remove(folder);
    }
  }
  for (const JournalFile& file : run_.files)
    if (listings_.contains(file.folder) && file.oldName != file.finalName) check(file, listings_[file.folder]);
  // A file whose old name is held by something that stays stays too; repeat until stable.
  for (bool changed = true; changed;) {
    changed = false;
    QSet<QString> leaving;
    for (const JournalFile* file : going_) leaving.insert(file->finalPath());
    for (auto it = going_.begin(); it != going_.end(); ++it) {
      const JournalFile& file = **it;
      if (listings_[file.folder].contains(file.oldName) && !leaving.contains(file.oldPath())) {
        skip(file, QStringLiteral("son ancien nom « %1 » est pris par un autre fichier : il garde son nom")
                       .arg(file.oldName));
        going_.erase(it);
        changed = true;
        break;
      }
    }
  }
  JournalRun undo;
  undo.kind = JournalKind::Undo;
  undo.undoes = run_.id;
  for (const JournalFile* file : going_) {
    const Listing& listing = listings_[file->folder];
    QString temporary = kTemporaryPrefix + file->finalName;
    while (listing.contains(temporary)) temporary = kTemporaryPrefix + temporary;
    undo.files.push_back(
        JournalFile{file->folder, file->finalName, temporary, file->oldName, listing.value(file->finalName)});
  }
  return undo;
}

void UndoPlanner::check(const JournalFile& file, const Listing& listing) {
  const auto here = listing.find(file.finalName);
  if (here != listing.end() && here->sameFile(file.identity)) {
    if (*here == file.identity)
      going_.push_back(&file);
    else
      skip(file, QStringLiteral("modifié depuis le renommage : il garde son nom"));
    return;
  }
  for (auto it = listing.begin(); it != listing.end(); ++it) {
    if (!it->sameFile(file.identity)) continue;
    if (it.key() != file.oldName)
      skip(file, QStringLiteral("renommé depuis en « %1 » : il garde ce nom").arg(it.key()));
    return;  // under its old name already: nothing to do
  }
  skip(file, QStringLiteral("introuvable : déplacé ou supprimé depuis"));
}

}  // namespace

std::vector<JournalRun> undoableRuns() {
  std::vector<JournalRun> runs;
  for (StoredRun& stored : storedRuns())
    if (stored.run && undoable(*stored.run)) runs.push_back(std::move(*stored.run));
  return runs;
}

UndoResult undoRun(const JournalRun& run, rt::FileSystem& fs) {
  UndoResult result;
  JournalRun undo = UndoPlanner(run, result).plan();
  if (undo.files.empty()) return result;
  JournalWriter journal;
  journal.begin(undo);
  const RecoveryReport report = moveToGoal(undo, RecoveryGoal::FinalNames, fs);
  for (size_t i = 0; i < undo.files.size(); ++i) {
    const JournalFile& file = undo.files[i];
    if (report.whereNow[i] == file.finalPath()) {
      ++result.restored;
      result.moved.emplace_back(file.oldPath(), file.finalPath());
    } else if (!report.whereNow[i].isEmpty() && report.whereNow[i] != file.oldPath()) {
      result.moved.emplace_back(file.oldPath(), report.whereNow[i]);
    }
  }
  result.skipped += report.problems;
  try {
    journal.end(JournalOutcome::Complete, report.left);
    JournalWriter(journalFolder() + QLatin1Char('/') + run.id + QStringLiteral(".journal")).markUndone(undo.id);
  } catch (const rt::RuntimeError& error) {
    result.journalProblem = error.description();
  }
  return result;
}
