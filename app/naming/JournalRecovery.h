#pragma once
// Puts the files of a journaled run under the names chosen for them: their old names (giving
// back the names of an interrupted run) or their final names (finishing it, or carrying out an
// undo). Every file is found by its identity in its folder, whatever name it has now, and its
// identity is checked again just before it moves; a file that vanished or changed since is
// left alone and reported. Files holding another file's name step aside to a temporary name
// first; nothing is ever replaced. Running it again after an interruption goes on from where
// the files are.

#include "app/naming/RenameJournal.h"
#include "runtime/FileSystem.h"

#include <QString>
#include <QStringList>

#include <vector>

enum class RecoveryGoal { OldNames, FinalNames };

struct RecoveryReport {
  int moved = 0;                 // files that were given the name sought
  int alreadyThere = 0;          // files already under it
  QStringList problems;          // French, one line per file left alone
  QStringList left;              // paths of files left under a name that is not old nor final
  std::vector<QString> whereNow;  // per file of the run: its path now, "" when not found
};

RecoveryReport moveToGoal(const JournalRun& run, RecoveryGoal goal, rt::FileSystem& fs);

// Recovers the interrupted run of the journal at path and records the outcome in it. Raises
// (French description) when the journal is damaged: nothing moves then.
RecoveryReport recoverJournal(const QString& path, RecoveryGoal goal, rt::FileSystem& fs);
