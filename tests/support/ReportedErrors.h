#pragma once
// Records what the program's error reporter shows while an instance lives (tests that link the
// program's core). The previous presenter comes back on destruction.

#include "app/common/ErrorHandling.h"

#include <QString>
#include <QStringList>

namespace testsupport {

class ReportedErrors {
 public:
  ReportedErrors()
      : previous_(ErrorHandling::SetPresenter(
            [this](const QString&, const QString& message) { messages_.append(message); })) {}
  ~ReportedErrors() { ErrorHandling::SetPresenter(previous_); }
  ReportedErrors(const ReportedErrors&) = delete;
  ReportedErrors& operator=(const ReportedErrors&) = delete;

  const QStringList& messages() const { return messages_; }

 private:
  QStringList messages_;
  ErrorHandling::Presenter previous_;
};

}  // namespace testsupport
