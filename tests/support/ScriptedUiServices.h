#pragma once
// The scripted test double of the user-interface services: a test queues the answers to
// message boxes and file dialogs, then reads what was shown. Nothing is displayed; pending
// events still run (timers tick, windows lay out). Program facts come from the test.

#include "app/ui/UiServices.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

namespace ui {

class ScriptedUiServices : public UiServices {
 public:
  struct Message {
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString title;
  };

  // Installs itself as the services in use; the previous ones come back on destruction.
  ScriptedUiServices();
  ~ScriptedUiServices() override;
  ScriptedUiServices(const ScriptedUiServices&) = delete;
  ScriptedUiServices& operator=(const ScriptedUiServices&) = delete;

  // Answers, used in order. A box shown with no answer queued gets its safe choice (OK for a
  // box with only OK, otherwise Cancel, or No when there is no Cancel) and counts as
  // unanswered. A file dialog with no result queued is cancelled ("").
  void queueAnswer(Answer answer) { answers_.enqueue(answer); }
  void queueFileName(const QString& result) { fileNames_.enqueue(result); }
  // Called when a box is shown, before it is answered (to look at the windows at that moment).
  std::function<void(const Message&)> onMessage;

  const QList<Message>& messages() const { return messages_; }
  QStringList messageTexts() const;
  int unansweredMessages() const { return unanswered_; }
  const QList<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
  const QList<int>& helpTopics() const { return helpTopics_; }
  int eventRuns() const { return eventRuns_; }
  const QList<Pointer>& pointerHistory() const { return pointerHistory_; }
  void clearRecords();

  // Program facts.
  void setCommandLine(const QString& text) { commandLine_ = text; }
  void setAnotherInstance(bool another) { another_ = another; }

  Answer messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
  QString getFileName(const FileDialogRequest& request) override;
  Pointer mousePointer() const override { return pointer_; }
  void setMousePointer(Pointer pointer) override;
  void doEvents(bool wait) override;
  // Sends a real F1 key press to the widget that has the focus (or the active window): the
  // help request it causes lands in helpTopics().
  void sendHelpKey() override;
  void showHelp(int topic) override { helpTopics_.append(topic); }
  QString commandLine() const override { return commandLine_; }
  bool anotherInstanceRuns() override { return another_; }
  QString programFolder() const override;
  QString programFileName() const override;
  QString programTitle() const override;

 private:
  UiServices* previous_ = nullptr;
  QQueue<Answer> answers_;
  QQueue<QString> fileNames_;
  QList<Message> messages_;
  int unanswered_ = 0;
  QList<FileDialogRequest> fileDialogs_;
  QList<int> helpTopics_;
  int eventRuns_ = 0;
  Pointer pointer_ = Pointer::Default;
  QList<Pointer> pointerHistory_;
  QString commandLine_;
  bool another_ = false;
};

}  // namespace ui
