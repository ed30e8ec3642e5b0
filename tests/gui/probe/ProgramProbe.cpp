// The program as a real process with a scripted user, for the tests that start it: every
// message box is read (its text appended to probe-messages.txt) and answered with its default
// button, as a user pressing Enter would; when probe-request appears, the window writes
// probe-state.txt ("visible=<0|1>", then the key of every row) and the program closes. All
// these files live in the program's data folder (beside the program copy).
#include "app/common/ProgramInfo.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/Program.h"
#include "app/mainwindow/wMain.h"
#include "runtime/ProgramArguments.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

QString dataFile(const char* name) { return ProgramInfo::DataFolder() + QLatin1Char('/') + QLatin1String(name); }

void answerMessageBoxes() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box || !box->isVisible()) continue;
    QFile log(dataFile("probe-messages.txt"));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
      log.write(box->text().replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8() + "\n");
    }
    QAbstractButton* button = box->defaultButton();
    if (!button && !box->buttons().isEmpty()) button = box->buttons().first();
    if (button) button->click();
  }
}

void writeStateAndClose(wMain& window) {
  if (!QFile::remove(dataFile("probe-request"))) return;
  QByteArray state = "visible=" + QByteArray(window.isVisible() ? "1" : "0") + "\n";
  for (size_t item : window.lvwFiles->allRows()) state += window.lvwFiles->key(item).toUtf8() + "\n";
  QFile file(dataFile("probe-state.tmp"));
  if (file.open(QIODevice::WriteOnly) && file.write(state) == state.size()) {
    file.close();
    QFile::rename(dataFile("probe-state.tmp"), dataFile("probe-state.txt"));
  }
  window.close();
  QCoreApplication::quit();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rt::keepProgramArguments(argc, argv);
  return RunProgram([](wMain& window) {
    auto* user = new QTimer(&window);
    user->setInterval(100);
    QObject::connect(user, &QTimer::timeout, &window, [&window] {
      answerMessageBoxes();
      if (QFile::exists(dataFile("probe-request"))) writeStateAndClose(window);
    });
    user->start();
  });
}
