#pragma once
// The program's error reporter. A routine with its own error handler catches rt::RuntimeError
// (and any other exception) at its boundary and calls ShowError with "Module.Routine"; the
// routine then returns its empty result. The reporter builds the message text and hands it to
// the current presenter: the main window shows a message box (critical icon, OK, titled with
// the program's title), the command-line tool prints on standard error, tests record it.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <exception>
#include <functional>

namespace rt {
class RuntimeError;
}

namespace ErrorHandling {

// The program's title, used as the message box title.
QString ProgramTitle();

// Receives the finished message; title is the program's title.
using Presenter = std::function<void(const QString& title, const QString& message)>;

// Replaces the presenter (an empty function restores the default, which writes to stderr).
// Returns the previous one so a caller can put it back.
Presenter SetPresenter(Presenter presenter);

// "Error Nr <number> : <description>\n\nModule : ..." split at the first "." and the first "_"
// after it (Module / Function / Object + Event), exactly as the program has always shown it.
QString BuildErrorMessage(const QString& where, int32_t number, const QString& description);

// Reports a failure: description empty means the runtime's own text for that number.
void ShowError(const QString& where, int32_t number, const QString& description = QString());
void ShowError(const QString& where, const rt::RuntimeError& error);
// Reports whatever exception is in flight (call from a catch block): a RuntimeError with its
// number, std::bad_alloc as 7, anything else as 5.
void ShowCurrentException(const QString& where);

// While one lives, the reports made on its thread are kept, in order, instead of presented: a
// reading done on a worker thread hands them over to the thread that presents them (Present).
class HeldReports {
 public:
  HeldReports();
  ~HeldReports();
  HeldReports(const HeldReports&) = delete;
  HeldReports& operator=(const HeldReports&) = delete;
  // The messages kept so far, which are then no longer kept.
  QStringList take();

 private:
  QStringList messages_;
  QStringList* outer_;
};

// Presents finished messages (as kept by HeldReports), in order.
void Present(const QStringList& messages);

// Runs body under an error handler: on an exception it reports it as `where` and returns false.
bool Guarded(const QString& where, const std::function<void()>& body);

}  // namespace ErrorHandling
