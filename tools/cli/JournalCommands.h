#pragma once
// The commands of tindra-cli around the journal of the rename runs: history, undo [N],
// recover --restore|--finish, and the note on standard error about an interrupted run.

#include "tools/cli/CliOptions.h"

namespace cli {

bool isJournalCommand(Command command);
// Reads the arguments after history, undo or recover; false with a French *error otherwise.
bool readJournalArguments(const QStringList& args, Options& options, QString* error);

int runHistory();
int runUndo(const Options& options);
int runRecover(const Options& options);

// Says on standard error when a run was interrupted and how to recover it.
void noteInterruptedRuns();

}  // namespace cli
