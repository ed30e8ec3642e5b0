// The plan columns of the main window ("Nom futur", "Date retenue"): every row shows what the
// rename will do with it, they follow the list and the settings, and the rename then does
// exactly what they showed.
#include "app/dialogs/wInputDate.h"
#include "app/dialogs/wParams.h"
#include "app/mainwindow/DialogCommands.h"
#include "tests/gui/WindowFixture.h"
#include "app/naming/PictureList.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FormatBuilder.h"

#include <QDir>
#include <QDateTime>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>

#include <algorithm>

namespace {

using testsupport::exifDate;
using testsupport::whenShown;

class PlanColumnsTest : public WindowFixture {
 protected:
  wMain& commandWindow() {
    wMain& w = shownWindow(1200, 600);
    RegisterDialogCommands(w, DialogCommandOptions{0, 0});
    return w;
  }

  static QString shot(const QString& dir, const QString& name, const QByteArray& taken, const QByteArray& fraction = {},
                      const QByteArray& modified = {}) {
    testsupport::ExifContent content;
    content.dateTimeOriginal = taken;
    content.subSecTimeOriginal = fraction;
    content.dateTime = modified;
    return testsupport::writeDisplayableJpeg(dir, name, content);
  }

  static QString undated(const QString& dir, const QString& name, const QDateTime& fileDate) {
    const QString path = testsupport::writeDisplayableJpeg(dir, name, testsupport::ExifContent{});
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(fileDate, QFileDevice::FileModificationTime));
    return path;
  }

  QStringList column(int c) const {
    QStringList texts;
    for (size_t row : window->lvwFiles->allRows()) texts.append(window->lvwFiles->text(static_cast<int>(row), c));
    return texts;
  }

  // Opens the settings through "Recharger une configuration", as a user does.
  void openSettings(ConfigClass config, const QString& name) {
    const QString path = programDir + "/" + name + ".tdc";
    ASSERT_TRUE(config.Save(path));
    ui.queueFileName(path);
    window->mnuFileOpen_Click();
  }

  static QStringList sorted(QStringList names) {
    names.sort();
    return names;
  }
};

ConfigClass defaults() { return ConfigClass(); }

ConfigClass timed() {
  ConfigClass config;
  config.SetPrefix("Vacances");
  config.SetIsTimeDigit(1, true);
  config.SetIsTimeDigit(2, true);
  config.SetSuffixType(1);
  config.SetDigits(3);
  config.SetExtension(1);
  config.SetNotExif(1);  // "Ne pas renommer"
  return config;
}

ConfigClass withoutSuffix() {
  ConfigClass config;
  config.SetIsSuffix(false);
  config.SetNotExif(2);  // "Demander le nom"
  return config;
}

ConfigClass tooLong() {
  ConfigClass config;
  config.SetPrefix(QString(250, QLatin1Char('P')));  // no name fits in a folder
  return config;
}

// Confirms the parameters dialog of the rename, with the camera's clock an hour late or not.
void confirmParameters(bool correction) {
  whenShown<wParams>([correction](wParams* dialog) {
    if (correction) {
      dialog->tbsOnglets->setCurrentIndex(1);
      dialog->chkTimeOffset[0]->click();
      dialog->txtTimeOffset[0]->setText(QStringLiteral("01/01/2005 10:00:00"));
      dialog->txtTimeOffset[1]->setText(QStringLiteral("01/01/2005 11:00:00"));
    }
    dialog->cmdBoutons[1]->click();
  });
}

