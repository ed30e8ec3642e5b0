// Tindra: renames photo files after the date each picture was taken.
#include "app/mainwindow/Program.h"
#include "runtime/ProgramArguments.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  // Answered before any window system is needed.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("tindra " TINDRA_VERSION);
    return 0;
  }
  QApplication app(argc, argv);
  rt::keepProgramArguments(argc, argv);  // what Qt left of them, decoded without loss
  return RunProgram();
}
