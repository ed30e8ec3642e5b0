// The parameters dialog driven as a user drives it: clicks, typed keys (through the key
// filters), the buttons, and the settings-file dialogs answered by the scripted services.
#include "app/common/AppSettings.h"
#include "app/common/ProgramInfo.h"
#include "app/dialogs/UpDown.h"
#include "app/dialogs/wParams.h"
#include "app/ui/HelpSystem.h"
#include "tests/support/ScriptedUiServices.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/SettingsFile.h"
#include "app/naming/SpecialFolders.h"
#include "runtime/DateValue.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

class ParamsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    programDir = testsupport::makeTempDir(QStringLiteral("program"));
    ProgramInfo::OverrideLocation(programDir, QStringLiteral("tindra"));
    CurrentConfig() = ConfigClass();
    help::InstallF1Handler();
  }
  void TearDown() override {
    dialog.reset();
    CurrentConfig() = ConfigClass();
    ProgramInfo::OverrideLocation(QString(), QString());
  }

  wParams& open() {
    dialog = std::make_unique<wParams>();
    dialog->show();
    QCoreApplication::processEvents();
    return *dialog;
  }

  static void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, text);
  }

  // The example shows the name for the present moment: check it against the keys of the
  // moments just before and just after the action that refreshed it.
  void expectExample(const std::function<void()>& action, const std::function<QString(const QString&)>& expected) {
    const QString before = rt::toDateKey(rt::now());
    action();
    const QString after = rt::toDateKey(rt::now());
    const QString shown = dialog->txtFormat->text();
    EXPECT_TRUE(shown == expected(before) || shown == expected(after))
        << shown.toStdString() << " / " << expected(after).toStdString();
  }

  QStringList messages() const { return ui.messageTexts(); }

  ui::ScriptedUiServices ui;
  testsupport::ReportedErrors errors;
  QString programDir;
  std::unique_ptr<wParams> dialog;
};

TEST_F(ParamsDialogTest, CheckedFieldsAlwaysFormAPrefixOfTheDateAndTime) {
  wParams& w = open();
  w.chkTime[1]->click();
  w.chkTime[2]->click();
  EXPECT_TRUE(w.chkTime[2]->isChecked());
  w.chkTime[3]->click();

  w.chkDate[1]->click();  // unchecking the year unchecks everything after it
  for (int i = 1; i <= 3; ++i) {
    EXPECT_FALSE(w.chkDate[i]->isChecked()) << i;
    EXPECT_FALSE(w.chkTime[i]->isChecked()) << i;
  }
  w.chkDate[2]->click();  // the month cannot come without the year
  EXPECT_FALSE(w.chkDate[2]->isChecked());
  w.chkDate[1]->click();
  w.chkDate[2]->click();
  w.chkTime[1]->click();  // nor the hours without the day
  EXPECT_FALSE(w.chkTime[1]->isChecked());
  w.chkDate[3]->click();
  w.chkTime[2]->click();  // nor the minutes without the hours
  EXPECT_FALSE(w.chkTime[2]->isChecked());
  w.chkTime[1]->click();
  EXPECT_TRUE(w.chkTime[1]->isChecked());
  w.chkDateSep[0]->click();  // separators are free
  w.chkDateSep[0]->click();
  w.chkTimeSep[1]->click();
  EXPECT_TRUE(w.chkTimeSep[1]->isChecked());
}

