#include "app/mainwindow/RenameDialogs.h"

#include "app/dialogs/wInputDate.h"
#include "app/ui/UiServices.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

using ui::Ui;

namespace {

// A progress window the user cannot close: the operation cannot stop half-way.
class ProgressWindow : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

QString phaseText(RenamePhase phase) {
  switch (phase) {
    case RenamePhase::Reading:
      return QStringLiteral("Lecture des dates des images...");
    case RenamePhase::TemporaryNames:
      return QStringLiteral("Attribution des noms provisoires...");
    case RenamePhase::FinalNames:
      return QStringLiteral("Attribution des nouveaux noms...");
  }
  return QString();
}

}  // namespace

RenameDialogs::RenameDialogs(QWidget* owner, int showAfterMs, int eventsIntervalMs)
    : owner_(owner), showAfterMs_(showAfterMs), eventsIntervalMs_(eventsIntervalMs) {
  started_.start();
  sinceEvents_.start();
}

// The progress window is hidden before it goes, so that its closing is seen as a dialog's.
RenameDialogs::~RenameDialogs() {
  if (window_) window_->hide();
}

QString RenameDialogs::askDate(const QString& initKey, const QString& oldName) {
  const bool showing = window_ && window_->isVisible();
  if (showing) window_->hide();
  const ui::Pointer pointer = Ui().mousePointer();
  Ui().setMousePointer(ui::Pointer::Default);
  QString key;
  {
    wInputDate dialog(owner_);
    dialog.InitGDH(initKey);
    dialog.txtOldName->setText(oldName);
    dialog.exec();
    key = dialog.GDH();
  }
  Ui().setMousePointer(pointer);
  if (showing) window_->show();
  return key;
}

void RenameDialogs::createWindow() {
  window_ = std::make_unique<ProgressWindow>(owner_);
  window_->setObjectName(QStringLiteral("wRenameProgress"));
  window_->setWindowTitle(Ui().programTitle());
  window_->setWindowFlag(Qt::WindowCloseButtonHint, false);
  window_->setWindowModality(Qt::ApplicationModal);
  label_ = new QLabel(window_.get());
  label_->setObjectName(QStringLiteral("lblPhase"));
  bar_ = new QProgressBar(window_.get());
  bar_->setObjectName(QStringLiteral("barProgress"));
  bar_->setMinimumWidth(320);
  auto* layout = new QVBoxLayout(window_.get());
  layout->addWidget(label_);
  layout->addWidget(bar_);
  window_->show();
}

void RenameDialogs::progress(RenamePhase phase, int done, int total) {
  if (!window_ && total > 0 && started_.elapsed() >= showAfterMs_) createWindow();
  if (!window_) return;
  label_->setText(phaseText(phase));
  bar_->setRange(0, total);
  bar_->setValue(done);
  // Events run only under the modal window, so nothing can change the list meanwhile.
  if (window_->isVisible() && sinceEvents_.elapsed() >= eventsIntervalMs_) {
    Ui().doEvents();
    sinceEvents_.restart();
  }
}
