// The rename command end to end through the main window: pictures in a temporary folder, the
// parameters dialog, the confirmation and the date-input dialog answered as a user would.
#include "app/dialogs/wInputDate.h"
#include "app/dialogs/wParams.h"
#include "app/mainwindow/DialogCommands.h"
#include "app/mainwindow/StatusPanels.h"
#include "tests/gui/WindowFixture.h"
#include "tests/support/DialogDriver.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

namespace {

using testsupport::exifDate;
using testsupport::whenShown;

const QString kConfirmation = QStringLiteral(
    "Tous les fichiers dont la case est cochée vont être\nrenommés en fonction des paramètres courants.\n"
    "Cette action est irréversible.\n\nÊtes vous sûr ?");

class RenameCommandTest : public WindowFixture {
 protected:
  wMain& commandWindow() {
    wMain& w = shownWindow();
    RegisterDialogCommands(w, DialogCommandOptions{0, 0});  // progress shows at once
    return w;
  }

  QString undatedPicture(const QString& name, const QDateTime& fileDate) {
    const QString path = testsupport::writeDisplayableJpeg(pictureDir, name, testsupport::ExifContent{});
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(fileDate, QFileDevice::FileModificationTime));
    return path;
  }

  void add(const QStringList& paths) { window->AddFiles(paths.join(QStringLiteral("\r\n"))); }

  QStringList diskNames() const { return QDir(pictureDir).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name); }
  QByteArray bytes(const QString& name) const { return testsupport::readFile(pictureDir + "/" + name); }

  QList<bool> checks() const {
    QList<bool> states;
    for (size_t item : window->lvwFiles->allRows()) states.append(window->lvwFiles->isChecked(item));
    return states;
  }

  // Every row's key is its file's path, and that file exists.
  void expectKeysMatchFiles() const {
    for (size_t item : window->lvwFiles->allRows()) {
      const QString path = pictureDir + "/" + window->lvwFiles->text(item, FileListView::kName);
      EXPECT_EQ(window->lvwFiles->key(item), path);
      EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    }
  }

  void rename() { window->mnuActionRename->trigger(); }

  static void confirmParameters() {
    whenShown<wParams>([](wParams* dialog) { dialog->cmdBoutons[1]->click(); });
  }
};

// Rejects any parameters dialog that shows while it lives, and counts them.
class ParamsDialogGuard {
 public:
  ParamsDialogGuard() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<wParams*>(widget); dialog && dialog->isVisible()) {
          ++shown;
          dialog->reject();
        }
      }
    });
    timer_.start(20);
  }
  int shown = 0;

 private:
  QTimer timer_;
};

TEST_F(RenameCommandTest, NothingCheckedIsSaidAndNothingAsked) {
  wMain& w = commandWindow();
  add({picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0))});
  w.mnuEditUncheckAll_Click();
  ParamsDialogGuard guard;
  rename();
  EXPECT_EQ(guard.shown, 0);
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_EQ(ui.messages().at(0).text,
            "Aucun fichier à renommer !\n\nVerifiez que vous avez bien coché des cases de fichiers.");
  EXPECT_EQ(ui.messages().at(0).icon, ui::Icon::Critical);
  EXPECT_EQ(ui.messages().at(0).buttons, ui::Buttons::Ok);
  EXPECT_EQ(diskNames(), QStringList{"a.jpg"});
}

TEST_F(RenameCommandTest, CancelAtTheParametersOrAtTheConfirmationChangesNothing) {
  commandWindow();
  add({picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0)), picture("b.jpg", exifDate(2005, 1, 2, 10, 0, 0))});
  bool confirmationMode = false;
  whenShown<wParams>([&](wParams* dialog) {
    confirmationMode = dialog->cmdBoutons[0]->isVisible() && dialog->cmdBoutons[1]->text() == "OK" &&
                       dialog->tbsOnglets->currentIndex() == 0 && dialog->parentWidget() == window.get();
    dialog->txtPrefixe->setText(QStringLiteral("dropped"));
    dialog->cmdBoutons[0]->click();
  });
  rename();
  EXPECT_TRUE(confirmationMode);
  EXPECT_TRUE(ui.messages().isEmpty());
  EXPECT_EQ(CurrentConfig().Prefix(), "");

  confirmParameters();
  ui.queueAnswer(ui::Answer::Cancel);
  ui.clearRecords();
  rename();
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_EQ(ui.messages().at(0).text, kConfirmation);
  EXPECT_EQ(ui.messages().at(0).icon, ui::Icon::Exclamation);
  EXPECT_EQ(ui.messages().at(0).buttons, ui::Buttons::OkCancel);
  EXPECT_EQ(diskNames(), (QStringList{"a.jpg", "b.jpg"}));
  EXPECT_EQ(checks(), (QList<bool>{true, true}));
  EXPECT_FALSE(ui.pointerHistory().contains(ui::Pointer::Busy));
}

