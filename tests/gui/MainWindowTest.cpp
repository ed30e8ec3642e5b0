// The main window driven offscreen through its handlers with the scripted services: layout,
// menus and toolbar, the file list and the details of the current row.
#include "tests/gui/WindowFixture.h"

#include "app/common/AppSettings.h"
#include "app/mainwindow/SplitterBar.h"
#include "app/mainwindow/StatusPanels.h"
#include "runtime/PathCodec.h"
#include "tests/support/GuardedFifo.h"
#include "tests/support/FormatBuilder.h"

#include <cstdio>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

using testsupport::exifDate;

namespace {

QAction* buttonFor(wMain& w, const QString& key) {
  for (QAction* action : w.tbrTools->actions()) {
    if (action->data().toString() == key) return action;
  }
  return nullptr;
}

}  // namespace

TEST_F(WindowFixture, MenusCarryTheirCaptionsNamesAndShortcuts) {
  wMain& w = shownWindow();
  struct Item { QAction* action; const char* name; QString caption; QKeySequence shortcut; };
  const Item items[] = {
      {w.mnuFileAdd, "mnuFileAdd", "&Ajouter...", QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
      {w.mnuFileDelete, "mnuFileDelete", "&Retirer", QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
      {w.mnuFileDeleteAll, "mnuFileDeleteAll", "&Tout retirer", {}},
      {w.mnuFileSave, "mnuFileSave", "&Enregistrer la configuration", {}},
      {w.mnuFileOpen, "mnuFileOpen", "Recharger une configuration", {}},
      {w.mnuFileQuit, "mnuFileQuit", "&Quitter", {}},
      {w.mnuEditCheck, "mnuEditCheck", "&Valider", {}},
      {w.mnuEditUncheck, "mnuEditUncheck", "&Dévalider", {}},
      {w.mnuEditCheckAll, "mnuEditCheckAll", "Tout &Valider", QKeySequence(Qt::Key_F3)},
      {w.mnuEditUncheckAll, "mnuEditUncheckAll", "Tout Déva&lider", QKeySequence(Qt::Key_F4)},
      {w.mnuEditSelectAll, "mnuEditSelectAll", "&Tout sélectionner", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {w.mnuEditProperties, "mnuEditProperties", "&Paramètres", QKeySequence(Qt::Key_F2)},
      {w.mnuActionRename, "mnuActionRename", "&Renommer", QKeySequence(Qt::Key_F5)},
      {w.mnuHelpIndex, "mnuHelpIndex", "&Aide                      F1", {}},
      {w.mnuHelpAbout, "mnuHelpAbout", "Au &Sujet de ...", {}},
  };
  for (const Item& item : items) {
    ASSERT_NE(item.action, nullptr) << item.name;
    EXPECT_EQ(item.action->objectName(), QString::fromLatin1(item.name));
    EXPECT_EQ(item.action->text(), item.caption) << item.name;
    EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.name;
  }
  QStringList menus;
  for (QAction* menu : w.menuBar()->actions()) menus.append(menu->text());
  EXPECT_EQ(menus, (QStringList{"&Fichier", "&Edition", "&Action", "&?"}));
  QStringList fileItems;
  for (QAction* action : w.mnuFile->actions()) fileItems.append(action->objectName());
  EXPECT_EQ(fileItems, (QStringList{"mnuFileAdd", "mnuFileDelete", "mnuFileDeleteAll", "mnuFileSep1", "mnuFileSave",
                                    "mnuFileOpen", "mnuFileSep2", "mnuFileQuit"}));
}

TEST_F(WindowFixture, ToolbarAndStatusBarFollowTheirDesign) {
  wMain& w = shownWindow(1200, 600);  // wide enough for every panel's designed width
  QStringList keys;
  QStringList tips;
  int separators = 0;
  for (QAction* action : w.tbrTools->actions()) {
    if (action->isSeparator()) {
      ++separators;
      continue;
    }
    keys.append(action->data().toString());
    tips.append(action->toolTip());
  }
  EXPECT_EQ(keys, (QStringList{"mnuFileAdd", "mnuFileDelete", "mnuFileDeleteAll", "mnuEditCheck", "mnuEditUncheck",
                               "mnuEditCheckAll", "mnuEditUncheckAll", "mnuEditProperties", "mnuActionRename"}));
  EXPECT_EQ(tips.first(), "Ajouter des fichiers");
  EXPECT_EQ(tips.last(), "Exécuter le changement de nom");
  EXPECT_EQ(separators, 2);

  ASSERT_EQ(w.sbrStatus->count(), 9);
  EXPECT_EQ(w.sbrStatus->panel(1)->text(), "Nom futur (sauf indice) : ");
  EXPECT_GE(w.sbrStatus->panel(1)->width(), 126);  // 1890 twips, or its text when wider
  EXPECT_EQ(w.sbrStatus->panel(QStringLiteral("CreateLabel"))->text(), "Creation :");
  EXPECT_GE(w.sbrStatus->panel(QStringLiteral("CreateLabel"))->width(), 53);  // its minimum, 800 twips
  EXPECT_GE(w.sbrStatus->panel(QStringLiteral("CreateDate"))->width(),
            w.sbrStatus->panel(QStringLiteral("CreateDate"))->fontMetrics().horizontalAdvance("00/00/0000 00:00:00"));
  EXPECT_EQ(w.sbrStatus->panel(QStringLiteral("ImgSize"))->toolTip(), "Taille et couleurs de l'image");
  EXPECT_EQ(w.sbrStatus->panel(QStringLiteral("FileDate"))->toolTip(), "Date de modification fichier");
  EXPECT_EQ(w.sbrStatus->key(7), "ModifDate");
  EXPECT_GE(w.sbrStatus->panel(QStringLiteral("NewName"))->width(), 153);

  QStringList headers;
  for (int c = 0; c < FileListView::kColumnCount; ++c) headers.append(w.lvwFiles->headerText(c));
  EXPECT_EQ(headers, (QStringList{"Conv. | Nom fichier", "Chemin source", "GDH", "EXIF", "Nom futur", "Date retenue"}));
  EXPECT_EQ(w.lvwFiles->columnWidth(FileListView::kDateKey), 0);
}

// Every button runs the command of the menu item named by its key.
TEST_F(WindowFixture, ToolbarButtonsRunTheCommandOfTheirMenuItem) {
  wMain& w = shownWindow();
  QStringList ran;
  w.setCommand(QStringLiteral("mnuEditProperties"), [&] { ran << "properties"; });
  w.setCommand(QStringLiteral("mnuActionRename"), [&] { ran << "rename"; });
  const QString a = picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  const QString b = picture("b.jpg", exifDate(2005, 1, 2, 10, 0, 0));
  const QString c = picture("c.jpg", exifDate(2005, 1, 3, 10, 0, 0));
  w.AddFiles(a + "\r\n" + b + "\r\n" + c);
  ASSERT_EQ(w.lvwFiles->rowCount(), 3);
  const int first = 0;

  w.lvwFiles->setRowSelected(first, true);
  buttonFor(w, "mnuEditUncheck")->trigger();
  EXPECT_FALSE(w.lvwFiles->isChecked(first));
  EXPECT_TRUE(w.lvwFiles->isChecked(1));
  buttonFor(w, "mnuEditCheck")->trigger();
  EXPECT_TRUE(w.lvwFiles->isChecked(first));
  buttonFor(w, "mnuEditUncheckAll")->trigger();
  for (size_t item : w.lvwFiles->allRows()) EXPECT_FALSE(w.lvwFiles->isChecked(item));
  buttonFor(w, "mnuEditCheckAll")->trigger();
  for (size_t item : w.lvwFiles->allRows()) EXPECT_TRUE(w.lvwFiles->isChecked(item));
  buttonFor(w, "mnuEditProperties")->trigger();
  buttonFor(w, "mnuActionRename")->trigger();
  EXPECT_EQ(ran, (QStringList{"properties", "rename"}));
  buttonFor(w, "mnuFileAdd")->trigger();
  EXPECT_EQ(ui.fileDialogs().size(), 1);
  buttonFor(w, "mnuFileDelete")->trigger();
  EXPECT_EQ(rowNames(), (QStringList{"b.jpg", "c.jpg"}));
  buttonFor(w, "mnuFileDeleteAll")->trigger();
  EXPECT_EQ(w.lvwFiles->rowCount(), 0);
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();

  // A button whose key names no handler is a reported failure of the dispatch.
  QAction* stray = w.tbrTools->addAction(QStringLiteral("x"));
  stray->setData(QStringLiteral("mnuNothing"));
  stray->trigger();
  ASSERT_EQ(reportedErrors().size(), 1);
  EXPECT_TRUE(reportedErrors().first().contains("Object : tbrTools\nEvent : ButtonClick") ||
              reportedErrors().first().contains("Object : tbrTools\r\nEvent : ButtonClick"))
      << reportedErrors().first().toStdString();
}

TEST_F(WindowFixture, CommandsOfOtherModulesStayOffUntilRegistered) {
  wMain& w = shownWindow();
  EXPECT_FALSE(w.mnuActionRename->isEnabled());
  EXPECT_FALSE(buttonFor(w, "mnuActionRename")->isEnabled());
  w.setCommand(QStringLiteral("mnuActionRename"), [] {});
  EXPECT_TRUE(w.mnuActionRename->isEnabled());
  EXPECT_TRUE(buttonFor(w, "mnuActionRename")->isEnabled());
  EXPECT_FALSE(w.mnuEditProperties->isEnabled());
}

TEST_F(WindowFixture, AddingKeepsOneRowPerPathAndOnlyPictureExtensions) {
  wMain& w = shownWindow();
  const QString upper = picture("UPPER.JPG", exifDate(2005, 3, 1, 8, 0, 0));
  const QString text = pictureDir + "/notes.txt";
  const QString jpe = pictureDir + "/old.jpe";
  testsupport::writeFile(text, "hello");
  testsupport::writeFile(jpe, "x");
  w.AddFiles(upper + "\r\n" + text + "\r\n\r\n" + jpe);
  EXPECT_EQ(rowNames(), QStringList{"UPPER.JPG"});
  w.AddFiles(upper);
  w.lvwFiles_OLEDragDrop({upper});
  EXPECT_EQ(w.lvwFiles->rowCount(), 1);
  EXPECT_TRUE(w.ExistItem(upper));
  EXPECT_FALSE(w.ExistItem(text));

  // jpeg, bmp and gif are pictures too; whatever they hold, they are listed.
  const QString jpeg = picture("c.jpeg", exifDate(2005, 3, 2, 8, 0, 0));
  const QString bmp = pictureDir + "/d.bmp";
  const QString gif = pictureDir + "/e.GIF";
  testsupport::writeFile(bmp, "BM");
  testsupport::writeFile(gif, "GIF89a");
  w.lvwFiles_OLEDragDrop({jpeg, bmp, gif});
  EXPECT_EQ(w.lvwFiles->rowCount(), 4);
  const int row = w.lvwFiles->row(upper);
  ASSERT_GE(row, 0);
  EXPECT_EQ(w.lvwFiles->text(row, FileListView::kFolder), pictureDir);
  EXPECT_EQ(w.lvwFiles->text(row, FileListView::kDateKey), "20050301080000");
  EXPECT_EQ(w.lvwFiles->text(row, FileListView::kExif), "X");
  EXPECT_TRUE(w.lvwFiles->isChecked(row));
  EXPECT_EQ(w.lvwFiles->text(w.lvwFiles->row(bmp), FileListView::kExif), "");
  EXPECT_EQ(w.lvwFiles->text(w.lvwFiles->row(bmp), FileListView::kDateKey).size(), 14);  // its file date
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

// A named pipe or a symbolic link is refused at once with one message naming them;
// a file reached by another path (a linked folder) is listed once; the other files go on.
TEST_F(WindowFixture, AddingRefusesWhatIsNotARegularFileAndListsAFileOnce) {
  wMain& w = shownWindow();
  const QString photo = picture("photo.jpg", exifDate(2005, 3, 1, 8, 0, 0));
  const testsupport::GuardedFifo pipe(pictureDir + "/tube.jpg");
  ASSERT_TRUE(pipe.made());
  const QString link = pictureDir + "/lien.jpg";
  ASSERT_TRUE(QFile::link(photo, link));
  const QString linkedFolder = testsupport::makeTempDir() + "/photos";
  ASSERT_TRUE(QFile::link(pictureDir, linkedFolder));

  w.AddFiles(pipe.path() + "\r\n" + link + "\r\n" + photo + "\r\n" + linkedFolder + "/photo.jpg");
  EXPECT_EQ(rowNames(), QStringList{"photo.jpg"});
  EXPECT_TRUE(w.ExistItem(photo));
  EXPECT_FALSE(pipe.releasedAReader());
  const QStringList shown = ui.messageTexts();
  ASSERT_EQ(shown.size(), 1) << shown.join("\n---\n").toStdString();
  EXPECT_TRUE(shown[0].contains("« " + pipe.path() + " » n'est pas un fichier ordinaire")) << shown[0].toStdString();
  EXPECT_TRUE(shown[0].contains("« " + link + " » est un lien symbolique")) << shown[0].toStdString();

  // Removed, the file can come back under any of its paths, once.
  w.mnuFileDeleteAll_Click();
  w.lvwFiles_OLEDragDrop({linkedFolder + "/photo.jpg", photo});
  EXPECT_EQ(w.lvwFiles->rowCount(), 1);
  EXPECT_TRUE(w.ExistItem(linkedFolder + "/photo.jpg"));
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

TEST_F(WindowFixture, RowsStayInShootingOrderWhateverTheAddingOrder) {
  wMain& w = shownWindow();
  const QString later = picture("later.jpg", exifDate(2006, 7, 14, 10, 0, 5));
  const QString earlier = picture("earlier.jpg", exifDate(2006, 7, 14, 9, 59, 59));
  // Only an EXIF modification date: it is the key, and the picture counts as dated.
  testsupport::ExifContent modifiedOnly;
  modifiedOnly.dateTime = exifDate(2006, 7, 14, 10, 0, 0);
  const QString middle = testsupport::writeDisplayableJpeg(pictureDir, "middle.jpg", modifiedOnly);
  w.AddFiles(later);
  w.AddFiles(earlier);
  w.lvwFiles_OLEDragDrop({middle});
  EXPECT_EQ(rowNames(), (QStringList{"earlier.jpg", "middle.jpg", "later.jpg"}));
  EXPECT_EQ(w.lvwFiles->text(w.lvwFiles->row(middle), FileListView::kExif), "X");
  EXPECT_EQ(w.lvwFiles->text(w.lvwFiles->row(middle), FileListView::kDateKey), "20060714100000");
}

// Pictures of the same second with fractions of a second are listed in shooting order, the
// current row staying current; one without a fraction keeps the place its adding gave it.
TEST_F(WindowFixture, BurstOfOneSecondIsListedInShootingOrder) {
  wMain& w = shownWindow();
  const auto burst = [&](const QString& name, const QByteArray& fraction) {
    testsupport::ExifContent content;
    content.dateTimeOriginal = exifDate(2014, 8, 5, 1, 45, 1);
    content.subSecTimeOriginal = fraction;
    return testsupport::writeDisplayableJpeg(pictureDir, name, content);
  };
  const QString c = burst("c.jpg", "5"), plain = burst("plain.jpg", ""), a = burst("a.jpg", "9");
  w.AddFiles(c + "\r\n" + plain + "\r\n" + a);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(a));
  w.AddFiles(burst("e.jpg", "045") + "\r\n" + burst("b.jpg", "73"));
  EXPECT_EQ(rowNames(), (QStringList{"e.jpg", "plain.jpg", "c.jpg", "b.jpg", "a.jpg"}));
  EXPECT_EQ(w.lvwFiles->currentRow(), w.lvwFiles->row(a));
}

TEST_F(WindowFixture, SelectAllShowsTheOnlyRowAndClearsForSeveral) {
  wMain& w = shownWindow();
  const QString a = picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0), exifDate(2005, 1, 2, 11, 0, 0));
  w.AddFiles(a);
  w.mnuEditSelectAll_Click();
  EXPECT_EQ(w.lvwFiles->currentRow(), 0);
  EXPECT_EQ(w.sbrStatus->text("CreateDate"), "01/01/2005 10:00:00");
  EXPECT_EQ(w.sbrStatus->text("ModifDate"), "02/01/2005 11:00:00");
  EXPECT_FALSE(w.sbrStatus->text("FileDate").isEmpty());
  EXPECT_EQ(w.sbrStatus->text("NewName"), "20050101XX.jpg");
  EXPECT_TRUE(w.imgSample->isVisible());

  w.AddFiles(picture("b.jpg", exifDate(2005, 1, 3, 10, 0, 0)));
  w.mnuEditSelectAll_Click();
  EXPECT_EQ(w.lvwFiles->selectedRows().size(), 2u);
  EXPECT_EQ(w.lvwFiles->currentRow(), -1);
  EXPECT_EQ(w.sbrStatus->text("CreateDate"), "");
  EXPECT_EQ(w.sbrStatus->text("NewName"), "");
  EXPECT_FALSE(w.imgSample->isVisible());
}

TEST_F(WindowFixture, RemovingTakesOnlySelectedRowsAndFreesTheirKeys) {
  wMain& w = shownWindow();
  const QString a = picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  const QString b = picture("b.jpg", exifDate(2005, 1, 2, 10, 0, 0));
  w.AddFiles(a + "\r\n" + b);
  w.lvwFiles->clearSelection();
  w.mnuFileDelete_Click();
  EXPECT_EQ(w.lvwFiles->rowCount(), 2);
  w.lvwFiles->setRowSelected(w.lvwFiles->row(a), true);
  w.mnuFileDelete_Click();
  EXPECT_EQ(rowNames(), QStringList{"b.jpg"});
  EXPECT_FALSE(w.ExistItem(a));
  w.AddFiles(a);  // a removed path can be added again
  EXPECT_EQ(rowNames(), (QStringList{"a.jpg", "b.jpg"}));
  // Removing the current row leaves no row current and no picture shown.
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(a));
  ASSERT_TRUE(w.imgSample->isVisible());
  w.mnuFileDelete_Click();
  EXPECT_EQ(w.lvwFiles->currentRow(), -1);
  EXPECT_FALSE(w.imgSample->isVisible());
  EXPECT_EQ(rowNames(), QStringList{"b.jpg"});
  w.mnuFileDeleteAll_Click();
  EXPECT_FALSE(w.ExistItem(b));
  EXPECT_FALSE(w.imgSample->isVisible());
}

TEST_F(WindowFixture, DoubleClickTogglesTheCurrentRow) {
  wMain& w = shownWindow();
  w.AddFiles(picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0)));
  w.lvwFiles_DblClick();  // no current row: nothing happens
  EXPECT_TRUE(w.lvwFiles->isChecked(0));
  w.lvwFiles->setCurrentRow(0);
  w.lvwFiles_DblClick();
  EXPECT_FALSE(w.lvwFiles->isChecked(0));
  w.lvwFiles_DblClick();
  EXPECT_TRUE(w.lvwFiles->isChecked(0));
}