TEST_F(ParamsDialogTest, ControlsShowTheSettingsAndConfirmingThemUnchangedChangesNothing) {
  ConfigClass& config = CurrentConfig();
  config.SetIsDateSep(0, true);
  config.SetIsDateSep(1, true);
  config.SetDateSep(QStringLiteral(" "));
  for (int i = 1; i <= 3; ++i) config.SetIsTimeDigit(i, true);
  config.SetIsTimeSep(0, true);
  config.SetIsTimeSep(1, true);
  config.SetTimeSep(QStringLiteral("h"));
  config.SetPrefix(QStringLiteral("P"));
  config.SetPostfix(QStringLiteral("Q"));
  config.SetDigits(3);
  config.SetStartNum(12);
  config.SetSuffixType(1);
  config.SetNotExif(2);
  config.SetExtension(1);
  config.SetCompanions(false);
  config.SetOffsetApply(true);
  config.SetDateExif(rt::makeDate(2005, 1, 1, 10, 0, 0));
  config.SetDateReal(rt::makeDate(2005, 1, 1, 11, 30, 15));
  ASSERT_TRUE(config.Save(programDir + QStringLiteral("/s.tdc")));  // Modified cleared
  const ConfigClass before = config;

  wParams& w = open();
  EXPECT_EQ(w.cboDateSep->currentText(), "AAAA   MM   JJ");
  EXPECT_EQ(w.cboTimeSep->currentText(), "  HH h MM m SS");
  EXPECT_FALSE(w.chkDateTimeSep->isChecked());
  EXPECT_EQ(w.cboDateTimeSep->currentIndex(), 0);
  EXPECT_EQ(w.lblDigits->text(), "3");
  EXPECT_EQ(w.lblDigFmt->text(), "000");
  EXPECT_EQ(w.txtSuffixStart->text(), "12");
  EXPECT_TRUE(w.optSuffixe[1]->isChecked());
  EXPECT_TRUE(w.optNotExif[2]->isChecked());
  EXPECT_TRUE(w.optExtension[1]->isChecked());
  EXPECT_FALSE(w.chkCompanions->isChecked());
  EXPECT_EQ(w.txtTimeOffset[0]->text(), "01/01/2005 10:00:00");
  EXPECT_EQ(w.txtTimeDiff->text(), "01h 30m 15s");
  // The example is the body the rename writes: settings keep one time separator, so the
  // item "  HH h MM m SS" gives "h" twice, in the example as in the names.
  EXPECT_EQ(w.FormatName(QStringLiteral("20240315143025")), "P2024 03 1514h30h25Q");
  EXPECT_EQ(w.FormatName(QStringLiteral("20240315143025")), config.FormatName(QStringLiteral("20240315143025")));
  const QString example = w.txtFormat->text();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^P\\d{4} \\d\\d \\d{4}h\\d\\dh\\d\\dQ000$")).match(example).hasMatch())
      << example.toStdString();

  w.cmdBoutons[1]->click();
  EXPECT_TRUE(w.Ok());
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(config.Modified());
  EXPECT_EQ(config.FormatName(QStringLiteral("20240315143025")), before.FormatName(QStringLiteral("20240315143025")));
  EXPECT_EQ(config.StartNum(), 12);
  EXPECT_EQ(config.DateReal(), before.DateReal());

  // A separator that no item holds selects no item.
  config.SetDateSep(QStringLiteral("|"));
  open();
  EXPECT_EQ(dialog->cboDateSep->currentIndex(), -1);
  dialog->chkCompanions->click();
  dialog->cmdBoutons[1]->click();
  EXPECT_TRUE(config.Companions());
}

TEST_F(ParamsDialogTest, ExampleFollowsEveryControl) {
  wParams& w = open();
  const auto date = [](const QString& k) { return k.left(8); };
  expectExample([&] { type(w.txtPrefixe, QStringLiteral("a.b|c d/")); },
                [&](const QString& k) { return "abc d" + date(k) + "XX"; });
  EXPECT_EQ(w.txtPrefixe->text(), "abc d");  // refused characters never reach the box
  expectExample([&] { type(w.txtPostfixe, QStringLiteral("x:*?\"<>y")); },
                [&](const QString& k) { return "abc d" + date(k) + "xyXX"; });
  type(w.txtPrefixe, QString());
  type(w.txtPostfixe, QString());

  expectExample([&] { w.chkDateSep[0]->click(); }, [](const QString& k) { return k.left(4) + "_" + k.mid(4, 4) + "XX"; });
  expectExample([&] { w.cboDateSep->setCurrentIndex(1); },
                [](const QString& k) { return k.left(4) + "-" + k.mid(4, 4) + "XX"; });
  expectExample([&] { w.chkTime[1]->click(); }, [](const QString& k) { return k.left(4) + "-" + k.mid(4, 6) + "XX"; });
  expectExample([&] { w.chkDateTimeSep->click(); },
                [](const QString& k) { return k.left(4) + "-" + k.mid(4, 4) + "_" + k.mid(8, 2) + "XX"; });
  expectExample([&] { w.updDigits->upButton()->click(); },
                [](const QString& k) { return k.left(4) + "-" + k.mid(4, 4) + "_" + k.mid(8, 2) + "XXX"; });
  EXPECT_EQ(w.lblDigits->text(), "3");
  expectExample([&] { w.optSuffixe[1]->click(); },
                [](const QString& k) { return k.left(4) + "-" + k.mid(4, 4) + "_" + k.mid(8, 2) + "000"; });
  expectExample([&] { w.chkSuffixe->click(); },
                [](const QString& k) { return k.left(4) + "-" + k.mid(4, 4) + "_" + k.mid(8, 2); });
  for (QWidget* control : std::initializer_list<QWidget*>{w.txtSuffixStart, w.lblDigits, w.updDigits, w.optSuffixe[0],
                                                           w.optSuffixe[1], w.lblSuffixStart, w.lblSuffixDigits,
                                                           w.lblSuffixFormat}) {
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  }
  w.chkSuffixe->click();
  EXPECT_TRUE(w.txtSuffixStart->isEnabled());
  // The up-down stops at its range.
  for (int i = 0; i < 12; ++i) w.updDigits->upButton()->click();
  EXPECT_EQ(w.lblDigFmt->text(), "000000000");
  for (int i = 0; i < 12; ++i) w.updDigits->downButton()->click();
  EXPECT_EQ(w.lblDigFmt->text(), "0");
}

