// The rename journal in the main window: Ctrl+Z gives the last rename's files their old names
// back and the rows follow; at start-up an interrupted rename is offered back or finished.
#include "app/dialogs/wParams.h"
#include "app/mainwindow/DialogCommands.h"
#include "app/mainwindow/JournalCommands.h"
#include "app/naming/JournalStore.h"
#include "tests/gui/WindowFixture.h"
#include "tests/support/DialogDriver.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

namespace {

using testsupport::exifDate;
using testsupport::whenShown;

class JournalWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    ::setenv("XDG_STATE_HOME", QFile::encodeName(testsupport::makeTempDir(QStringLiteral("state"))).constData(), 1);
    wMain& w = shownWindow();
    RegisterDialogCommands(w, DialogCommandOptions{0, 0});
    // b.jpg and c.jpg carry each other's future names.
    w.AddFiles(QStringList{picture("20050102AA.jpg", exifDate(2005, 1, 1, 10, 0, 0)),
                           picture("20050101AA.jpg", exifDate(2005, 1, 2, 10, 0, 0)),
                           picture("IMG_3.jpg", exifDate(2005, 1, 3, 10, 0, 0))}
                   .join(QStringLiteral("\r\n")));
    original = diskContents();
  }

  QMap<QString, QByteArray> diskContents() const {
    QMap<QString, QByteArray> contents;
    for (const QString& name : QDir(pictureDir).entryList(QDir::Files))
      contents.insert(name, testsupport::readFile(pictureDir + "/" + name));
    return contents;
  }

  void renameThroughTheWindow() {
    whenShown<wParams>([](wParams* dialog) { dialog->cmdBoutons[1]->click(); });
    ui.queueAnswer(ui::Answer::Ok);
    window->mnuActionRename->trigger();
    ASSERT_EQ(rowNames(), (QStringList{"20050101AA.jpg", "20050102AA.jpg", "20050103AA.jpg"}));
  }

  void expectRowsAreTheOriginalFiles() {
    EXPECT_EQ(diskContents(), original);
    for (size_t item : window->lvwFiles->allRows()) {
      EXPECT_EQ(window->lvwFiles->key(item), pictureDir + "/" + window->lvwFiles->text(item, FileListView::kName));
      EXPECT_TRUE(window->lvwFiles->isChecked(item));
    }
    EXPECT_EQ(rowNames(), (QStringList{"20050102AA.jpg", "20050101AA.jpg", "IMG_3.jpg"}));
  }

  QMap<QString, QByteArray> original;
};

TEST_F(JournalWindowTest, CtrlZGivesTheOldNamesBackAndTheRowsFollow) {
  renameThroughTheWindow();
  EXPECT_EQ(window->mnuEditUndo->text(), QStringLiteral("&Annuler le dernier renommage"));
  EXPECT_EQ(window->mnuEditUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  ui.clearRecords();
  ui.queueAnswer(ui::Answer::Ok);
  window->mnuEditUndo->trigger();
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_TRUE(ui.messages().at(0).text.startsWith(QStringLiteral("Rendre leurs anciens noms aux 3 fichiers renommés le ")));
  expectRowsAreTheOriginalFiles();

  ui.clearRecords();
  window->mnuEditUndo->trigger();
  EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Aucun renommage à annuler.")});
}

// A run killed after its moves, before its outcome: the start-up question gives the old names
// back on "Oui"; "Annuler" leaves it for the next start.
TEST_F(JournalWindowTest, StartUpOffersAnInterruptedRenameBack) {
  renameThroughTheWindow();
  const QString journal = QDir(journalFolder()).entryInfoList({"*.journal"}).value(0).filePath();
  QByteArray text = testsupport::readFile(journal);
  ASSERT_TRUE(text.endsWith("end\tcomplete\n"));
  text.chop(QByteArray("end\tcomplete\n").size());
  ASSERT_TRUE(testsupport::writeFile(journal, text));

  ui.clearRecords();
  ui.queueAnswer(ui::Answer::Cancel);
  OfferRecovery(*window);
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_TRUE(ui.messages().at(0).text.startsWith(QStringLiteral("Un renommage de 3 fichiers commencé le ")));
  EXPECT_TRUE(ui.messages().at(0).text.contains(pictureDir));
  EXPECT_EQ(ui.messages().at(0).buttons, ui::Buttons::YesNoCancel);
  EXPECT_EQ(interruptedJournals().size(), 1);

  ui.clearRecords();
  ui.queueAnswer(ui::Answer::Yes);
  OfferRecovery(*window);
  EXPECT_EQ(ui.messages().size(), 1);
  expectRowsAreTheOriginalFiles();
  EXPECT_TRUE(interruptedJournals().isEmpty());
}

}  // namespace
