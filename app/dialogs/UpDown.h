#pragma once
// An up-down control: two small arrow buttons that step a whole value between a minimum and a
// maximum. It has no text of its own; the window shows the value in a companion label.

#include <QWidget>

class QToolButton;

class UpDown : public QWidget {
  Q_OBJECT

 public:
  explicit UpDown(QWidget* parent = nullptr);

  int value() const { return value_; }
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }

  // Sets the range (min <= max; a value outside it is brought inside).
  void setRange(int minimum, int maximum);
  // Sets the value, brought into the range; emits changed() before returning when it differs.
  void setValue(int value);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  void changed(int value);

 private:
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
  int value_ = 0;
  int minimum_ = 0;
  int maximum_ = 10;
};
