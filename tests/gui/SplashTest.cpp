// The splash and about window: its size, version, and the ways it closes.
#include "tests/gui/WindowFixture.h"

#include <QLabel>
#include <QPushButton>

TEST_F(WindowFixture, SplashShowsTheVersionInAFixedClientArea) {
  wSplash splash;
  EXPECT_EQ(splash.lblVersion->text(), "1.0");
  EXPECT_EQ(splash.lblVersion->geometry(), QRect(83, 227, 52, 15));
  EXPECT_EQ(splash.cmdClose->text(), "Fermer");
  EXPECT_EQ(splash.cmdClose->geometry(), QRect(428, 8, 72, 22));
  EXPECT_EQ(splash.tmrClose->interval(), 5000);
  EXPECT_FALSE(splash.tmrClose->isActive());
  splash.show();
  splash.resize(700, 100);
  QCoreApplication::processEvents();
  EXPECT_EQ(splash.size(), QSize(508, 325));
}

// As the about box the timer stays off: only Fermer, a click or Escape close it.
TEST_F(WindowFixture, AboutBoxClosesOnEscapeButStartUpSplashDoesNot) {
  {
    wSplash about;
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
  }
  {
    wSplash startUp;
    startUp.show();
    startUp.tmrClose->start();
    QTest::keyClick(&startUp, Qt::Key_Escape);
    EXPECT_TRUE(startUp.isVisible());
    QTest::mouseClick(&startUp, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_FALSE(startUp.isVisible());
    EXPECT_FALSE(startUp.tmrClose->isActive());
  }
  {
    wSplash timed;
    timed.show();
    timed.tmrClose->start();
    timed.tmrClose_Timer();
    EXPECT_FALSE(timed.isVisible());
    EXPECT_FALSE(timed.tmrClose->isActive());
  }
}

TEST_F(WindowFixture, AboutMenuShowsTheSplashModallyUntilClosed) {
  wMain& w = shownWindow();
  bool seen = false;
  QTimer::singleShot(50, [&] {
    auto* about = qobject_cast<wSplash*>(QApplication::activeModalWidget());
    if (!about) return;
    seen = about->isModal() && about->parentWidget() == &w && !about->tmrClose->isActive();
    about->cmdClose->click();
  });
  w.mnuHelpAbout_Click();
  EXPECT_TRUE(seen);
}
