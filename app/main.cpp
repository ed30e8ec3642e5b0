// Tindra: renames photo files after the date each picture was taken.
#include "app/mainwindow/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return RunProgram();
}
