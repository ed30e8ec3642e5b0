#pragma once
// Whether the standard streams of the process are attached to a terminal, so a command-line
// tool knows when it may ask the user a question or draw a progress line.

namespace rt {

bool standardInputIsTerminal();
bool standardErrorIsTerminal();

}  // namespace rt
