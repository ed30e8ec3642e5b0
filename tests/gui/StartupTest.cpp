// Start-up and shutdown of the main window: layout restored and stored, the command line, the
// hand-off between instances, the last settings file, and the close prompt.
#include "tests/gui/WindowFixture.h"

#include "app/common/AppSettings.h"
#include "app/common/HandOff.h"
#include "app/mainwindow/SplitterBar.h"
#include "app/mainwindow/StatusPanels.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QToolBar>

using testsupport::exifDate;

namespace {

const QString kPromptText =
    QStringLiteral("La configuration courante n'est pas sauvegardée.\r\nVoulez-vous l'enregistrer maintenant ?");

}  // namespace

class StartupTest : public WindowFixture {
 protected:
  // A window built and started like the program does, at the given size.
  bool start(const QString& commandLine = QString(), int width = 800, int height = 500) {
    ui.setCommandLine(commandLine);
    window = std::make_unique<wMain>();
    window->resize(width, height);
    if (commandLine.isEmpty()) clickSplashWhenShown();
    return window->Form_Load();
  }

  QString ini() const { return programDir + "/tindra.ini"; }
};

TEST_F(StartupTest, FirstStartUsesTheDesignAndStoresAtClosing) {
  ASSERT_TRUE(start());
  wMain& w = *window;
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.lvwFiles->columnWidth(0), 272);  // 4075 twips
  EXPECT_EQ(w.lvwFiles->columnWidth(1), 258);  // 3863 twips
  EXPECT_EQ(w.lvwFiles->columnWidth(2), 0);
  EXPECT_EQ(w.lvwFiles->columnWidth(3), 65);   // 979 twips
  EXPECT_EQ(w.lvwFiles->columnWidth(4), 240);  // "Nom futur", 3600 twips
  EXPECT_EQ(w.lvwFiles->columnWidth(5), 240);  // "Date retenue"
  EXPECT_EQ(w.frmCursor->x(), qRound(0.4 * w.innerWidth()));
  EXPECT_EQ(CurrentConfig().Path(), "");
  EXPECT_FALSE(QFile::exists(ini()));
  for (QAction* button : w.tbrTools->actions()) {
    if (!button->isSeparator()) {
      EXPECT_FALSE(button->icon().isNull()) << button->data().toString().toStdString();
    }
  }
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(ui.messages().isEmpty());  // nothing modified: no prompt, no failure
  EXPECT_EQ(GetParam("Columns", "1", ""), "4080");
  EXPECT_EQ(GetParam("Columns", "3", ""), "0");
  EXPECT_EQ(GetParam("Columns", "6", ""), "3600");  // the plan columns beside the others
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "40");
  EXPECT_NE(GetParam("wMain", "Flags", ""), "");
}

TEST_F(StartupTest, StoredLayoutComesBackAndTheSplitterIsStoredRoundedHalfToEven) {
  SetParam("Columns", "1", "3000");
  SetParam("Columns", "4", "1500.4");
  SetParam("Columns", "5", "1500");
  SetParam("Layout", "Cursor", "25");
  ASSERT_TRUE(start(QString(), 800, 500));
  wMain& w = *window;
  ASSERT_EQ(w.innerWidth(), 800);
  EXPECT_EQ(w.lvwFiles->columnWidth(0), 200);
  EXPECT_EQ(w.lvwFiles->columnWidth(3), 100);
  EXPECT_EQ(w.lvwFiles->columnWidth(4), 100);
  EXPECT_EQ(w.lvwFiles->columnWidth(5), 240);  // no key: its design width
  EXPECT_EQ(w.frmCursor->x(), 200);
  w.frmCursor->move(212, w.frmCursor->y());  // 26.5 %
  w.Form_Unload();
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "26");
  w.frmCursor->move(204, w.frmCursor->y());  // 25.5 %
  w.Form_Unload();
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "26");
  w.frmCursor->move(201, w.frmCursor->y());
  w.Form_Unload();
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "25");
  EXPECT_EQ(GetParam("Columns", "1", ""), "3000");
}

