// Tindra: renames photo files after the date each picture was taken.
#include "app/mainwindow/DialogCommands.h"
#include "app/mainwindow/JournalCommands.h"
#include "app/mainwindow/wMain.h"
#include "runtime/ProgramArguments.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::keepProgramArguments(argc, argv);  // what Qt left of them, decoded without loss
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  // The standard texts of Qt's own dialogs in French, when the translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  wMain window;
  RegisterDialogCommands(window);
  if (!window.Form_Load()) return 0;
  OfferRecovery(window);
  return QApplication::exec();
}