// Colour count in the size panel: 24-bit colour, 8-bit grey, and a file without frame header.
TEST_F(WindowFixture, SizePanelShowsDimensionsAndColours) {
  wMain& w = shownWindow();
  const QString colour = picture("colour.jpg", exifDate(2005, 1, 1, 10, 0, 0), QByteArray(), 640, 480);
  QImage greyImage(32, 16, QImage::Format_Grayscale8);
  greyImage.fill(128);
  const QString grey = pictureDir + "/grey.jpg";
  ASSERT_TRUE(greyImage.save(grey, "JPG"));
  QImage bitmap(20, 10, QImage::Format_RGB32);
  bitmap.fill(Qt::red);
  const QString bmp = pictureDir + "/plain.bmp";
  ASSERT_TRUE(bitmap.save(bmp, "BMP"));
  w.AddFiles(colour + "\r\n" + grey + "\r\n" + bmp);
  const auto sizeOf = [&](const QString& path) {
    w.lvwFiles->setCurrentRow(w.lvwFiles->row(path));
    return w.sbrStatus->text("ImgSize");
  };
  EXPECT_EQ(sizeOf(colour), "640x480x16M ");
  EXPECT_EQ(sizeOf(grey), "32x16x256 ");
  EXPECT_EQ(sizeOf(bmp), "0x0x1 ");
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

TEST_F(WindowFixture, CorrectionShowsInTheFutureNameButNotInTheKey) {
  wMain& w = shownWindow();
  ConfigClass& config = CurrentConfig();
  config.SetIsTimeDigit(1, true);
  config.SetIsTimeDigit(2, true);
  config.SetIsSuffix(false);
  config.SetOffsetApply(true);
  config.SetDateExif(rt::makeDate(2005, 1, 1, 10, 0, 0));
  config.SetDateReal(rt::makeDate(2005, 1, 1, 11, 30, 0));
  const QString path = picture("IMG_1.JPG", exifDate(2005, 6, 1, 8, 0, 0));
  w.AddFiles(path);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(path));
  EXPECT_EQ(w.lvwFiles->text(w.lvwFiles->row(path), FileListView::kDateKey), "20050601080000");
  EXPECT_EQ(w.sbrStatus->text("NewName"), "200506010930.JPG");
  config.SetIsSuffix(true);
  config.SetSuffixType(1);
  config.SetDigits(3);
  w.lvwFiles_ItemClick(w.lvwFiles->currentRow());
  EXPECT_EQ(w.sbrStatus->text("NewName"), "200506010930000.JPG");
}

