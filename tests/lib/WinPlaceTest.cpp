// WinPlace, created by class identifier, on real (offscreen) windows and private files.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/IniFile.h"
#include "runtime/RuntimeError.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

using libtest::callSlot;
using libtest::kFirstMemberSlot;
using rt::com::ComPtr;

namespace {

const QRect kNormal(100, 120, 300, 200);

void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

std::unique_ptr<QWidget> makeForm(const QString& name, const QRect& geometry, bool shown) {
  auto form = std::make_unique<QWidget>();
  form->setObjectName(name);
  form->setGeometry(geometry);
  if (shown) {
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  return form;
}

class WinPlaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(rt::com::createInstance(CLSID_WinPlace, place_), S_OK);
    file_ = testsupport::makeTempDir(QStringLiteral("place")) + QStringLiteral("/app.ini");
  }

  QString stored(const QString& section, const QString& key) {
    return rt::ini::getString(section, key, QStringLiteral("<absent>"), 1024, file_);
  }

  int32_t raisedNumber(HRESULT status, IUnknown* from = nullptr) {
    try {
      rt::com::raiseOnFailure(status, from ? from : place_.get());
    } catch (const rt::RuntimeError& e) {
      return e.number();
    }
    return 0;
  }

  ComPtr<_WinPlace> place_;
  QString file_;
};

}  // namespace

TEST_F(WinPlaceTest, ProgramMembersSitAtTheirBindingPlaces) {
  using V = const QVariant&;
  auto form = makeForm(QStringLiteral("wMain"), kNormal, true);
  ASSERT_EQ((callSlot<QWidget*, V>(place_.get(), kFirstMemberSlot + 1, form.get(), QVariant(file_))), S_OK);
  EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("NormG")), QStringLiteral("100"));  // SaveWindow

  form->setGeometry(10, 10, 50, 50);
  settle();
  ASSERT_EQ((callSlot<QWidget*, V>(place_.get(), kFirstMemberSlot + 0, form.get(), QVariant(file_))), S_OK);
  settle();
  EXPECT_EQ(form->geometry(), kNormal);  // RestoreWindow
}

TEST_F(WinPlaceTest, SaveThenRestoreGivesBackRectangleAndState) {
  struct Case {
    Qt::WindowStates state;
    const char* showCmd;
    const char* flags;
  };
  const Case cases[] = {{Qt::WindowNoState, "1", "0"},
                        {Qt::WindowMaximized, "3", "0"},
                        {Qt::WindowMinimized, "2", "0"},
                        {Qt::WindowMinimized | Qt::WindowMaximized, "2", "2"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.state));
    auto saved = makeForm(QStringLiteral("wMain"), kNormal, true);
    saved->setWindowState(c.state);
    settle();
    ASSERT_EQ(place_->SaveWindow(saved.get(), file_), S_OK);
    EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("Flags")), QLatin1String(c.flags));
    EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("ShowCmd")), QLatin1String(c.showCmd));
    EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("NormG")), QStringLiteral("100"));
    EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("NormH")), QStringLiteral("120"));
    EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("NormD")), QStringLiteral("400"));
    EXPECT_EQ(stored(QStringLiteral("wMain"), QStringLiteral("NormB")), QStringLiteral("320"));

    // A fresh window (as at the next start, not yet shown) and one shown elsewhere maximised.
    auto fresh = makeForm(QStringLiteral("wMain"), QRect(5, 5, 60, 40), false);
    auto busy = makeForm(QStringLiteral("wMain"), QRect(5, 5, 60, 40), true);
    busy->setWindowState(Qt::WindowMaximized);
    settle();
    for (QWidget* restored : {fresh.get(), busy.get()}) {
      ASSERT_EQ(place_->RestoreWindow(restored, file_), S_OK);
      settle();
      EXPECT_EQ(restored->windowState() & ~Qt::WindowActive, c.state);
      EXPECT_EQ(restored->normalGeometry(), kNormal);
    }
    fresh->show();
    settle();
    EXPECT_EQ(fresh->windowState() & ~Qt::WindowActive, c.state);
    if (c.state == Qt::WindowNoState) {
      EXPECT_EQ(fresh->geometry(), kNormal);
    }
  }
}