// Stored values that are no numbers are reported, each falls back to its default, and the
// start-up goes on to show the window; closing writes the values again.
TEST_F(StartupTest, AStoredValueThatIsNoNumberIsReportedAndTheWindowStillShows) {
  SetParam("Columns", "2", "large");
  SetParam("Columns", "4", "1500");
  SetParam("Layout", "Cursor", "nan");
  const QString path = picture("x.jpg", exifDate(2004, 2, 3, 4, 5, 6));
  ASSERT_TRUE(start("\"" + path + "\""));
  ASSERT_EQ(reportedErrors().size(), 2) << reportedErrors().join("\n").toStdString();
  for (const QString& error : reportedErrors()) {
    EXPECT_TRUE(error.contains("Module : wMain")) << error.toStdString();
    EXPECT_TRUE(error.contains("Event : Load")) << error.toStdString();
  }
  EXPECT_TRUE(reportedErrors().first().startsWith("Error Nr 13 : ")) << reportedErrors().first().toStdString();
  wMain& w = *window;
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.lvwFiles->columnWidth(1), 258);  // its design width
  EXPECT_EQ(w.lvwFiles->columnWidth(3), 100);  // the good values still count
  EXPECT_EQ(w.frmCursor->x(), qRound(0.4 * w.innerWidth()));
  EXPECT_FALSE(w.tbrTools->actions().first()->icon().isNull());  // later steps ran
  EXPECT_EQ(rowNames(), QStringList{"x.jpg"});
  EXPECT_TRUE(w.close());
  EXPECT_EQ(GetParam("Columns", "2", ""), "3870");
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "40");
}

TEST_F(StartupTest, CommandLineFilesAreListedWithoutSplash) {
  QDir().mkpath(pictureDir + "/two words");
  const QString spaced = testsupport::writeDisplayableJpeg(pictureDir + "/two words", "a b.jpg", [] {
    testsupport::ExifContent c;
    c.dateTimeOriginal = exifDate(2004, 2, 3, 4, 5, 6);
    return c;
  }());
  const QString plain = picture("plain.jpg", exifDate(2004, 2, 3, 4, 5, 7));
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(start("\"" + spaced + "\" \"" + plain + "\""));
  EXPECT_LT(clock.elapsed(), 4000);  // the splash would have waited five seconds
  EXPECT_EQ(rowNames(), (QStringList{"a b.jpg", "plain.jpg"}));
  EXPECT_EQ(window->lvwFiles->text(window->lvwFiles->row(spaced), FileListView::kFolder), pictureDir + "/two words");
}

TEST_F(StartupTest, ASecondInstanceHandsItsFilesOverAndUnloads) {
  ui.setAnotherInstance(true);
  const QString a = pictureDir + "/a.jpg";
  const QString b = pictureDir + "/b.jpg";
  EXPECT_FALSE(start("\"" + a + "\" \"" + b + "\""));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(testsupport::readFile(handoff::FileName()), (a + "\r\n" + b + "\r\n").toUtf8());
  EXPECT_TRUE(ui.messages().isEmpty());
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "40");  // shutdown ran
  // A second hand-off appends.
  window.reset();
  EXPECT_FALSE(start("\"" + a + "\""));
  EXPECT_EQ(testsupport::readFile(handoff::FileName()), (a + "\r\n" + b + "\r\n" + a + "\r\n").toUtf8());
}