TEST_F(WindowFixture, SplitterStopsAtTheEdgesAndTheListFollowsOnRelease) {
  wMain& w = shownWindow(900, 600);
  w.frmCursor->move(300, w.frmCursor->y());
  w.Form_Resize();
  w.frmCursor_MouseMove(Qt::NoButton, -500);  // without the button nothing moves
  EXPECT_EQ(w.frmCursor->x(), 300);
  w.frmCursor_MouseMove(Qt::LeftButton, -500);
  EXPECT_EQ(w.frmCursor->x(), 0);
  EXPECT_EQ(w.lvwFiles->width(), 299);  // laid out only at release
  w.frmCursor_MouseUp();
  EXPECT_EQ(w.lvwFiles->width(), 0);
  w.frmCursor_MouseMove(Qt::LeftButton, 5000);
  EXPECT_EQ(w.frmCursor->x(), w.innerWidth() - 6);
  w.frmCursor_MouseUp();
  EXPECT_EQ(w.lvwFiles->width(), w.innerWidth() - 7);
  EXPECT_EQ(w.frmCursor->y(), w.tbrTools->height());
  EXPECT_EQ(w.frmCursor->height(), w.innerHeight() - w.tbrTools->height() - w.sbrStatus->height());
}

TEST_F(WindowFixture, PreviewFitsAndCentresThePicture) {
  wMain& w = shownWindow(900, 600);
  w.frmCursor->move(294, w.frmCursor->y());
  w.Form_Resize();
  const QString wide = picture("wide.jpg", exifDate(2005, 1, 1, 10, 0, 0), QByteArray(), 80, 20);
  w.AddFiles(wide);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(wide));
  const int areaLeft = 300;
  const int areaWidth = w.innerWidth() - areaLeft;
  const int areaTop = w.tbrTools->height();
  const int areaHeight = w.innerHeight() - areaTop - w.sbrStatus->height();
  // A small picture is enlarged until it touches the area's sides, and centred vertically.
  const QRect shown = w.imgSample->geometry();
  EXPECT_EQ(shown.left(), areaLeft);
  EXPECT_EQ(shown.width(), areaWidth);
  EXPECT_NEAR(shown.height(), areaWidth / 4.0, 1);
  EXPECT_NEAR(shown.top(), areaTop + (areaHeight - areaWidth / 4.0) / 2, 1);
  // A window too small for its bars leaves the preview as it was.
  w.resize(200, 20);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.lvwFiles->height(), 0);
  EXPECT_EQ(w.frmCursor->height(), 0);
  EXPECT_EQ(w.imgSample->geometry(), shown);
}

