#pragma once
// Where the journals of the rename runs live ($XDG_STATE_HOME/Tindra/journal/, default
// ~/.local/state), one "<run id>.journal" file per run, and their writing, listing and pruning.

#include "app/naming/RenameJournal.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The journal folder (not created here).
QString journalFolder();

// Fills in the identity of each file (under its old name) from the disk, folder by folder. A
// file that is missing keeps an empty identity: the run meets it as a file that vanished, and
// recovery as one that cannot be found.
void readIdentities(std::vector<JournalFile>& files);

// Writes one run's journal: the plan at once before the first move, then its appended lines,
// each synced to disk. Failures raise a run-time error whose French description says that the
// journal could not be written.
class JournalWriter {
 public:
  // Gives run a new id and start date and writes its plan; the folder is created if needed.
  void begin(JournalRun& run);
  // Writes to an existing journal (recovery, marking a run undone).
  explicit JournalWriter(QString path = QString()) : path_(std::move(path)) {}

  void recordFinal(size_t index, const QString& name);
  void end(JournalOutcome outcome, const QStringList& left);
  void markUndone(const QString& undoRunId);

  const QString& path() const { return path_; }

 private:
  void appendLines(const QByteArray& lines);
  QString path_;
};

// One journal file and what it holds: run, or a French explanation when it is damaged.
struct StoredRun {
  QString path;
  std::optional<JournalRun> run;
  QString error;
};

StoredRun readStoredRun(const QString& path);

// Every journal, newest first.
std::vector<StoredRun> storedRuns();

// The journals whose run has no outcome (interrupted, or damaged so that none can be read),
// newest first. Reads only the end of each file.
QStringList interruptedJournals();

// Removes the oldest journals of ended runs beyond the keep newest ones, and plan files of
// writes that never completed. Journals of interrupted runs are always kept. Returns "" or,
// in French, why a journal could not be removed.
QString pruneJournals(int keep = 100);
