#pragma once
// Undo: gives the files of an ended rename run their old names back, as a new journaled run
// (so that an interrupted undo is recovered like any rename). Files changed, moved or renamed
// since, and files whose old name another file has taken meanwhile, keep their names and are
// listed.

#include "app/naming/JournalStore.h"
#include "runtime/FileSystem.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// The runs that can be undone, newest first: rename runs that ended (complete, or stopped by
// an error after some files got their names) and were not undone yet.
std::vector<JournalRun> undoableRuns();

struct UndoResult {
  int restored = 0;                                  // files given their old names back
  QStringList skipped;                               // French, one line per file left alone
  std::vector<std::pair<QString, QString>> moved;    // (path before, path after) of each moved file
  QString journalProblem;                            // French, when the outcome could not be written
};

// Undoes run (one of undoableRuns()). Raises, moving nothing, when the journal cannot be written.
UndoResult undoRun(const JournalRun& run, rt::FileSystem& fs);
