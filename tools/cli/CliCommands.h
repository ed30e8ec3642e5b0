#pragma once
// The commands of tindra-cli. Each returns the process exit status: 0 when every file was
// handled, 1 when a file could not be (the others go on), 2 when the settings given cannot be
// used (nothing is done then). The caller has checked that the library can be used (else
// the process ends with status 3 before any command runs).

#include "tools/cli/CliOptions.h"

namespace cli {

int runInfo(const Options& options);
int runNames(const Options& options);
// plan (simulate: on a simulated copy of the folders) and rename (on disk).
int runRename(const Options& options, bool simulate);

}  // namespace cli