TEST_F(WinPlaceTest, RestoreNeedsTheFlagsKeyAndReadsNumbersOnly) {
  auto form = makeForm(QStringLiteral("wMain"), kNormal, true);
  // First start: no file, nothing changes and nothing is written.
  ASSERT_EQ(place_->RestoreWindow(form.get(), file_), S_OK);
  settle();
  EXPECT_EQ(form->geometry(), kNormal);
  EXPECT_FALSE(QFileInfo::exists(file_));

  // Keys without Flags are ignored; Flags alone takes the defaults of the others.
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wMain"), QStringLiteral("NormG"), QStringLiteral("7"), file_), 0);
  ASSERT_EQ(place_->RestoreWindow(form.get(), file_), S_OK);
  settle();
  EXPECT_EQ(form->geometry(), kNormal);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wMain"), QStringLiteral("Flags"), QStringLiteral("0"), file_), 0);
  ASSERT_EQ(place_->RestoreWindow(form.get(), file_), S_OK);
  settle();
  EXPECT_EQ(form->geometry(), QRect(7, 20, 493, 380));  // NormG from the file, then 20, 500, 400

  // A stored value that is not a number raises the conversion error; nothing moves.
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wMain"), QStringLiteral("NormD"), QStringLiteral("large"), file_), 0);
  EXPECT_EQ(raisedNumber(place_->RestoreWindow(form.get(), file_)), rt::ErrTypeMismatch);
  settle();
  EXPECT_EQ(form->geometry(), QRect(7, 20, 493, 380));

  // Absurd numbers give a window no larger than the desktop.
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wMain"), QStringLiteral("NormG"), QStringLiteral("-2147483648"), file_), 0);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wMain"), QStringLiteral("NormD"), QStringLiteral("2147483647"), file_), 0);
  EXPECT_EQ(place_->RestoreWindow(form.get(), file_), S_OK);
  settle();
  EXPECT_LE(form->width(), form->screen()->virtualGeometry().width());
}

TEST_F(WinPlaceTest, NonFormsAreRefusedBeforeTheFileIsTouched) {
  QWidget parent;
  QWidget child(&parent);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("QWidget"), QStringLiteral("Flags"), QStringLiteral("0"), file_), 0);
  const QByteArray before = testsupport::readFile(file_);
  for (QWidget* notAForm : {&child, static_cast<QWidget*>(nullptr)}) {
    EXPECT_EQ(raisedNumber(place_->SaveWindow(notAForm, file_)), 1024);
    EXPECT_EQ(raisedNumber(place_->RestoreWindow(notAForm, file_)), 1024);
    EXPECT_EQ(raisedNumber(place_->StorePos(notAForm, file_)), 1024);
    EXPECT_EQ(raisedNumber(place_->RestorePos(notAForm, file_)), 1024);
    EXPECT_EQ(raisedNumber(place_->CentrerEcran(notAForm)), 1024);
    EXPECT_EQ(raisedNumber(place_->SetToTopmost(notAForm)), 1024);
    EXPECT_EQ(raisedNumber(place_->SetToNotTopmost(notAForm)), 1024);
  }
  EXPECT_EQ(testsupport::readFile(file_), before);
  EXPECT_EQ(child.pos(), QPoint(0, 0));
}

TEST_F(WinPlaceTest, StorePosKeepsTheNormalPositionOfAMaximisedForm) {
  auto form = makeForm(QStringLiteral("wParams"), kNormal, true);
  const QPoint normalPos = form->pos();
  ASSERT_EQ(place_->StorePos(form.get(), file_), S_OK);
  EXPECT_EQ(stored(QStringLiteral("wParams"), QStringLiteral("X")), QString::number(normalPos.x()));
  EXPECT_EQ(stored(QStringLiteral("wParams"), QStringLiteral("L")), QStringLiteral("300"));
  EXPECT_EQ(stored(QStringLiteral("wParams"), QStringLiteral("Max")), QStringLiteral("False"));

  form->setWindowState(Qt::WindowMaximized);
  settle();
  ASSERT_EQ(place_->StorePos(form.get(), file_), S_OK);
  EXPECT_EQ(stored(QStringLiteral("wParams"), QStringLiteral("X")), QString::number(normalPos.x()));
  EXPECT_EQ(stored(QStringLiteral("wParams"), QStringLiteral("H")), QStringLiteral("200"));
  EXPECT_EQ(stored(QStringLiteral("wParams"), QStringLiteral("Max")), QStringLiteral("True"));

  auto next = makeForm(QStringLiteral("wParams"), QRect(0, 0, 80, 60), false);
  ASSERT_EQ(place_->RestorePos(next.get(), file_), S_OK);
  EXPECT_EQ(next->pos(), normalPos);
  EXPECT_EQ(next->size(), QSize(300, 200));
  EXPECT_TRUE(next->windowState() & Qt::WindowMaximized);

  // A form of fixed size gets its position only.
  auto fixed = makeForm(QStringLiteral("wParams"), QRect(0, 0, 80, 60), false);
  fixed->setFixedSize(80, 60);
  ASSERT_EQ(place_->RestorePos(fixed.get(), file_), S_OK);
  EXPECT_EQ(fixed->pos(), normalPos);
  EXPECT_EQ(fixed->size(), QSize(80, 60));
}