// A name that is not UTF-8 is listed, dated and shown like any other.
TEST_F(WindowFixture, NamesThatAreNotUtf8AreListedAndShown) {
  wMain& w = shownWindow(900, 600);
  const QString made = picture("made.jpg", exifDate(2005, 1, 1, 10, 0, 0), QByteArray(), 80, 20);
  const QString odd = rt::decodePath(rt::encodePath(pictureDir) + "/caf\xe9.jpg");
  ASSERT_EQ(::rename(rt::encodePath(made).constData(), rt::encodePath(odd).constData()), 0);
  w.AddFiles(odd);
  ASSERT_GE(w.lvwFiles->row(odd), 0);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(odd));
  EXPECT_EQ(w.sbrStatus->text("CreateDate"), "01/01/2005 10:00:00");
  EXPECT_FALSE(w.imgSample->isHidden());
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

// Files dropped or handed over while a long addition runs join it: nothing is lost, nothing
// doubled, and the list ends sorted.
TEST_F(WindowFixture, FilesArrivingDuringAnAdditionJoinIt) {
  wMain& w = shownWindow();
  w.setEventsInterval(0);
  QStringList first;
  for (int i = 0; i < 6; ++i) first << picture(QString("f%1.jpg").arg(i), exifDate(2005, 1, 10 + i, 10, 0, 0));
  const QString dropped = picture("dropped.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  const QString handed = picture("handed.jpg", exifDate(2005, 1, 30, 10, 0, 0));
  bool wasAdding = false;
  QTimer::singleShot(0, &w, [&] {
    wasAdding = w.isAdding();
    EXPECT_FALSE(w.mnuFileAdd->isEnabled());
    w.lvwFiles_OLEDragDrop({dropped, first.first()});
    w.AddFiles(handed);
  });
  w.AddFiles(first.join("\r\n"));
  EXPECT_TRUE(wasAdding);
  EXPECT_FALSE(w.isAdding());
  EXPECT_TRUE(w.mnuFileAdd->isEnabled());
  EXPECT_GT(ui.eventRuns(), 0);
  EXPECT_EQ(w.lvwFiles->rowCount(), 8);
  EXPECT_EQ(rowNames().first(), "dropped.jpg");
  EXPECT_EQ(rowNames().last(), "handed.jpg");
  EXPECT_EQ(ui.mousePointer(), ui::Pointer::Default);
  EXPECT_TRUE(ui.pointerHistory().contains(ui::Pointer::Busy));
}

TEST_F(WindowFixture, AddDialogAddsEveryChosenFileAndRemembersTheFolder) {
  wMain& w = shownWindow();
  const QString a = picture("a.jpg", exifDate(2005, 1, 1, 10, 0, 0));
  testsupport::writeFile(pictureDir + "/readme.txt", "text");
  ui.queueFileName(pictureDir + QChar(0) + "readme.txt" + QChar(0) + "a.jpg");
  w.mnuFileAdd_Click();
  ASSERT_EQ(ui.fileDialogs().size(), 1);
  const ui::FileDialogRequest& request = ui.fileDialogs().first();
  EXPECT_TRUE(request.filter.startsWith("Photos et vidéos|*.jpg;*.jpeg;*.bmp;*.gif;*.heic;"));
  EXPECT_TRUE(request.filter.contains(";*.nef;")) << request.filter.toStdString();
  EXPECT_TRUE(request.filter.endsWith("|Fichiers JPEG (*.jpg)|*.jpg|Fichiers BMP (*.bmp)|*.bmp|Tous les fichiers (*.*)|*.*"));
  EXPECT_TRUE(request.multi);
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.initDir, "");
  EXPECT_EQ(w.lvwFiles->rowCount(), 2);  // no extension test for the dialog
  EXPECT_EQ(w.lvwFiles->text(w.lvwFiles->row(pictureDir + "/readme.txt"), FileListView::kExif), "");
  EXPECT_TRUE(w.ExistItem(a));
  // The text file is dated now, so it is the last row and becomes current: it cannot be
  // displayed, which is reported.
  EXPECT_EQ(w.lvwFiles->currentRow(), w.lvwFiles->row(pictureDir + "/readme.txt"));
  ASSERT_EQ(reportedErrors().size(), 1);
  EXPECT_TRUE(reportedErrors().first().startsWith("Error Nr 481")) << reportedErrors().first().toStdString();

  // The next dialog opens in the folder used last; a cancelled dialog changes nothing.
  w.mnuFileAdd_Click();
  EXPECT_EQ(ui.fileDialogs().last().initDir, pictureDir);
  EXPECT_EQ(w.lvwFiles->rowCount(), 2);
}

