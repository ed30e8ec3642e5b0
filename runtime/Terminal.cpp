#include "runtime/Terminal.h"

#include <unistd.h>

namespace rt {

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace rt
