#pragma once
// Drives a modal dialog from a test: before the call that opens it, whenShown() arms a timer
// that waits for the first visible top-level widget of type Dialog (and object name, when
// given), then runs the action on it. A dialog the action leaves open is rejected, so a
// failing check never leaves the test waiting.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace testsupport {

template <class Dialog>
void whenShown(std::function<void(Dialog*)> action, const QString& objectName = QString()) {
  auto* timer = new QTimer;
  auto deadline = std::make_shared<QDeadlineTimer>(10000);
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, deadline, action, objectName] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<Dialog*>(widget);
      if (!dialog || !dialog->isVisible()) continue;
      if (!objectName.isEmpty() && dialog->objectName() != objectName) continue;
      timer->stop();
      timer->deleteLater();
      QPointer<Dialog> guard(dialog);
      action(dialog);
      if (guard && guard->isVisible()) guard->reject();
      return;
    }
    if (deadline->hasExpired()) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

}  // namespace testsupport