TEST_F(WindowFixture, HelpOpensAtTheActiveWindowTopic) {
  wMain& w = shownWindow();
  w.activateWindow();
  w.lvwFiles->setFocus();
  QCoreApplication::processEvents();
  w.mnuHelpIndex_Click();
  EXPECT_EQ(ui.helpTopics(), QList<int>{100});
}

// At the window's first size every caption is whole and readable and no panel runs into the
// next; a value that cannot fit is cut, whole in its tooltip. Wider, every value is whole.
TEST_F(WindowFixture, StatusPanelsShareTheFirstWindowSizeWithoutOverlap) {
  wMain& w = shownWindow(870, 480);
  StatusPanels& bar = *w.sbrStatus;
  // Set after each resize: a resize shows the current row's details again.
  const auto fill = [&] {
    bar.setText("NewName", QStringLiteral("Vacances en Bretagne 2024-07-14 15h05h18 fin AA.jpg"));
    bar.setText("ImgSize", QStringLiteral("4000x3000x16M "));
    for (const char* key : {"CreateDate", "ModifDate", "FileDate"}) {
      bar.setText(QString::fromLatin1(key), QStringLiteral("31/12/2024 23:59:59"));
    }
  };
  const QStringList captions{"Nom futur (sauf indice) : ", "", "", "Creation :", "", "Modif :", "", "Fichier :", ""};
  const auto check = [&](bool allWhole) {
    int right = 0;
    int cut = 0;
    for (int i = 1; i <= 9; ++i) {
      const QLabel* panel = bar.panel(i);
      SCOPED_TRACE(i);
      EXPECT_GE(panel->x(), right);  // no overlap
      right = panel->geometry().right() + 1;
      EXPECT_LE(right, bar.width());
      const QFontMetrics metrics = panel->fontMetrics();
      if (!captions[i - 1].isEmpty()) {
        EXPECT_EQ(panel->text(), captions[i - 1]);
        EXPECT_GE(panel->contentsRect().width() - metrics.horizontalAdvance(QLatin1Char('x')) / 2,
                  metrics.horizontalAdvance(captions[i - 1]));
        continue;
      }
      const QString whole = bar.text(bar.key(i));
      ASSERT_FALSE(whole.isEmpty());
      if (panel->text() == whole) {
        EXPECT_FALSE(panel->toolTip().contains(whole));
        continue;
      }
      ++cut;
      EXPECT_TRUE(panel->text().endsWith(QChar(0x2026))) << panel->text().toStdString();
      EXPECT_TRUE(panel->toolTip().endsWith(whole)) << panel->toolTip().toStdString();
    }
    if (allWhole) {
      EXPECT_EQ(cut, 0);
    }
  };
  ASSERT_EQ(bar.width(), 870);
  fill();
  check(false);
  w.resize(1600, 480);
  QCoreApplication::processEvents();
  ASSERT_EQ(bar.width(), 1600);
  fill();
  check(true);
  EXPECT_EQ(bar.panel(QStringLiteral("CreateDate"))->toolTip(), "Date de création image");
}

