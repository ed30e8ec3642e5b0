#pragma once
// The window side of a rename: the date of a picture without one is asked with the date-input
// dialog, and a run that lasts shows its progress in a small modal window (which also keeps the
// user's hands off the list while pending events run).

#include "app/naming/RenameQuestions.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

class RenameDialogs : public RenameQuestions {
 public:
  // owner: the window the dialogs belong to. The progress window shows once showAfterMs have
  // passed; while it shows, pending events run at most every eventsIntervalMs.
  RenameDialogs(QWidget* owner, int showAfterMs, int eventsIntervalMs);
  ~RenameDialogs() override;
  RenameDialogs(const RenameDialogs&) = delete;
  RenameDialogs& operator=(const RenameDialogs&) = delete;

  // Shows wInputDate filled with initKey and oldName (with the normal pointer); its GDH.
  QString askDate(const QString& initKey, const QString& oldName) override;
  void progress(RenamePhase phase, int done, int total) override;

 private:
  void createWindow();

  QWidget* owner_;
  int showAfterMs_;
  int eventsIntervalMs_;
  QElapsedTimer started_;
  QElapsedTimer sinceEvents_;
  std::unique_ptr<QDialog> window_;
  QLabel* label_ = nullptr;
  QProgressBar* bar_ = nullptr;
};