// A folder of dated, same-second, EXIF-modification-dated, undated, unchecked and bystander
// files, under several settings files and a clock correction: after the rename every file has
// the name its row showed while the rename asked "Êtes vous sûr ?" (or keeps its own where the
// row said so), and the rows show those names.
TEST_F(PlanColumnsTest, TheRenameDoesWhatTheFutureNameColumnShowed) {
  wMain& w = commandWindow();
  QStringList seen;
  struct Run {
    ConfigClass config;
    QString name;
    bool correction;
  };
  const Run runs[] = {{defaults(), "defaults", false},
                      {timed(), "timed", true},
                      {withoutSuffix(), "nosuffix", false},
                      {tooLong(), "toolong", false}};
  for (const auto& [config, name, correction] : runs) {
    SCOPED_TRACE(name.toStdString());
    const QString dir = pictureDir + "/" + name;
    ASSERT_TRUE(QDir().mkpath(dir));
    // A burst in one second, added out of shooting order.
    const QString s3 = shot(dir, "s3.jpg", exifDate(2005, 1, 1, 12, 0, 0), "7");
    const QString s1 = shot(dir, "s1.jpg", exifDate(2005, 1, 1, 12, 0, 0), "05");
    const QString s2 = shot(dir, "s2.jpg", exifDate(2005, 1, 1, 12, 0, 0), "3");
    const QString a = shot(dir, "a.jpg", exifDate(2005, 1, 1, 10, 0, 0));
    const QString m = shot(dir, "m.JPG", QByteArray(), QByteArray(), exifDate(2005, 1, 2, 9, 0, 0));
    const QString u = undated(dir, "u.jpg", QDateTime(QDate(2005, 1, 3), QTime(14, 0, 0)));
    const QString x = shot(dir, "x.jpg", exifDate(2005, 1, 4, 8, 0, 0));
    testsupport::writeFile(dir + "/20050101AA.jpg", "bystander");
    testsupport::writeFile(dir + "/20050101.jpg", "bystander");
    w.mnuFileDeleteAll_Click();
    w.AddFiles(QStringList{s3, s1, s2, a, m, u, x}.join("\r\n"));
    w.lvwFiles->setChecked(w.lvwFiles->row(x), false);
    openSettings(config, name);
    ASSERT_EQ(rowNames(), (QStringList{"a.jpg", "s1.jpg", "s2.jpg", "s3.jpg", "m.JPG", "u.jpg", "x.jpg"}));

    QStringList future;
    QStringList dates;
    ui.onMessage = [&](const ui::ScriptedUiServices::Message& message) {
      if (!message.text.endsWith("Êtes vous sûr ?")) return;
      future = column(FileListView::kFutureName);
      dates = column(FileListView::kDateUsed);
    };
    confirmParameters(correction);
    ui.queueAnswer(ui::Answer::Ok);
    if (config.NotExif() == 2)  // the date of u.jpg is asked: no date given
      whenShown<wInputDate>([](wInputDate* dialog) { dialog->cmdBoutons[0]->click(); });
    window->mnuActionRename->trigger();
    ui.onMessage = nullptr;

    ASSERT_EQ(future.size(), 7);
    seen += future;
    EXPECT_EQ(future[6], "(non coché)");
    EXPECT_TRUE(dates[4].endsWith(" (EXIF modif.)")) << dates[4].toStdString();
    if (correction) {
      EXPECT_EQ(dates[0], "01/01/2005 11:00:00 (EXIF)");
    }
    if (name == "defaults" || name == "timed") {  // the burst is numbered in shooting order
      EXPECT_LT(future[1], future[2]);
      EXPECT_LT(future[2], future[3]);
    }
    const QStringList before{"a.jpg", "s1.jpg", "s2.jpg", "s3.jpg", "m.JPG", "u.jpg", "x.jpg"};
    QStringList expected;
    for (qsizetype i = 0; i < future.size(); ++i) expected.append(future[i].startsWith('(') ? before[i] : future[i]);
    EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
    EXPECT_EQ(rowNames(), expected);
    EXPECT_EQ(sorted(QDir(dir).entryList(QDir::Files)), sorted(expected + QStringList{"20050101AA.jpg", "20050101.jpg"}));
    EXPECT_EQ(testsupport::readFile(dir + "/20050101AA.jpg"), "bystander");
    EXPECT_EQ(testsupport::readFile(dir + "/20050101.jpg"), "bystander");
    ui.clearRecords();
  }
  // The runs showed every kind of row, with the date each name came from.
  for (const QString kind : {"(non coché)", "(non renommé)", "(date demandée)", "(impossible : "})
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [&](const QString& t) { return t.startsWith(kind); }))
        << kind.toStdString() << "\n" << seen.join("\n").toStdString();
  EXPECT_TRUE(seen.contains("Vacances200501011100001.JPG")) << seen.join("\n").toStdString();
}

// The column follows the check boxes and the settings of the parameters dialog, and the date
// column tells where each date came from, with the clock correction.
TEST_F(PlanColumnsTest, TheColumnsFollowCheckBoxesAndSettings) {
  wMain& w = commandWindow();
  const QString a = shot(pictureDir, "a.jpg", exifDate(2014, 8, 5, 1, 45, 1));
  const QString b = shot(pictureDir, "b.jpg", exifDate(2014, 8, 5, 3, 0, 0));
  const QString u = undated(pictureDir, "u.jpg", QDateTime(QDate(2014, 8, 6), QTime(7, 0, 0)));
  w.AddFiles(QStringList{a, b, u}.join("\r\n"));
  EXPECT_EQ(column(FileListView::kFutureName), (QStringList{"20140805AA.jpg", "20140805AB.jpg", "20140806AA.jpg"}));
  EXPECT_EQ(column(FileListView::kDateUsed),
            (QStringList{"05/08/2014 01:45:01 (EXIF)", "05/08/2014 03:00:00 (EXIF)", "06/08/2014 07:00:00 (fichier)"}));

  w.lvwFiles->setChecked(0, false);
  EXPECT_EQ(column(FileListView::kFutureName), (QStringList{"(non coché)", "20140805AA.jpg", "20140806AA.jpg"}));
  EXPECT_EQ(column(FileListView::kDateUsed)[0], "");

  whenShown<wParams>([](wParams* dialog) {
    dialog->txtPrefixe->setText(QStringLiteral("N"));
    dialog->cmdBoutons[1]->click();
  });
  w.mnuEditProperties_Click();
  EXPECT_EQ(column(FileListView::kFutureName), (QStringList{"(non coché)", "N20140805AA.jpg", "N20140806AA.jpg"}));
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

}  // namespace

