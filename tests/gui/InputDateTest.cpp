// The date-input dialog: filling it, typing dates into its boxes and pressing its buttons.
#include "app/dialogs/wInputDate.h"
#include "app/ui/HelpSystem.h"
#include "tests/support/ScriptedUiServices.h"
#include "runtime/DateValue.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

class InputDateTest : public ::testing::Test {
 protected:
  void SetUp() override { help::InstallF1Handler(); }

  wInputDate& open() {
    dialog = std::make_unique<wInputDate>();
    dialog->show();
    QCoreApplication::processEvents();
    return *dialog;
  }

  QStringList boxes() const {
    QStringList texts;
    for (int i = 0; i <= 5; ++i) texts.append(dialog->txtDate[i]->text());
    return texts;
  }

  // Types the six fields (day, month, year, hour, minute, second) and presses OK.
  void enter(const QStringList& fields) {
    for (int i = 0; i <= 5; ++i) {
      dialog->txtDate[i]->clear();
      QTest::keyClicks(dialog->txtDate[i], fields.value(i));
    }
    ui.clearRecords();
    dialog->cmdBoutons[1]->click();
  }

  bool refused() const { return ui.messageTexts() == QStringList{"Date incorrecte !"}; }

  ui::ScriptedUiServices ui;
  std::unique_ptr<wInputDate> dialog;
};

TEST_F(InputDateTest, FillsItsBoxesFromADateKeyOrADateValue) {
  wInputDate& w = open();
  EXPECT_EQ(w.windowTitle(), "Date de classement");
  w.InitGDH(QStringLiteral("20051224183005"));
  EXPECT_EQ(boxes(), (QStringList{"24", "12", "2005", "18", "30", "05"}));
  w.InitDate(rt::makeDate(2005, 3, 5, 7, 8, 9));
  EXPECT_EQ(boxes(), (QStringList{"5", "3", "2005", "7", "8", "9"}));

  // A key holding only a year leaves blanks, which do not make a date.
  w.InitGDH(QStringLiteral("2005"));
  EXPECT_EQ(boxes(), (QStringList{"  ", "  ", "2005", "  ", "  ", "  "}));
  w.cmdBoutons[1]->click();
  EXPECT_TRUE(refused());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.GDH(), "");
}

TEST_F(InputDateTest, AcceptsRealMomentsOnlyAndRewritesTwoDigitYears) {
  open();
  enter({"29", "2", "2005", "10", "0", "0"});
  EXPECT_TRUE(refused());
  EXPECT_TRUE(dialog->isVisible());
  for (const QStringList& fields : {QStringList{"24", "3", "2005", "24", "00", "00"}, QStringList{"31", "4", "2005", "1", "2", "3"},
                                    QStringList{"1", "13", "2005", "1", "2", "3"}, QStringList{"0", "1", "2005", "1", "2", "3"},
                                    QStringList{"1", "1", "2005", "1", "60", "3"}, QStringList{"1", "1", "", "1", "2", "3"},
                                    QStringList{"1", "1", "99999999999", "1", "2", "3"}, QStringList{"1", "1", "20000", "1", "2", "3"}}) {
    enter(fields);
    EXPECT_TRUE(refused()) << fields.join(' ').toStdString();
  }

  enter({"29", "2", "2004", "23", "59", "59"});
  EXPECT_TRUE(ui.messages().isEmpty());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->GDH(), "20040229235959");

  open();
  enter({"7", "6", "5", "8", "9", "10"});
  EXPECT_EQ(dialog->txtDate[2]->text(), "2005");
  EXPECT_EQ(dialog->GDH(), "20050607080910");

  // A two-digit year the date builder puts in the last century is asked again, shown in this one.
  open();
  enter({"1", "1", "45", "0", "0", "0"});
  EXPECT_TRUE(refused());
  EXPECT_EQ(dialog->txtDate[2]->text(), "2045");
  ui.clearRecords();
  dialog->cmdBoutons[1]->click();
  EXPECT_EQ(dialog->GDH(), "20450101000000");
}

TEST_F(InputDateTest, CancelEscapeAndHelp) {
  open();
  enter({"31", "2", "2005", "0", "0", "0"});
  dialog->cmdBoutons[0]->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->GDH(), "");

  open();
  dialog->InitGDH(QStringLiteral("20051224183005"));
  QTest::keyClick(dialog->txtDate[0], Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->GDH(), "");

  open();
  dialog->InitGDH(QStringLiteral("20051224183005"));
  QTest::keyClick(dialog->txtDate[0], Qt::Key_Return);  // OK is the default button
  EXPECT_EQ(dialog->GDH(), "20051224183005");

  open();
  dialog->cmdBoutons[2]->setFocus();
  dialog->cmdBoutons[2]->click();
  EXPECT_EQ(ui.helpTopics(), QList<int>{help::kInputDate});
  EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