// The example is the name the rename gives a picture taken at the moment it shows (the
// suffix as its pattern), whatever the layout: after each change, the settings the dialog
// stores give a picture of that moment exactly the example's name.
TEST_F(ParamsDialogTest, ExampleIsTheNameOfAPictureOfThatMomentUnderTheStoredSettings) {
  const std::vector<std::function<void(wParams&)>> changes = {
      [](wParams& w) { type(w.txtPrefixe, QStringLiteral("Vac ")); },
      [](wParams& w) { type(w.txtPostfixe, QStringLiteral("_z")); },
      [](wParams& w) { w.chkDateSep[0]->click(); },
      [](wParams& w) { w.cboDateSep->setCurrentIndex(1); },
      [](wParams& w) { w.chkTime[1]->click(); },
      [](wParams& w) { w.chkTime[2]->click(); },
      [](wParams& w) { w.chkTimeSep[0]->click(); },
      [](wParams& w) { w.cboTimeSep->setCurrentIndex(1); },
      [](wParams& w) { w.chkDateTimeSep->click(); },
      [](wParams& w) { w.updDigits->upButton()->click(); },
      [](wParams& w) { w.optSuffixe[1]->click(); },
      [](wParams& w) { w.chkDate[3]->click(); },
      [](wParams& w) { w.chkSuffixe->click(); },
  };
  const auto nameAt = [](rt::DateValue moment) {
    JpegInfosClass info;
    info.SetCreateDate(moment);
    return FutureName(QStringLiteral("/photos/IMG_1"), info);
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    wParams& w = open();
    const rt::DateValue before = rt::now();
    changes[i](w);
    const rt::DateValue after = rt::now();
    const QString example = w.txtFormat->text();
    w.cmdBoutons[1]->click();
    ASSERT_FALSE(w.isVisible()) << i;
    EXPECT_TRUE(example == nameAt(before) || example == nameAt(after))
        << i << ": " << example.toStdString() << " / " << nameAt(after).toStdString();
  }
  EXPECT_EQ(CurrentConfig().Prefix(), "Vac ");
  EXPECT_FALSE(CurrentConfig().IsSuffix());
  EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join("\n").toStdString();
}

TEST_F(ParamsDialogTest, TimeDifferenceOfTheTwoTimes) {
  wParams& w = open();
  w.tbsOnglets->setCurrentIndex(1);
  EXPECT_TRUE(w.frmPage[2]->isVisible());
  EXPECT_FALSE(w.frmPage[1]->isVisible());
  EXPECT_EQ(help::TopicOf(&w), help::kParamsOffset);

  const struct {
    const char* first;
    const char* second;
    const char* difference;
  } cases[] = {
      {"01/01/2005 10:00:00", "02/01/2005 10:00:00", "1j 00h 00m 00s"},
      {"02/01/2005 10:00:00", "01/01/2005 10:00:00", "1j 00h 00m 00s"},
      {"10:00:00", "11:30:15", "01h 30m 15s"},
      {"01/01/2005 23:00:00", "04/01/2005 01:02:03", "2j 02h 02m 03s"},
      {"29/12/1899 18:00:00", "30/12/1899 06:00:00", "12h 00m 00s"},  // across the day count's sign change
      {"32/01/2005 10:00:00", "01/01/2005 10:00:00", ""},
      {"", "01/01/2005 10:00:00", ""},
  };
  for (const auto& c : cases) {
    type(w.txtTimeOffset[0], QString::fromLatin1(c.first));
    type(w.txtTimeOffset[1], QString::fromLatin1(c.second));
    EXPECT_EQ(w.txtTimeDiff->text(), QString::fromUtf8(c.difference)) << c.first << " / " << c.second;
  }
}