TEST_F(RenameCommandTest, RenamesCheckedFilesWithTheConfirmedSettingsAndClockCorrection) {
  wMain& w = commandWindow();
  const QString a = picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  const QString b = picture("b.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  const QString c = picture("c.JPG", exifDate(2005, 1, 2, 23, 30, 0));
  const QString d = picture("d.jpg", exifDate(2005, 1, 3, 8, 0, 0));
  testsupport::writeFile(pictureDir + "/20050101AA.jpg", "not part of the list");
  add({a, b, c, d});
  const QByteArray bytesA = bytes("a.jpg"), bytesB = bytes("b.jpg"), bytesC = bytes("c.JPG"), bytesD = bytes("d.jpg");
  w.lvwFiles->setCurrentRow(3);
  w.lvwFiles->setRowSelected(3, true);
  w.mnuEditUncheck_Click();

  whenShown<wParams>([](wParams* dialog) {
    dialog->optExtension[2]->click();
    dialog->tbsOnglets->setCurrentIndex(1);
    dialog->chkTimeOffset[0]->click();
    dialog->txtTimeOffset[0]->setText(QStringLiteral("01/01/2005 10:00:00"));  // the camera one hour late
    dialog->txtTimeOffset[1]->setText(QStringLiteral("01/01/2005 11:00:00"));
    dialog->cmdBoutons[1]->click();
  });
  ui.queueAnswer(ui::Answer::Ok);
  QString progressText;
  ui.onMessage = [&](const ui::ScriptedUiServices::Message&) {
    QTimer::singleShot(0, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "wRenameProgress" && widget->isVisible())
          progressText = widget->findChild<QLabel*>()->text();
      }
    });
  };
  rename();

  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
  EXPECT_FALSE(progressText.isEmpty());
  EXPECT_EQ(diskNames(), (QStringList{"20050101AA.jpg", "20050101AB.jpg", "20050101AC.jpg", "20050103AA.jpg", "d.jpg"}));
  EXPECT_EQ(bytes("20050101AA.jpg"), "not part of the list");
  EXPECT_EQ(bytes("20050101AB.jpg"), bytesA);
  EXPECT_EQ(bytes("20050101AC.jpg"), bytesB);
  EXPECT_EQ(bytes("20050103AA.jpg"), bytesC);  // 23:30 + 1 h is the next day
  EXPECT_EQ(bytes("d.jpg"), bytesD);
  EXPECT_EQ(rowNames(), (QStringList{"20050101AB.jpg", "20050101AC.jpg", "20050103AA.jpg", "d.jpg"}));
  EXPECT_EQ(checks(), (QList<bool>{false, false, false, false}));
  expectKeysMatchFiles();
  EXPECT_EQ(CurrentConfig().Extension(), 2);
  EXPECT_TRUE(ui.pointerHistory().contains(ui::Pointer::Busy));
  EXPECT_EQ(ui.mousePointer(), ui::Pointer::Default);
  EXPECT_TRUE(w.tmrLoadFiles->isActive());
}

TEST_F(RenameCommandTest, UndatedFilesAreNamedFromTheDateTypedOrKeepTheirNames) {
  CurrentConfig().SetNotExif(2);
  commandWindow();
  add({undatedPicture("u1.jpg", QDateTime(QDate(2005, 1, 1), QTime(12, 0, 0))),
       undatedPicture("u2.jpg", QDateTime(QDate(2005, 1, 2), QTime(13, 0, 0)))});
  confirmParameters();
  ui.queueAnswer(ui::Answer::Ok);
  QStringList firstBoxes;
  QStringList oldNames;
  whenShown<wInputDate>([&](wInputDate* first) {
    oldNames << first->txtOldName->text();
    for (int i = 0; i <= 5; ++i) firstBoxes << first->txtDate[i]->text();
    whenShown<wInputDate>([&](wInputDate* second) {
      oldNames << second->txtOldName->text();
      const QStringList fields{"7", "6", "2005", "8", "9", "10"};
      for (int i = 0; i <= 5; ++i) second->txtDate[i]->setText(fields[i]);
      second->cmdBoutons[1]->click();
    });
    first->cmdBoutons[0]->click();
  });
  rename();

  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
  EXPECT_EQ(oldNames, (QStringList{"u1.jpg", "u2.jpg"}));
  EXPECT_EQ(firstBoxes, (QStringList{"01", "01", "2005", "12", "00", "00"}));
  EXPECT_EQ(diskNames(), (QStringList{"20050607AA.jpg", "u1.jpg"}));
  EXPECT_EQ(rowNames(), (QStringList{"u1.jpg", "20050607AA.jpg"}));
  EXPECT_EQ(checks(), (QList<bool>{true, false}));
  expectKeysMatchFiles();
}

