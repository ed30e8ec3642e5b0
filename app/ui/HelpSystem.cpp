#include "app/ui/HelpSystem.h"

#include "app/ui/UiServices.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace help {
namespace {

const char* const kTopicProperty = "HelpContextID";

QString& helpFile() {
  static QString file;
  return file;
}

class F1Filter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    ui::Ui().showHelp(TopicOf(widget));
    return true;
  }
};

// The help window: a browser over the help folder, links between pages work.
class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("wHelp"));
    setWindowTitle(QStringLiteral("Aide de Tindra"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 520);
  }

  void showTopic(int topic) {
    const QString page = PagePath(topic);
    if (QFileInfo(page).isFile()) {
      browser_->setSearchPaths({HelpFile()});
      browser_->setSource(QUrl::fromLocalFile(page));
    } else {
      browser_->setHtml(QStringLiteral("<h2>Aide indisponible</h2><p>La page d'aide de ce sujet (%1) "
                                       "est introuvable dans le dossier d'aide&nbsp;:<br>%2</p>")
                            .arg(topic)
                            .arg(HelpFile().toHtmlEscaped()));
    }
  }

 private:
  QTextBrowser* browser_ = nullptr;
};

QPointer<HelpWindow>& helpWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

void SetTopic(QWidget* widget, int topic) {
  if (widget) widget->setProperty(kTopicProperty, topic);
}

int TopicOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const int topic = w->property(kTopicProperty).toInt();
    if (topic > 0) return topic;
  }
  return kContents;
}

int ActiveTopic() {
  if (QWidget* focus = QApplication::focusWidget()) return TopicOf(focus);
  if (QWidget* modal = QApplication::activeModalWidget()) return TopicOf(modal);
  return TopicOf(QApplication::activeWindow());
}

void SetHelpFile(const QString& path) { helpFile() = path; }
QString HelpFile() { return helpFile(); }

QString PagePath(int topic) {
  const QString name = topic > 0 ? QString::number(topic) + QStringLiteral(".html") : QStringLiteral("index.html");
  return HelpFile() + QStringLiteral("/") + name;
}

void InstallF1Handler() {
  static F1Filter* filter = nullptr;
  if (filter || !qApp) return;
  filter = new F1Filter(qApp);
  qApp->installEventFilter(filter);
}

void ShowHelpWindow(int topic) {
  // Above a modal dialog only its own child windows take input: the help window then
  // belongs to that dialog.
  QWidget* owner = QApplication::activeModalWidget();
  QPointer<HelpWindow>& window = helpWindow();
  if (window && window->parentWidget() != owner) {
    window->deleteLater();
    window = nullptr;
  }
  if (!window) {
    window = new HelpWindow(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->showTopic(topic);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace help
