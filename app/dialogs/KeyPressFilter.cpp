#include "app/dialogs/KeyPressFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool isKeyPress(const QKeyEvent& key) {
  if (key.text().isEmpty()) return false;
  if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      return true;
  }
}

}  // namespace

KeyPressFilter::KeyPressFilter(QLineEdit* box, Handler handler)
    : QObject(box), box_(box), handler_(std::move(handler)) {}

void KeyPressFilter::Install(QLineEdit* box, Handler handler) {
  box->installEventFilter(new KeyPressFilter(box, std::move(handler)));
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != box_ || event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!isKeyPress(*key)) return false;
  const QString typed = key->text();
  QString kept;
  for (const QChar c : typed) {
    const uint16_t result = handler_(c.unicode());
    if (result != 0) kept.append(QChar(result));
  }
  if (kept == typed) return false;  // the box handles the key as usual
  // Backspace replaced by, or characters replaced with, others: insert what the handler kept.
  for (const QChar c : kept) {
    if (c.unicode() == 8)
      box_->backspace();
    else
      box_->insert(QString(c));
  }
  return true;
}
