#include "app/mainwindow/SplitterBar.h"

#include <QMouseEvent>

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("frmCursor"));
  setFrameStyle(QFrame::NoFrame);
  setCursor(Qt::SplitHCursor);
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMoved(event->buttons(), static_cast<int>(event->position().x()));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* /*event*/) { emit mouseReleased(); }