TEST_F(ParamsDialogTest, ConfirmationRefusesAMissingTimeAndABadStartNumber) {
  wParams& w = open();
  w.SetConfirmationMode();
  w.chkTimeOffset[0]->click();
  type(w.txtTimeOffset[0], QStringLiteral("01/01/2005 10:00:00"));
  type(w.txtPrefixe, QStringLiteral("new"));
  w.cmdBoutons[1]->click();
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_EQ(ui.messages().at(0).text, "Décalage horaire incorrect.");
  EXPECT_EQ(ui.messages().at(0).icon, ui::Icon::Critical);
  EXPECT_EQ(ui.messages().at(0).buttons, ui::Buttons::Ok);
  EXPECT_EQ(w.tbsOnglets->currentIndex(), 1);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.Ok());
  EXPECT_EQ(CurrentConfig().Prefix(), "");
  type(w.txtTimeOffset[1], QStringLiteral("01/01/2005 11:00:00"));

  // Typed signs never reach the start number; other texts arrive only by code (or pasting).
  type(w.txtSuffixStart, QStringLiteral("-+7a"));
  EXPECT_EQ(w.txtSuffixStart->text(), "7");
  for (const char* refused : {"", "2147483648", "2147483647.5", "-1", "1e12", "abc"}) {
    ui.clearRecords();
    w.txtSuffixStart->setText(QString::fromLatin1(refused));
    w.cmdBoutons[1]->click();
    EXPECT_EQ(messages(), QStringList{"Numéro de départ de numérotation incorrect."}) << refused;
    EXPECT_EQ(w.tbsOnglets->currentIndex(), 0);
    EXPECT_TRUE(w.isVisible()) << refused;
  }
  EXPECT_EQ(w.txtSuffixStart->selectedText(), "abc");
  EXPECT_EQ(CurrentConfig().Prefix(), "");

  w.txtSuffixStart->setText(QStringLiteral("2147483647"));
  w.cmdBoutons[1]->click();
  EXPECT_TRUE(w.Ok());
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(CurrentConfig().StartNum(), 2147483647);
  EXPECT_EQ(CurrentConfig().Prefix(), "new");
  EXPECT_TRUE(CurrentConfig().OffsetApply());
  EXPECT_NEAR(CurrentConfig().DateReal() - CurrentConfig().DateExif(), 1.0 / 24, 1e-9);
}

