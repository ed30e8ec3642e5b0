#include "tests/support/ScriptedUiServices.h"

#include "app/common/ErrorHandling.h"
#include "app/common/ProgramInfo.h"
#include "app/ui/HelpSystem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

ScriptedUiServices::ScriptedUiServices() : previous_(SetUi(this)) {}

ScriptedUiServices::~ScriptedUiServices() { SetUi(previous_); }

QStringList ScriptedUiServices::messageTexts() const {
  QStringList texts;
  for (const Message& message : messages_) texts.append(message.text);
  return texts;
}

void ScriptedUiServices::clearRecords() {
  messages_.clear();
  unanswered_ = 0;
  fileDialogs_.clear();
  helpTopics_.clear();
  eventRuns_ = 0;
  pointerHistory_.clear();
}

Answer ScriptedUiServices::messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
  const Message message{text, buttons, icon, title.isEmpty() ? programTitle() : title};
  messages_.append(message);
  if (onMessage) onMessage(message);
  if (answers_.isEmpty()) {
    ++unanswered_;
    return ClosedBoxAnswer(buttons);
  }
  return answers_.dequeue();
}

QString ScriptedUiServices::getFileName(const FileDialogRequest& request) {
  fileDialogs_.append(request);
  return fileNames_.isEmpty() ? QString() : fileNames_.dequeue();
}

void ScriptedUiServices::setMousePointer(Pointer pointer) {
  pointer_ = pointer;
  pointerHistory_.append(pointer);
}

void ScriptedUiServices::doEvents(bool wait) {
  ++eventRuns_;
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void ScriptedUiServices::sendHelpKey() {
  QWidget* target = QApplication::focusWidget();
  if (!target) target = QApplication::activeModalWidget();
  if (!target) target = QApplication::activeWindow();
  if (!target) {
    showHelp(help::kContents);
    return;
  }
  help::InstallF1Handler();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
}

QString ScriptedUiServices::programFolder() const { return ProgramInfo::ProgramFolder(); }
QString ScriptedUiServices::programFileName() const { return ProgramInfo::ProgramFileName(); }
QString ScriptedUiServices::programTitle() const { return ErrorHandling::ProgramTitle(); }

}  // namespace ui
