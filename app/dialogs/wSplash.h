#pragma once
// The splash and about window: a 508 x 325 picture with the program's name and version, and a
// close button. At start-up the main window switches tmrClose on and waits until it is off
// again (the window closed by the timer after 5 seconds or by a click); as the about box the
// timer stays off and the window stays until "Fermer", a click or Escape.

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

class wSplash : public QDialog {
  Q_OBJECT

 public:
  explicit wSplash(QWidget* owner = nullptr);

  QLabel* lblVersion = nullptr;
  QPushButton* cmdClose = nullptr;
  QTimer* tmrClose = nullptr;

  // "major.minor" of the program's version.
  static QString VersionText();

 public slots:
  void Form_Load();
  void Form_Resize();
  void Form_Click();
  void Form_KeyDown(int keyCode);
  void cmdClose_Click();
  void tmrClose_Timer();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void closeAndUnload();
};