// A settings file that fails part-way, or a file that is no settings file, opened from the File
// menu is reported and leaves the settings in force, as the parameters dialog's "Ouvrir..." does.
TEST_F(WindowFixture, FailedOpenFromTheMenuLeavesTheSettingsInForce) {
  wMain& w = shownWindow();
  CurrentConfig().SetPrefix("kept");
  const QString bad = pictureDir + "/bad.tdc";
  ASSERT_TRUE(testsupport::writeFile(bad, "[Tindra]\nPrefix=half\nDigits=300\n"));
  const QString photo = picture("photo.jpg", exifDate(2005, 6, 1, 10, 0, 0));
  w.AddFiles(photo);
  int reported = 0;
  for (const QString& path : {bad, photo}) {
    ui.queueFileName(path);
    w.mnuFileOpen_Click();
    EXPECT_EQ(CurrentConfig().Prefix(), "kept") << path.toStdString();
    EXPECT_EQ(CurrentConfig().Digits(), ConfigClass().Digits()) << path.toStdString();
    EXPECT_EQ(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString()), "") << path.toStdString();
    ASSERT_EQ(reportedErrors().size(), ++reported) << path.toStdString();
    EXPECT_EQ(w.lvwFiles->text(0, FileListView::kFutureName), "kept20050601AA.jpg") << path.toStdString();
  }
  EXPECT_TRUE(reportedErrors().last().contains("Format de fichier incorrect")) << reportedErrors().last().toStdString();
}