// After a rename that asked for a date, the window has the keys again without a click (F3
// checks every row), and the details show the current row under the settings just confirmed.
TEST_F(RenameCommandTest, AfterTheDateDialogTheKeysWorkAndTheDetailsFollow) {
  CurrentConfig().SetNotExif(2);
  wMain& w = commandWindow();
  const QString kept = picture("kept.jpg", exifDate(2005, 1, 2, 10, 0, 0));
  add({undatedPicture("u1.jpg", QDateTime(QDate(2005, 1, 1), QTime(12, 0, 0))), kept});
  w.lvwFiles->setChecked(w.lvwFiles->row(kept), false);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(kept));
  EXPECT_EQ(w.sbrStatus->text("NewName"), "20050102XX.jpg");
  whenShown<wParams>([](wParams* dialog) {
    dialog->txtPrefixe->setText(QStringLiteral("N"));
    dialog->cmdBoutons[1]->click();
  });
  ui.queueAnswer(ui::Answer::Ok);
  whenShown<wInputDate>([](wInputDate* dialog) {
    const QStringList fields{"7", "6", "2005", "8", "9", "10"};
    for (int i = 0; i <= 5; ++i) dialog->txtDate[i]->setText(fields[i]);
    dialog->cmdBoutons[1]->click();
  });
  rename();
  QTest::qWait(50);

  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
  EXPECT_EQ(diskNames(), (QStringList{"N20050607AA.jpg", "kept.jpg"}));
  EXPECT_EQ(w.sbrStatus->text("NewName"), "N20050102XX.jpg");
  EXPECT_EQ(QApplication::activeWindow(), &w);
  EXPECT_EQ(QApplication::focusWidget(), w.lvwFiles);
  QTest::keyClick(w.windowHandle(), Qt::Key_F3);
  EXPECT_EQ(checks(), (QList<bool>{true, true}));
}

TEST_F(RenameCommandTest, AFailureIsReportedAndTheFilesKeepTheirNames) {
  wMain& w = commandWindow();
  const QString a = picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  const QString b = picture("b.jpg", exifDate(2005, 1, 2, 10, 0, 0));
  const QString c = picture("c.jpg", exifDate(2005, 1, 3, 10, 0, 0));
  add({a, b, c});
  ASSERT_TRUE(QFile::remove(b));  // gone since it was listed
  confirmParameters();
  ui.queueAnswer(ui::Answer::Ok);
  rename();

  // The picture reader has its say about the missing file first; the command reports last.
  ASSERT_FALSE(reportedErrors().isEmpty());
  const QString report = reportedErrors().last();
  EXPECT_TRUE(report.startsWith("Error Nr 53 : ")) << report.toStdString();
  EXPECT_TRUE(report.contains("Module : wMain") && report.contains("Object : mnuActionRename") &&
              report.contains("Event : Click"))
      << report.toStdString();
  // Then the whole report: what went back, and what to do next.
  ASSERT_FALSE(ui.messages().isEmpty());
  const QString whole = ui.messages().last().text;
  EXPECT_TRUE(whole.contains("1 fichier a repris son nom d'origine")) << whole.toStdString();
  EXPECT_TRUE(whole.endsWith("n'ont pas été renommés.")) << whole.toStdString();
  EXPECT_EQ(diskNames(), (QStringList{"a.jpg", "c.jpg"}));
  EXPECT_EQ(rowNames(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
  EXPECT_EQ(checks(), (QList<bool>{true, true, true}));
  EXPECT_EQ(w.lvwFiles->key(0), a);
  EXPECT_EQ(ui.mousePointer(), ui::Pointer::Default);
  EXPECT_TRUE(w.tmrLoadFiles->isActive());
}

TEST_F(RenameCommandTest, ParametersMenuItemOpensTheDialogInSettingsMode) {
  wMain& w = commandWindow();
  bool settingsMode = false;
  whenShown<wParams>([&](wParams* dialog) {
    settingsMode = !dialog->cmdBoutons[0]->isVisible() && dialog->cmdBoutons[1]->text() == "Fermer";
    dialog->txtPostfixe->setText(QStringLiteral("_vac"));
    QTest::keyClick(dialog->txtPostfixe, Qt::Key_Escape);  // Escape closes and keeps the edits
  });
  w.mnuEditProperties->trigger();
  EXPECT_TRUE(settingsMode);
  EXPECT_EQ(CurrentConfig().Postfix(), "_vac");
  EXPECT_TRUE(CurrentConfig().Modified());
}

}  // namespace