TEST_F(WinPlaceTest, FirstStartCentresAndDoesNotMaximise) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  auto form = makeForm(QStringLiteral("wSplash"), QRect(3, 4, 300, 200), true);
  const QSize outer = form->frameGeometry().size();
  ASSERT_EQ(place_->RestorePos(form.get(), file_), S_OK);
  settle();
  EXPECT_EQ(form->frameGeometry().topLeft(),
            QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
  EXPECT_FALSE(form->windowState() & Qt::WindowMaximized);
  EXPECT_FALSE(QFileInfo::exists(file_));

  // Coordinates that are not numbers centre too, and a broken Max is skipped.
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wSplash"), QStringLiteral("X"), QStringLiteral("left"), file_), 0);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wSplash"), QStringLiteral("Y"), QStringLiteral("10"), file_), 0);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("wSplash"), QStringLiteral("Max"), QStringLiteral("peut-être"), file_), 0);
  form->move(0, 0);
  settle();
  ASSERT_EQ(place_->RestorePos(form.get(), file_), S_OK);
  settle();
  EXPECT_EQ(form->frameGeometry().topLeft(),
            QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
  EXPECT_FALSE(form->windowState() & Qt::WindowMaximized);

  form->move(0, 0);
  settle();
  ASSERT_EQ(place_->CentrerEcran(form.get()), S_OK);
  settle();
  EXPECT_EQ(form->frameGeometry().topLeft(),
            QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
}

TEST_F(WinPlaceTest, TopmostSwitchKeepsTheWindowWhereItIs) {
  auto form = makeForm(QStringLiteral("wMain"), kNormal, true);
  ASSERT_EQ(place_->SetToTopmost(form.get()), S_OK);
  settle();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->geometry(), kNormal);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(form->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  ASSERT_EQ(place_->SetToNotTopmost(form.get()), S_OK);
  settle();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->geometry(), kNormal);
  EXPECT_FALSE(form->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
}

TEST_F(WinPlaceTest, AppActivateExMatchesTitlesInStackingOrder) {
  auto older = makeForm(QStringLiteral("a"), QRect(0, 0, 100, 100), false);
  older->setWindowTitle(QStringLiteral("Tindra - vacances"));
  older->show();
  auto newer = makeForm(QStringLiteral("b"), QRect(0, 0, 100, 100), false);
  newer->setWindowTitle(QStringLiteral("Tindra"));
  newer->show();
  auto hidden = makeForm(QStringLiteral("c"), QRect(0, 0, 100, 100), false);
  hidden->setWindowTitle(QStringLiteral("tindra caché"));
  hidden->winId();
  auto other = makeForm(QStringLiteral("d"), QRect(0, 0, 100, 100), false);
  other->setWindowTitle(QStringLiteral("Autre"));
  other->show();
  other->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(other.get()));

  WId found = 1;
  ASSERT_EQ(place_->AppActivateEx(QStringLiteral("tInD"), QVariant(), &found), S_OK);
  EXPECT_EQ(found, newer->winId());  // the most recent window whose title starts so
  EXPECT_TRUE(QTest::qWaitForWindowActive(newer.get()));

  ASSERT_EQ(place_->AppActivateEx(QStringLiteral("TINDRA - VACANCES"), QVariant(true), &found), S_OK);
  EXPECT_EQ(found, older->winId());
  EXPECT_TRUE(QTest::qWaitForWindowActive(older.get()));

  // The active window comes first.
  ASSERT_EQ(place_->AppActivateEx(QStringLiteral("tindra"), QVariant(false), &found), S_OK);
  EXPECT_EQ(found, older->winId());

  ASSERT_EQ(place_->AppActivateEx(QStringLiteral("Tindra - v"), QVariant(true), &found), S_OK);
  EXPECT_EQ(found, WId{0});  // exact: the whole title must match
  found = 1;
  ASSERT_EQ(place_->AppActivateEx(QStringLiteral("tindra c"), QVariant(), &found), S_OK);
  EXPECT_EQ(found, WId{0});  // hidden windows cannot come to the front
  found = 1;
  ASSERT_EQ(place_->AppActivateEx(QString(), QVariant(), &found), S_OK);
  EXPECT_EQ(found, WId{0});
}

// The private IniParam comes from the library's own classes: with nothing registered, a window
// place made now still reads and writes its file.
TEST_F(WinPlaceTest, MakesItsPrivateIniParamWithoutAnyRegistration) {
  auto form = makeForm(QStringLiteral("wMain"), kNormal, true);
  ComPtr<_WinPlace> later;
  ASSERT_EQ(rt::com::createInstance(CLSID_WinPlace, later), S_OK);
  ASSERT_EQ(place_->SaveWindow(form.get(), file_), S_OK);

  libtest::PrivateRegistry empty;
  EXPECT_EQ(place_->SaveWindow(form.get(), file_), S_OK);
  EXPECT_EQ(later->SaveWindow(form.get(), file_), S_OK);
  EXPECT_EQ(later->RestoreWindow(form.get(), file_), S_OK);
}
