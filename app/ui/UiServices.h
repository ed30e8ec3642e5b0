#pragma once
// The user-interface services the windows rest on: message boxes, file dialogs, the mouse
// pointer, letting pending events run, the F1 key, help display and the program's facts.
// Every window reaches them through Ui(), so a test can install the scripted double
// (ScriptedUiServices) and answer message boxes and dialogs without a person.

#include <QString>

class QWidget;

namespace ui {

enum class Icon { None, Critical, Exclamation, Question, Information };
enum class Buttons { Ok, OkCancel, YesNoCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };
enum class Pointer { Default, Busy };

// What a file dialog is asked for; the fields follow the library's GetFileName.
struct FileDialogRequest {
  QWidget* owner = nullptr;
  QString filter;  // "description|pattern|description|pattern"
  bool save = false;
  bool multi = false;
  QString fileName;
  QString initDir;
  QString title;  // empty: the dialog's default title
  int filterIndex = 0;
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Shows a modal message box titled `title` (the program's title when empty) and returns the
  // button pressed. Closing the box without a button counts as Cancel (or Ok/No where the box
  // has no Cancel button).
  virtual Answer messageBox(const QString& text, Buttons buttons, Icon icon,
                            const QString& title = QString()) = 0;

  // Shows the file dialog; returns "" when cancelled. In multiple-selection mode several
  // files come back as the folder, a NUL, then the names separated by NULs; one file comes
  // back as its full path.
  virtual QString getFileName(const FileDialogRequest& request) = 0;

  // The mouse pointer shown over every window of the program; it can be read and set back.
  virtual Pointer mousePointer() const = 0;
  virtual void setMousePointer(Pointer pointer) = 0;

  // Lets queued window events run before returning. With wait true, blocks until at least
  // one event arrived (use it in loops that wait for a window or a timer).
  virtual void doEvents(bool wait = false) = 0;

  // Sends the F1 key to the program: help opens at the active window's topic.
  virtual void sendHelpKey() = 0;
  // Shows the help window at a topic (0: the contents page).
  virtual void showHelp(int topic) = 0;

  // Program facts.
  // The command line as one text: each argument in double quotes, separated by single blanks;
  // "" when the program was started without arguments.
  virtual QString commandLine() const = 0;
  // True when another instance of the program holds the instance lock. The first call tries
  // to take the lock; an instance that got it keeps it until it ends.
  virtual bool anotherInstanceRuns() = 0;
  virtual QString programFolder() const = 0;
  virtual QString programFileName() const = 0;  // without extension
  virtual QString programTitle() const = 0;
};

// The answer of a message box closed without a button: Cancel, or Ok/No where the box has no
// Cancel button.
Answer ClosedBoxAnswer(Buttons buttons);

// The services in use: the real ones unless a test installed others.
UiServices& Ui();

// Installs services (nullptr: back to the real ones); returns the previous installed ones
// (nullptr when the real ones were in use). The caller keeps ownership.
UiServices* SetUi(UiServices* services);

}  // namespace ui
