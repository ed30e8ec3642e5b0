#pragma once
// Starting another program from a command line and waiting for it to end.

#include <QString>

namespace orvo {

// Starts the program named by the first element of commandLine (double quotes group an
// element holding blanks; the other elements are its arguments) in workingDir (the caller's
// folder when empty), with the caller's environment, and waits without time limit for it to
// end. hidden: the program gets no terminal streams (its input, output and errors go to the
// null device); otherwise it shares the caller's. Returns true when the program started and
// its end was seen, false when it could not be started (empty command, program not found,
// working folder missing...). The child keeps nothing of the caller open but its standard
// streams.
bool launchAndWait(const QString& commandLine, const QString& workingDir, bool hidden);

}  // namespace orvo
