#pragma once
// The real user-interface services: Qt message boxes with French buttons, the library's file
// dialog, the application's override cursor, the help window, and the instance lock.

#include "app/ui/UiServices.h"

#include <QStringList>

#include <memory>

class QLockFile;

namespace ui {

class QtUiServices : public UiServices {
 public:
  QtUiServices();
  ~QtUiServices() override;

  Answer messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
  QString getFileName(const FileDialogRequest& request) override;
  Pointer mousePointer() const override;
  void setMousePointer(Pointer pointer) override;
  void doEvents(bool wait) override;
  void sendHelpKey() override;
  void showHelp(int topic) override;
  QString commandLine() const override;
  bool anotherInstanceRuns() override;
  QString programFolder() const override;
  QString programFileName() const override;
  QString programTitle() const override;

 private:
  std::unique_ptr<QLockFile> instanceLock_;
  bool instanceChecked_ = false;
  bool another_ = false;
};

// The command-line text built from the program's arguments: each in double quotes, joined by
// single blanks. Arguments that this text cannot carry (holding a double quote or a line
// break) are left out rather than passed on altered.
QString QuotedCommandLine(const QStringList& arguments);

// The instance lock's file in the program's data folder.
QString InstanceLockFileName();

}  // namespace ui