TEST_F(ParamsDialogTest, CancelEscapeAndCloseBoxStoreNothingButSettingsModeEscapeConfirms) {
  const auto edit = [this] {
    open();
    type(dialog->txtPrefixe, QStringLiteral("edited"));
  };
  edit();
  dialog->SetConfirmationMode();
  EXPECT_EQ(dialog->cmdBoutons[1]->text(), "OK");
  dialog->cmdBoutons[0]->click();
  EXPECT_FALSE(dialog->Ok());
  EXPECT_FALSE(dialog->isVisible());

  edit();
  dialog->SetConfirmationMode();
  QTest::keyClick(dialog->txtPrefixe, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(dialog->Ok());

  edit();
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(dialog->Ok());
  EXPECT_EQ(CurrentConfig().Prefix(), "");
  EXPECT_FALSE(CurrentConfig().Modified());

  edit();
  dialog->SetSettingsMode();
  EXPECT_FALSE(dialog->cmdBoutons[0]->isVisible());
  EXPECT_EQ(dialog->cmdBoutons[1]->text(), "Fermer");
  QTest::keyClick(dialog->txtPrefixe, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(dialog->Ok());
  EXPECT_EQ(CurrentConfig().Prefix(), "edited");
  EXPECT_TRUE(CurrentConfig().Modified());

  edit();
  QTest::keyClick(dialog->txtPrefixe, Qt::Key_Return);  // Enter: the default button
  EXPECT_TRUE(dialog->Ok());
}

TEST_F(ParamsDialogTest, SaveAndOpenGoThroughTheSettingsFileDialog) {
  const QString folder = testsupport::makeTempDir(QStringLiteral("settings"));
  const QString file = folder + QStringLiteral("/mine.tdc");
  wParams& w = open();

  w.cmdBoutons[2]->click();  // cancelled: nothing happens
  ASSERT_EQ(ui.fileDialogs().size(), 1);
  ui::FileDialogRequest request = ui.fileDialogs().at(0);
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.owner, &w);
  EXPECT_EQ(request.filter, kSettingsFileFilter);
  EXPECT_EQ(request.initDir, GetPersonalFolder());
  EXPECT_EQ(request.fileName, "");
  EXPECT_FALSE(QFileInfo::exists(file));

  type(w.txtPrefixe, QStringLiteral("saved"));
  ui.queueFileName(file);
  w.cmdBoutons[2]->click();
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.Ok());
  EXPECT_TRUE(testsupport::readFile(file).contains("Prefix=saved"));
  EXPECT_EQ(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString()), file);
  EXPECT_EQ(CurrentConfig().Path(), file);

  type(w.txtPrefixe, QStringLiteral("unsaved"));
  w.chkDate[1]->click();
  ui.queueFileName(file);
  w.cmdBoutons[3]->click();
  request = ui.fileDialogs().last();
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.fileName, "mine.tdc");
  EXPECT_EQ(request.initDir, folder);
  EXPECT_EQ(w.txtPrefixe->text(), "saved");
  EXPECT_TRUE(w.chkDate[3]->isChecked());

  // A file that fails to load part-way is reported and leaves the settings as they were.
  const QString bad = folder + QStringLiteral("/bad.tdc");
  testsupport::writeFile(bad, "[Tindra]\nPrefix=half\nDigits=300\n");
  ui.queueFileName(bad);
  w.cmdBoutons[3]->click();
  ASSERT_EQ(errors.messages().size(), 1);
  EXPECT_TRUE(errors.messages().at(0).contains("Object : cmdBoutons")) << errors.messages().at(0).toStdString();
  EXPECT_EQ(CurrentConfig().Prefix(), "saved");
  EXPECT_EQ(CurrentConfig().Path(), file);
  EXPECT_EQ(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString()), file);

  // A bad start number is refused before a file is asked for.
  ui.clearRecords();
  w.txtSuffixStart->setText(QString());
  w.cmdBoutons[2]->click();
  EXPECT_EQ(messages(), QStringList{"Numéro de départ de numérotation incorrect."});
  EXPECT_TRUE(ui.fileDialogs().isEmpty());

  // A name typed without extension is saved as a settings file.
  w.txtSuffixStart->setText(QStringLiteral("1"));
  ui.queueFileName(folder + QStringLiteral("/bretagne"));
  w.cmdBoutons[2]->click();
  EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bretagne")));
  EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/bretagne.tdc")));
  EXPECT_EQ(CurrentConfig().Path(), folder + QStringLiteral("/bretagne.tdc"));
  EXPECT_EQ(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString()), folder + QStringLiteral("/bretagne.tdc"));
}

TEST_F(ParamsDialogTest, PagesAndHelpTopics) {
  wParams& w = open();
  EXPECT_EQ(w.windowTitle(), "Paramètres");
  ASSERT_EQ(w.tbsOnglets->count(), 2);
  EXPECT_EQ(w.tbsOnglets->tabText(0), "Noms des fichiers");
  EXPECT_EQ(w.tbsOnglets->tabText(1), "Décalage horaire");
  EXPECT_TRUE(w.frmPage[1]->isVisible());
  EXPECT_FALSE(w.frmPage[2]->isVisible());
  w.txtPrefixe->setFocus();
  QTest::keyClick(w.txtPrefixe, Qt::Key_F1);
  w.tbsOnglets->setCurrentIndex(1);
  w.txtTimeOffset[0]->setFocus();
  QTest::keyClick(w.txtTimeOffset[0], Qt::Key_F1);
  EXPECT_EQ(ui.helpTopics(), (QList<int>{help::kParamsNames, help::kParamsOffset}));
}

}  // namespace
