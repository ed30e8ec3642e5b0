#pragma once
// The splitter frmCursor: a borderless vertical bar with the west-east sizing pointer. It does
// not move itself: it passes its mouse moves (position relative to its left edge) and button
// releases to the main window, which moves it and lays the window out.

#include <QFrame>

class SplitterBar : public QFrame {
  Q_OBJECT

 public:
  explicit SplitterBar(QWidget* parent = nullptr);

 signals:
  void mouseMoved(Qt::MouseButtons buttons, int x);
  void mouseReleased();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};