TEST_F(StartupTest, TheTimerClaimsHandedOverFilesOnce) {
  ASSERT_TRUE(start("\"" + picture("first.jpg", exifDate(2003, 1, 1, 1, 1, 1)) + "\""));
  const QString a = picture("a.jpg", exifDate(2003, 5, 1, 1, 1, 1));
  const QString b = picture("b.jpg", exifDate(2003, 4, 1, 1, 1, 1));
  handoff::Append(a + "\r\n" + pictureDir + "/notes.txt");
  handoff::Append(b);
  window->tmrLoadFiles_Timer();
  EXPECT_EQ(rowNames(), (QStringList{"first.jpg", "b.jpg", "a.jpg"}));
  EXPECT_FALSE(handoff::Exists());
  // A row the user removed does not come back at the next tick.
  window->lvwFiles->setRowSelected(window->lvwFiles->row(a), true);
  window->mnuFileDelete_Click();
  window->tmrLoadFiles_Timer();
  EXPECT_EQ(rowNames(), (QStringList{"first.jpg", "b.jpg"}));
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

// A list handed over while no instance could claim it is listed by the instance that takes
// the lock, with its own files; an instance that does not hold the lock leaves it alone, also
// on its timer.
TEST_F(StartupTest, AHandOffLeftOverIsListedByTheInstanceThatHoldsTheLock) {
  const QString left = picture("left.jpg", exifDate(2003, 1, 1, 1, 1, 1));
  handoff::Append(left);
  ui.setAnotherInstance(true);
  ASSERT_TRUE(start());  // no files: acts as a primary, but another instance still runs
  window->tmrLoadFiles_Timer();
  EXPECT_TRUE(handoff::Exists());
  EXPECT_TRUE(rowNames().isEmpty());
  window.reset();
  ui.setAnotherInstance(false);
  ASSERT_TRUE(start("\"" + picture("own.jpg", exifDate(2003, 2, 1, 1, 1, 1)) + "\""));
  EXPECT_FALSE(handoff::Exists());
  EXPECT_EQ(rowNames(), (QStringList{"left.jpg", "own.jpg"}));
}

// Paths of the command line are taken in the working folder of the start: listed with their
// folder, or handed over as absolute paths.
TEST_F(StartupTest, RelativePathsOfTheCommandLineAreTakenInTheWorkingFolder) {
  const QString working = QDir::currentPath();
  QDir().mkpath(pictureDir + "/sub");
  picture("x.jpg", exifDate(2004, 2, 3, 4, 5, 6));
  ASSERT_TRUE(QDir::setCurrent(pictureDir + "/sub"));
  const bool started = start("\"../x.jpg\"");
  ASSERT_TRUE(QDir::setCurrent(working));
  ASSERT_TRUE(started);
  ASSERT_EQ(rowNames(), QStringList{"x.jpg"});
  const int row = 0;
  EXPECT_EQ(window->lvwFiles->text(row, FileListView::kFolder), pictureDir);
  EXPECT_EQ(window->lvwFiles->key(row), pictureDir + "/x.jpg");
  window->lvwFiles->setCurrentRow(row);
  EXPECT_EQ(window->sbrStatus->text("NewName"), "20040203XX.jpg");
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();

  window.reset();
  ui.setAnotherInstance(true);
  ASSERT_TRUE(QDir::setCurrent(pictureDir));
  const bool handedOver = !start("\"y.jpg\" \"/abs/z.jpg\"");
  ASSERT_TRUE(QDir::setCurrent(working));
  EXPECT_TRUE(handedOver);
  EXPECT_EQ(testsupport::readFile(handoff::FileName()), (pictureDir + "/y.jpg\r\n/abs/z.jpg\r\n").toUtf8());
}

TEST_F(StartupTest, TheLastSettingsFileIsLoaded) {
  const QString settings = pictureDir + "/mine.tdc";
  CurrentConfig().SetPrefix("Vacances_");
  ASSERT_TRUE(CurrentConfig().Save(settings));
  CurrentConfig() = ConfigClass();
  SetParam("Files", "LastConfig", settings);
  ASSERT_TRUE(start());
  EXPECT_EQ(CurrentConfig().Prefix(), "Vacances_");
  EXPECT_EQ(CurrentConfig().Path(), settings);
  EXPECT_FALSE(CurrentConfig().Modified());
}

TEST_F(StartupTest, ClosePromptAnswers) {
  ASSERT_TRUE(start());
  wMain& w = *window;
  CurrentConfig().SetPrefix("P");

  ui.queueAnswer(ui::Answer::Cancel);
  EXPECT_FALSE(w.close());
  EXPECT_EQ(ui.messages().last().text, kPromptText);
  EXPECT_EQ(ui.messages().last().buttons, ui::Buttons::YesNoCancel);
  EXPECT_EQ(ui.messages().last().icon, ui::Icon::Exclamation);
  EXPECT_EQ(ui.messages().last().title, "Tindra");

  ui.queueAnswer(ui::Answer::Yes);  // then the save dialog is cancelled
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(ui.fileDialogs().last().save);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(QFile::exists(ini()));

  const QString settings = pictureDir + "/saved.tdc";
  ui.queueAnswer(ui::Answer::Yes);
  ui.queueFileName(settings);
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(QFile::exists(settings));
  EXPECT_EQ(GetParam("Files", "LastConfig", ""), settings);
  EXPECT_EQ(ui.unansweredMessages(), 0);
}

TEST_F(StartupTest, AnsweringNoClosesWithoutSavingButStoresTheLayout) {
  ASSERT_TRUE(start());
  CurrentConfig().SetPrefix("P");
  ui.queueAnswer(ui::Answer::No);
  window->mnuFileQuit_Click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(GetParam("Files", "LastConfig", ""), "");
  EXPECT_EQ(GetParam("Layout", "Cursor", ""), "40");
  EXPECT_TRUE(ui.fileDialogs().isEmpty());
}

TEST_F(StartupTest, OpenAndSaveDialogsStartFromTheLastSettingsFile) {
  ASSERT_TRUE(start());
  const QString settings = pictureDir + "/one.tdc";
  CurrentConfig().SetPostfix("_fin");
  ui.queueFileName(settings);
  window->mnuFileSave_Click();
  EXPECT_FALSE(CurrentConfig().Modified());
  EXPECT_EQ(GetParam("Files", "LastConfig", ""), settings);

  CurrentConfig() = ConfigClass();
  window->mnuFileOpen_Click();  // cancelled: nothing changes
  const ui::FileDialogRequest& request = ui.fileDialogs().last();
  EXPECT_FALSE(request.save);
  EXPECT_FALSE(request.multi);
  EXPECT_EQ(request.filter, "Fichiers de configuration Tindra (*.tdc)|*.tdc|Tous les fichiers|*.*");
  EXPECT_EQ(request.fileName, "one.tdc");
  EXPECT_EQ(request.initDir, pictureDir);
  EXPECT_EQ(CurrentConfig().Postfix(), "");

  ui.queueFileName(settings);
  window->mnuFileOpen_Click();
  EXPECT_EQ(CurrentConfig().Postfix(), "_fin");
}

// A name typed without extension is saved with ".tdc". The dialog only asked about the name as
// typed: replacing an existing file of the completed name is asked, and "Non" asks again.
TEST_F(StartupTest, SettingsSavedUnderANameWithoutExtensionGetTdc) {
  ASSERT_TRUE(start());
  const QString saved = pictureDir + "/bretagne.tdc";
  CurrentConfig().SetPostfix("_fin");
  ui.queueFileName(pictureDir + "/bretagne");
  window->mnuFileSave_Click();
  EXPECT_FALSE(QFile::exists(pictureDir + "/bretagne"));
  EXPECT_TRUE(testsupport::readFile(saved).contains("Postfix=_fin"));
  EXPECT_EQ(GetParam("Files", "LastConfig", ""), saved);
  EXPECT_EQ(CurrentConfig().Path(), saved);
  EXPECT_TRUE(ui.messages().isEmpty());

  CurrentConfig().SetPostfix("_autre");
  ui.queueFileName(pictureDir + "/bretagne");
  ui.queueAnswer(ui::Answer::No);
  ui.queueFileName(pictureDir + "/notes.ini");  // an extension of its own is kept
  window->mnuFileSave_Click();
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_EQ(ui.messages().at(0).text, "Le fichier « bretagne.tdc » existe déjà.\r\nVoulez-vous le remplacer ?");
  EXPECT_EQ(ui.fileDialogs().last().fileName, "bretagne.tdc");
  EXPECT_TRUE(testsupport::readFile(saved).contains("Postfix=_fin"));
  EXPECT_TRUE(testsupport::readFile(pictureDir + "/notes.ini").contains("Postfix=_autre"));

  ui.queueFileName(pictureDir + "/bretagne");
  ui.queueAnswer(ui::Answer::Yes);
  window->mnuFileSave_Click();
  EXPECT_TRUE(testsupport::readFile(saved).contains("Postfix=_autre"));
}