// The future name is what the rename writes, or nothing: the extension cased as it will be,
// nothing for a file whose name is asked or kept, and never a file no longer listed. It
// follows settings loaded from a file.
TEST_F(WindowFixture, FutureNameShowsWhatTheRenameWritesOrNothing) {
  wMain& w = shownWindow();
  CurrentConfig().SetExtension(2);
  const QString dated = picture("IMG_1.JPG", exifDate(2005, 6, 1, 8, 0, 0));
  const QString undated = testsupport::writeDisplayableJpeg(pictureDir, "U.JPG", testsupport::ExifContent{});
  w.AddFiles(dated + "\r\n" + undated);
  const QString undatedKey = w.lvwFiles->text(w.lvwFiles->row(undated), FileListView::kDateKey);
  ASSERT_EQ(undatedKey.size(), 14);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(dated));
  EXPECT_EQ(w.sbrStatus->text("NewName"), "20050601XX.jpg");
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(undated));
  EXPECT_EQ(w.sbrStatus->text("NewName"), undatedKey.left(8) + "XX.jpg");  // "Utiliser la date fichier"
  CurrentConfig().SetNotExif(2);  // "Demander le nom": the name is typed while renaming
  w.lvwFiles_ItemClick(w.lvwFiles->currentRow());
  EXPECT_EQ(w.sbrStatus->text("NewName"), "");
  CurrentConfig().SetNotExif(1);  // "Ne pas renommer"
  w.lvwFiles_ItemClick(w.lvwFiles->currentRow());
  EXPECT_EQ(w.sbrStatus->text("NewName"), "");

  ConfigClass loaded;
  loaded.SetPrefix("P");
  const QString settings = pictureDir + "/p.tdc";
  ASSERT_TRUE(loaded.Save(settings));
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(dated));
  ui.queueFileName(settings);
  w.mnuFileOpen_Click();
  EXPECT_EQ(w.sbrStatus->text("NewName"), "P20050601XX.JPG");

  w.mnuFileDeleteAll_Click();
  for (const char* key : {"NewName", "ImgSize", "CreateDate", "ModifDate", "FileDate"}) {
    EXPECT_EQ(w.sbrStatus->text(QString::fromLatin1(key)), "") << key;
  }
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

