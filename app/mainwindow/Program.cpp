#include "app/mainwindow/Program.h"

#include "app/mainwindow/DialogCommands.h"
#include "app/mainwindow/JournalCommands.h"
#include "app/mainwindow/wMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int RunProgram(const std::function<void(wMain&)>& watch) {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  // The standard texts of Qt's own dialogs in French, when the translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  wMain window;
  RegisterDialogCommands(window);
  if (watch) watch(window);
  if (!window.Form_Load()) return window.exitCode();
  OfferRecovery(window);
  return QApplication::exec();
}