// A shot in the window: the raw joins its JPEG's row and leaves it when companions are turned
// off; the rename moves every file of the group, undo brings them all back and the row, its
// group and its future name follow.
TEST_F(PlanColumnsTest, AShotIsOneRowRenamedAndUndoneWhole) {
  wMain& w = commandWindow();
  const QString jpeg = shot(pictureDir, "IMG_1.JPG", exifDate(2024, 5, 1, 10, 0, 0));
  testsupport::RawContent raw;
  raw.dateTimeOriginal = exifDate(2024, 5, 1, 10, 0, 0);
  testsupport::writeFile(pictureDir + "/IMG_1.CR2", testsupport::rawFile(raw));
  testsupport::writeFile(pictureDir + "/IMG_1.xmp", "sidecar");
  w.AddFiles(QStringList{pictureDir + "/IMG_1.CR2", jpeg}.join("\r\n"));
  EXPECT_EQ(rowNames(), QStringList{"IMG_1.JPG"});
  EXPECT_EQ(column(FileListView::kFutureName), QStringList{"20240501AA.JPG"});
  CurrentConfig().SetCompanions(false);
  w.SettingsChanged();
  EXPECT_EQ(rowNames(), (QStringList{"IMG_1.JPG", "IMG_1.CR2"}));
  EXPECT_EQ(column(FileListView::kFutureName), (QStringList{"20240501AA.JPG", "20240501AA.CR2"}));
  CurrentConfig().SetCompanions(true);
  w.SettingsChanged();
  ASSERT_EQ(rowNames(), QStringList{"IMG_1.JPG"});

  confirmParameters(false);
  ui.queueAnswer(ui::Answer::Ok);
  window->mnuActionRename->trigger();
  EXPECT_EQ(rowNames(), QStringList{"20240501AA.JPG"});
  EXPECT_EQ(sorted(QDir(pictureDir).entryList(QDir::Files)),
            (QStringList{"20240501AA.CR2", "20240501AA.JPG", "20240501AA.xmp"}));

  ui.queueAnswer(ui::Answer::Ok);
  window->mnuEditUndo->trigger();
  EXPECT_EQ(sorted(QDir(pictureDir).entryList(QDir::Files)), (QStringList{"IMG_1.CR2", "IMG_1.JPG", "IMG_1.xmp"}));
  EXPECT_EQ(rowNames(), QStringList{"IMG_1.JPG"});
  ASSERT_EQ(w.pictures().size(), 1u);
  QStringList members;
  for (const GroupMember& member : w.pictures().rows()[0].row.members) members.append(member.name);
  EXPECT_EQ(members, (QStringList{"IMG_1.CR2", "IMG_1.xmp"}));
  EXPECT_EQ(w.pictures().rows()[0].joined.at(0).row.key, pictureDir + "/IMG_1.CR2");
  EXPECT_EQ(column(FileListView::kFutureName), QStringList{"20240501AA.JPG"});
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}