// A raw file shows its own JPEG preview; a movie, which cannot be decoded, a placeholder over
// the whole area with no error, while its date still shows.
TEST_F(WindowFixture, OtherFormatsShowTheirPreviewOrAPlaceholder) {
  wMain& w = shownWindow(900, 600);
  testsupport::RawContent raw;
  raw.jpeg = testsupport::readFile(picture("preview.jpg", exifDate(2005, 1, 1, 10, 0, 0), QByteArray(), 80, 20));
  const QString nef = pictureDir + "/DSC_0001.NEF";
  testsupport::writeFile(nef, testsupport::rawFile(raw));
  const QString mov = pictureDir + "/IMG_0002.MOV";
  testsupport::writeFile(mov, testsupport::box("ftyp", QByteArray("qt  ") + testsupport::be32(0) + "qt  ") +
                                  testsupport::box("moov", testsupport::appleCreationMeta("2019-07-24T11:25:40+0300")));
  w.AddFiles(nef + "\r\n" + mov);
  ASSERT_EQ(w.lvwFiles->rowCount(), 2);
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(nef));
  EXPECT_TRUE(w.imgSample->isVisible());
  EXPECT_NEAR(static_cast<double>(w.imgSample->width()) / w.imgSample->height(), 4.0, 0.1);
  EXPECT_EQ(w.sbrStatus->text("CreateDate"), "05/02/2021 10:56:50");
  w.lvwFiles->setCurrentRow(w.lvwFiles->row(mov));
  EXPECT_TRUE(w.imgSample->isVisible());
  EXPECT_EQ(w.imgSample->geometry().top(), w.tbrTools->height());
  EXPECT_EQ(w.imgSample->geometry().right(), w.innerWidth() - 1);
  EXPECT_EQ(w.sbrStatus->text("CreateDate"), "24/07/2019 11:25:40");
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}
