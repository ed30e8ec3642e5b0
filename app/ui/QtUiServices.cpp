#include "app/ui/QtUiServices.h"

#include "app/common/ErrorHandling.h"
#include "app/common/Orvofonctions2.h"
#include "app/common/ProgramInfo.h"
#include "app/ui/HelpSystem.h"
#include "runtime/ProgramArguments.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QVariant>

namespace ui {
namespace {

QMessageBox::Icon toQtIcon(Icon icon) {
  switch (icon) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

struct ButtonChoice {
  QMessageBox::StandardButton button;
  const char* caption;
  Answer answer;
};

QList<ButtonChoice> buttonsOf(Buttons buttons) {
  const ButtonChoice ok{QMessageBox::Ok, "OK", Answer::Ok};
  const ButtonChoice cancel{QMessageBox::Cancel, "Annuler", Answer::Cancel};
  const ButtonChoice yes{QMessageBox::Yes, "&Oui", Answer::Yes};
  const ButtonChoice no{QMessageBox::No, "&Non", Answer::No};
  switch (buttons) {
    case Buttons::Ok: return {ok};
    case Buttons::OkCancel: return {ok, cancel};
    case Buttons::YesNoCancel: return {yes, no, cancel};
    case Buttons::YesNo: return {yes, no};
  }
  return {ok};
}

QWidget* dialogOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

}  // namespace

QtUiServices::QtUiServices() = default;
QtUiServices::~QtUiServices() = default;

Answer QtUiServices::messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
  QMessageBox box(dialogOwner());
  box.setWindowTitle(title.isEmpty() ? programTitle() : title);
  box.setText(text);
  box.setIcon(toQtIcon(icon));
  QHash<QAbstractButton*, Answer> answers;
  for (const ButtonChoice& choice : buttonsOf(buttons)) {
    QPushButton* button = box.addButton(choice.button);
    button->setText(QString::fromUtf8(choice.caption));
    answers.insert(button, choice.answer);
  }
  box.exec();
  return answers.value(box.clickedButton(), ClosedBoxAnswer(buttons));
}

QString QtUiServices::getFileName(const FileDialogRequest& request) {
  QVariant filterIndex(request.filterIndex);
  const WId owner = request.owner ? request.owner->winId() : WId(0);
  return Orvofonctions2::GetFileName(owner, request.filter, request.save, request.multi, request.fileName,
                                     request.initDir, request.title, filterIndex);
}

Pointer QtUiServices::mousePointer() const {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor && cursor->shape() == Qt::WaitCursor ? Pointer::Busy : Pointer::Default;
}

void QtUiServices::setMousePointer(Pointer pointer) {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  if (pointer == Pointer::Busy) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiServices::doEvents(bool wait) {
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void QtUiServices::sendHelpKey() {
  QWidget* target = QApplication::focusWidget();
  if (!target) target = dialogOwner();
  if (!target) {
    showHelp(help::kContents);
    return;
  }
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
}

void QtUiServices::showHelp(int topic) { help::ShowHelpWindow(topic); }

QString QtUiServices::commandLine() const {
  return QuotedCommandLine(rt::programArguments().mid(1));
}

bool QtUiServices::anotherInstanceRuns() {
  if (instanceChecked_ && !another_) return false;
  instanceChecked_ = true;
  auto lock = std::make_unique<QLockFile>(InstanceLockFileName());
  // The lock lives as long as the instance: only a dead owner makes it stale, never its age.
  lock->setStaleLockTime(0);
  another_ = !lock->tryLock(0) && lock->error() == QLockFile::LockFailedError;
  if (!another_) instanceLock_ = std::move(lock);
  return another_;
}

QString QtUiServices::programFolder() const { return ProgramInfo::ProgramFolder(); }
QString QtUiServices::programFileName() const { return ProgramInfo::ProgramFileName(); }
QString QtUiServices::programTitle() const { return ErrorHandling::ProgramTitle(); }

QString QuotedCommandLine(const QStringList& arguments) {
  QStringList quoted;
  for (const QString& argument : arguments) {
    if (argument.isEmpty() || argument.contains(QLatin1Char('"')) || argument.contains(QLatin1Char('\n')) ||
        argument.contains(QLatin1Char('\r'))) {
      continue;
    }
    quoted.append(QLatin1Char('"') + argument + QLatin1Char('"'));
  }
  return quoted.join(QLatin1Char(' '));
}

QString InstanceLockFileName() {
  return ProgramInfo::DataFolder() + QStringLiteral("/") + ProgramInfo::ProgramFileName() +
         QStringLiteral(".instance.lock");
}

}  // namespace ui