// A shot's other files show under its row, with the names the plan gives them, and follow
// the rename, the Companions setting and the removal of rows above; keyboard, mouse and
// selection pass them by.
TEST_F(PlanColumnsTest, AGroupsFilesShowUnderItsRow) {
  wMain& w = commandWindow();
  const QString other = shot(pictureDir, "other.jpg", exifDate(2024, 4, 30, 9, 0, 0));
  const QString jpeg = shot(pictureDir, "IMG_0001.JPG", exifDate(2024, 5, 1, 10, 0, 0));
  testsupport::RawContent raw;
  raw.dateTimeOriginal = exifDate(2024, 5, 1, 10, 0, 0);
  testsupport::writeFile(pictureDir + "/IMG_0001.CR2", testsupport::rawFile(raw));
  testsupport::writeFile(pictureDir + "/IMG_0001.xmp", "sidecar");
  w.AddFiles(QStringList{pictureDir + "/IMG_0001.CR2", jpeg, other}.join("\r\n"));
  PictureListModel& model = w.lvwFiles->pictures();
  FileListView& view = *w.lvwFiles;
  // The texts in column c of the members' rows, under every row.
  const auto members = [&](int c) {
    QStringList texts;
    for (int row = 0; row < view.rowCount(); ++row)
      for (int k = 0; k < model.rowCount(model.index(row, 0)); ++k)
        texts.append(model.index(k, c, model.index(row, 0)).data().toString());
    return texts;
  };
  ASSERT_EQ(rowNames(), (QStringList{"other.jpg", "IMG_0001.JPG"}));
  const QModelIndex group = model.index(1, 0);
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
  EXPECT_TRUE(view.isExpanded(group));
  EXPECT_EQ(members(FileListView::kName), (QStringList{"IMG_0001.CR2", "IMG_0001.xmp"}));
  const QStringList planned = model.plan()[1].memberNames;
  EXPECT_EQ(planned, (QStringList{"20240501AA.CR2", "20240501AA.xmp"}));
  EXPECT_EQ(members(FileListView::kFutureName), planned);
  for (int c : {FileListView::kFolder, FileListView::kDateKey, FileListView::kExif, FileListView::kDateUsed})
    EXPECT_EQ(members(c), (QStringList{"", ""})) << c;
  const QModelIndex xmp = model.index(1, 0, group);
  EXPECT_FALSE(xmp.data(Qt::CheckStateRole).isValid());
  EXPECT_FALSE(xmp.flags() & (Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));

  // Down goes from row to row, Left and Right fold no group; a click on a member leaves no
  // member current; all selected is both rows.
  view.setCurrentRow(0);
  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(view.currentRow(), 1);
  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(view.currentIndex(), model.index(1, 0));
  QTest::keyClick(&view, Qt::Key_Left);
  QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_TRUE(view.isExpanded(group));
  EXPECT_EQ(view.currentIndex(), model.index(1, 0));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, view.visualRect(xmp).center());
  EXPECT_FALSE(view.currentIndex().parent().isValid());
  w.mnuEditSelectAll_Click();
  EXPECT_EQ(view.selectedRows(), (std::vector<size_t>{0, 1}));

  // Unchecked, the group renames none of its files; its members' rows are told so.
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  view.setChecked(1, false);
  EXPECT_TRUE(std::any_of(changed.begin(), changed.end(), [&](const QVariantList& args) {
    return args[0].value<QModelIndex>().parent() == group && args[0].value<QModelIndex>().column() <= FileListView::kFutureName &&
           args[1].value<QModelIndex>().column() >= FileListView::kFutureName;
  }));
  EXPECT_EQ(members(FileListView::kFutureName), (QStringList{"", ""}));
  view.setChecked(1, true);

  confirmParameters(false);
  ui.queueAnswer(ui::Answer::Ok);
  window->mnuActionRename->trigger();
  EXPECT_EQ(members(FileListView::kName), planned);
  view.setChecked(1, true);  // renamed rows come back unchecked; checked, they keep their names
  EXPECT_EQ(members(FileListView::kFutureName), (QStringList{"(inchangé)", "(inchangé)"}));
  for (const QString& name : planned) EXPECT_TRUE(QFile::exists(pictureDir + "/" + name)) << name.toStdString();

  // Companions off: every file added is a row and no row has members; on again, the group
  // shows whole and expanded.
  CurrentConfig().SetCompanions(false);
  w.SettingsChanged();
  ASSERT_EQ(view.rowCount(), 3);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(model.rowCount(model.index(row, 0)), 0);
  CurrentConfig().SetCompanions(true);
  w.SettingsChanged();
  ASSERT_EQ(view.rowCount(), 2);
  EXPECT_TRUE(view.isExpanded(model.index(1, 0)));
  EXPECT_EQ(members(FileListView::kName), planned);

  // A member's place held by the view follows it when the row above goes.
  const QPersistentModelIndex held(model.index(1, FileListView::kFutureName, model.index(1, 0)));
  view.clearSelection();
  view.setRowSelected(0, true);
  w.mnuFileDelete_Click();
  ASSERT_EQ(view.rowCount(), 1);
  EXPECT_EQ(held.parent(), model.index(0, 0));
  EXPECT_EQ(held.sibling(held.row(), FileListView::kName).data().toString(), "20240501AA.xmp");
  EXPECT_TRUE(reportedErrors().isEmpty()) << reportedErrors().join("\n").toStdString();
}
