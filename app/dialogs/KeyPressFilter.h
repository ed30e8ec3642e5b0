#pragma once
// Key presses of a text box: every character typed into the box goes through a handler that
// returns the character to insert (the same, another one) or 0 to discard it, before the box
// sees it. Keys without a character (arrows, Delete, function keys), Enter, Escape, Tab and
// shortcuts held with Ctrl or Meta are not key presses and reach the box untouched; text that
// reaches the box otherwise (pasted, set by code) is not filtered.

#include <QObject>

#include <cstdint>
#include <functional>

class QLineEdit;

class KeyPressFilter : public QObject {
 public:
  using Handler = std::function<uint16_t(uint16_t keyAscii)>;

  // Routes the box's key presses through handler; the filter lives as long as the box.
  static void Install(QLineEdit* box, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  KeyPressFilter(QLineEdit* box, Handler handler);

  QLineEdit* box_;
  Handler handler_;
};
