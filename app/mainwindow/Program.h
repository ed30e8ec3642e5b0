#pragma once
// The program's run, shared by the program and the test programs that start it as a real
// process: French texts, the main window with its commands, the start-up and the event loop.

#include <functional>

class wMain;

// Runs the program in the application already created; its exit status. watch, when given,
// receives the main window before its start-up.
int RunProgram(const std::function<void(wMain&)>& watch = {});
