#include "app/common/ErrorHandling.h"

#include "runtime/RuntimeError.h"

#include <cstdio>
#include <new>
#include <utility>

namespace ErrorHandling {
namespace {

void printToStderr(const QString& title, const QString& message) {
  const QByteArray text = (title + QStringLiteral("\n") + message + QStringLiteral("\n")).toLocal8Bit();
  std::fputs(text.constData(), stderr);
  std::fflush(stderr);
}

Presenter& currentPresenter() {
  static Presenter presenter;
  return presenter;
}

// The reports kept on this thread (HeldReports), nullptr when they are presented.
QStringList*& heldOnThisThread() {
  thread_local QStringList* held = nullptr;
  return held;
}

void present(const QString& message) {
  if (QStringList* held = heldOnThisThread()) {
    held->append(message);
    return;
  }
  const Presenter& presenter = currentPresenter();
  if (presenter) {
    presenter(ProgramTitle(), message);
  } else {
    printToStderr(ProgramTitle(), message);
  }
}

}  // namespace

QString ProgramTitle() { return QStringLiteral("Tindra"); }

Presenter SetPresenter(Presenter presenter) {
  return std::exchange(currentPresenter(), std::move(presenter));
}

QString BuildErrorMessage(const QString& where, int32_t number, const QString& description) {
  QString message = QStringLiteral("Error Nr %1 : %2\n\nModule : ").arg(number).arg(description);
  const qsizetype dot = where.indexOf(QLatin1Char('.'));
  if (dot < 0) return message + where;
  const qsizetype underscore = where.indexOf(QLatin1Char('_'), dot + 1);
  message += where.left(dot);
  if (underscore < 0) return message + QStringLiteral("\nFunction : ") + where.mid(dot + 1);
  return message + QStringLiteral("\nObject : ") + where.mid(dot + 1, underscore - dot - 1) +
         QStringLiteral("\nEvent : ") + where.mid(underscore + 1);
}

void ShowError(const QString& where, int32_t number, const QString& description) {
  present(BuildErrorMessage(where, number,
                            description.isEmpty() ? rt::errorDescription(number) : description));
}

void ShowError(const QString& where, const rt::RuntimeError& error) {
  ShowError(where, error.number(), error.description());
}

void ShowCurrentException(const QString& where) {
  try {
    throw;
  } catch (const rt::RuntimeError& e) {
    ShowError(where, e);
  } catch (const std::bad_alloc&) {
    ShowError(where, rt::ErrOutOfMemory);
  } catch (...) {
    ShowError(where, rt::ErrInvalidArgument);
  }
}

HeldReports::HeldReports() : outer_(std::exchange(heldOnThisThread(), &messages_)) {}

HeldReports::~HeldReports() { heldOnThisThread() = outer_; }

QStringList HeldReports::take() { return std::exchange(messages_, QStringList()); }

void Present(const QStringList& messages) {
  for (const QString& message : messages) present(message);
}

bool Guarded(const QString& where, const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (...) {
    ShowCurrentException(where);
    return false;
  }
}

}  // namespace ErrorHandling
