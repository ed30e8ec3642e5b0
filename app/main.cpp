// Tindra: renames photo files after the date each picture was taken.
#include "app/mainwindow/Program.h"
#include "runtime/ProgramArguments.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::keepProgramArguments(argc, argv);  // what Qt left of them, decoded without loss
  return RunProgram();
}
