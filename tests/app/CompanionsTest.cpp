// A shot's files renamed together: the list's groups, the rename of a group as one (numbering,
// collisions, rollback, journal and undo), and the same files with companions off.

#include "app/naming/ConfigClass.h"
#include "app/naming/JournalStore.h"
#include "app/naming/PictureList.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/UndoRun.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/FormatBuilder.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

using testsupport::PictureFolder;

namespace {

// A card after a day out: a raw + JPEG pair with two sidecars, a live photo with its edit
// file, a JPEG whose raw was left out of the list, and two names the groups would take at
// their first number ("20240501aa.cr2" differs from the pair's raw name only in case).
struct Scene {
  PictureFolder folder;
  QMap<QString, QByteArray> before;
  QStringList added{"IMG_0001.JPG", "IMG_0001.CR2", "IMG_0002.HEIC", "IMG_0003.JPG"};

  Scene() {
    folder.addPicture("IMG_0001.JPG", "2024:05:01 10:00:00");
    testsupport::RawContent raw;
    raw.dateTimeOriginal = "2024:05:01 10:00:00";
    folder.addFile("IMG_0001.CR2", testsupport::rawFile(raw));
    folder.addFile("IMG_0001.xmp", "<x:xmpmeta/> 1");
    folder.addFile("IMG_0001.CR2.xmp", "<x:xmpmeta/> 1 raw");
    testsupport::ExifContent exif;
    exif.dateTimeOriginal = "2024:05:02 09:00:00";
    testsupport::HeifContent heif;
    heif.tiff = testsupport::exifTiff(exif);
    folder.addFile("IMG_0002.HEIC", testsupport::heifFile(heif));
    folder.addFile("IMG_0002.MOV", testsupport::box("moov", testsupport::mvhd(0, 3797539200)));
    folder.addFile("IMG_0002.AAE", "<plist/>");
    folder.addPicture("IMG_0003.JPG", "2024:05:03 08:00:00");
    folder.addFile("IMG_0003.CR2", "raw left out of the list");
    folder.addFile("IMG_0003.xmp", "<x:xmpmeta/> 3");
    folder.addFile("20240501aa.cr2", "not listed");
    folder.addFile("20240502AA.AAE", "not listed either");
    before = folder.contents();
  }

  PictureList list(bool companions = true) const {
    PictureList list;
    list.setCompanions(companions);
    for (const QString& name : added) EXPECT_EQ(list.add(folder.pathOf(name)), QString());
    list.sort();
    return list;
  }

  // The folder expected after a rename: each new name holding the bytes of an old one.
  QMap<QString, QByteArray> after(const QList<QPair<QString, QString>>& moves) const {
    QMap<QString, QByteArray> expected = before;
    for (const auto& [from, to] : moves) expected.remove(from);
    for (const auto& [from, to] : moves) expected.insert(to, before.value(from));
    return expected;
  }
};

const QList<QPair<QString, QString>> kGroupMoves{
    {"IMG_0001.JPG", "20240501AB.JPG"},   {"IMG_0001.CR2", "20240501AB.CR2"},
    {"IMG_0001.xmp", "20240501AB.XMP"},   {"IMG_0001.CR2.xmp", "20240501AB.CR2.XMP"},
    {"IMG_0002.HEIC", "20240502AB.HEIC"}, {"IMG_0002.MOV", "20240502AB.MOV"},
    {"IMG_0002.AAE", "20240502AB.AAE"},   {"IMG_0003.JPG", "20240503AA.JPG"}};

ConfigClass upperCaseExtensions() {
  ConfigClass config;
  config.SetExtension(1);
  return config;
}

QStringList memberNames(const RenameRow& row) {
  QStringList names;
  for (const GroupMember& member : row.members) names.append(member.name);
  return names;
}

void freshJournalFolder() {
  ::setenv("XDG_STATE_HOME", QFile::encodeName(testsupport::makeTempDir(QStringLiteral("state"))).constData(), 1);
}

}  // namespace

// Every file of a shot gets the same new name; a group whose name is taken for one of its
// files (the raw, the edit file) takes the next number for all of them; the plan said so; undo
// gives every file its old name back.
TEST(Companions, AShotsFilesAreRenamedTogetherPlannedAndUndone) {
  freshJournalFolder();
  Scene scene;
  PictureList list = scene.list();
  ASSERT_EQ(list.size(), 3u);
  const std::vector<PictureRow>& rows = list.rows();
  EXPECT_EQ(rows[0].row.text, "IMG_0001.JPG");
  EXPECT_EQ(memberNames(rows[0].row), QStringList({"IMG_0001.CR2", "IMG_0001.CR2.xmp", "IMG_0001.xmp"}));
  ASSERT_EQ(rows[0].joined.size(), 1u);  // the raw was added: it is kept with the row
  EXPECT_EQ(rows[1].row.text, "IMG_0002.HEIC");
  EXPECT_EQ(memberNames(rows[1].row), QStringList({"IMG_0002.AAE", "IMG_0002.MOV"}));
  EXPECT_EQ(memberNames(rows[2].row), QStringList());
  EXPECT_EQ(list.unclaimed(), QStringList{scene.folder.pathOf("IMG_0003.xmp")});
  EXPECT_EQ(list.indexOf(scene.folder.pathOf("IMG_0001.CR2")), 0);
  EXPECT_EQ(list.add(scene.folder.pathOf("IMG_0001.CR2")), QString());  // already listed
  EXPECT_EQ(list.size(), 3u);

  const ConfigClass config = upperCaseExtensions();
  const std::vector<RowPlan> plan = list.plan(config, {}, rt::localFileSystem());
  EXPECT_EQ(scene.folder.contents(), scene.before);

  std::vector<RenameRow> renamed = list.renameRows();
  SilentQuestions questions;
  JournalWriter journal;
  RenameEngine engine(rt::localFileSystem(), config, {}, questions);
  engine.setJournal(&journal);
  engine.setPictureReader(list.readings());
  const RenameSummary summary = engine.run(renamed);
  EXPECT_EQ(summary.renamed, 8);
  EXPECT_EQ(scene.folder.contents(), scene.after(kGroupMoves));
  for (size_t i = 0; i < renamed.size(); ++i) {
    EXPECT_EQ(plan[i].outcome, RowPlan::Outcome::Rename);
    EXPECT_EQ(plan[i].newName, renamed[i].text);
    EXPECT_EQ(plan[i].memberNames, memberNames(renamed[i]));
  }
  list.takeBack(renamed);
  EXPECT_EQ(list.rows()[0].joined[0].row.key, scene.folder.pathOf("20240501AB.CR2"));
  EXPECT_EQ(list.indexOf(scene.folder.pathOf("20240501AB.CR2")), 0);

  const UndoResult undone = undoRun(undoableRuns().front(), rt::localFileSystem());
  EXPECT_EQ(undone.restored, 8);
  EXPECT_TRUE(undone.skipped.isEmpty()) << undone.skipped.join("\n").toStdString();
  EXPECT_EQ(scene.folder.contents(), scene.before);
}

// A failure in the middle of a group sends the files of the group that already have their
// new names back too; an entry that appears under one file's new name moves the whole group
// on to the next number, the files already renamed included; a member deleted since the list
// was made stops nothing.
TEST(Companions, AGroupIsRolledBackWholeMovesOnWholeAndGoesOnWithoutAVanishedSidecar) {
  {
    Scene scene;
    PictureList list = scene.list();
    std::vector<RenameRow> rows = list.renameRows();
    testsupport::FailingFileSystem fs;
    fs.failRename(8 + 3);  // 8 temporary names, then the pair's third file to its final name
    SilentQuestions questions;
    const ConfigClass config = upperCaseExtensions();
    EXPECT_THROW(RenameEngine(fs, config, {}, questions).run(rows), RenameFailure);
    EXPECT_EQ(scene.folder.contents(), scene.before);
    EXPECT_EQ(memberNames(rows[0]), QStringList({"IMG_0001.CR2", "IMG_0001.CR2.xmp", "IMG_0001.xmp"}));
  }
  {
    Scene scene;
    PictureList list = scene.list();
    std::vector<RenameRow> rows = list.renameRows();
    testsupport::FailingFileSystem fs;
    fs.appearBeforeRename(8 + 2, "intruder");  // at the raw's new name, once the JPEG has its own
    SilentQuestions questions;
    const ConfigClass config = upperCaseExtensions();
    RenameEngine(fs, config, {}, questions).run(rows);
    QList<QPair<QString, QString>> moves = kGroupMoves;
    for (int i = 0; i < 4; ++i) moves[i].second.replace("AB", "AC");
    QMap<QString, QByteArray> expected = scene.after(moves);
    expected.insert("20240501AB.CR2", "intruder");
    EXPECT_EQ(scene.folder.contents(), expected);
    EXPECT_EQ(rows[0].text, "20240501AC.JPG");
    // Every name of the group was checked before any moved: none went to the taken number.
    for (const auto& [from, to] : fs.renames()) EXPECT_FALSE(to.contains("20240501AA")) << to.toStdString();
  }
  {
    // A sidecar deleted after the list was made: the rest of its group is renamed as planned.
    Scene scene;
    PictureList list = scene.list();
    ASSERT_TRUE(QFile::remove(scene.folder.pathOf("IMG_0001.CR2.xmp")));
    scene.before.remove("IMG_0001.CR2.xmp");
    std::vector<RenameRow> rows = list.renameRows();
    SilentQuestions questions;
    const ConfigClass config = upperCaseExtensions();
    EXPECT_EQ(RenameEngine(rt::localFileSystem(), config, {}, questions).run(rows).renamed, 7);
    QList<QPair<QString, QString>> moves = kGroupMoves;
    moves.removeAt(3);
    EXPECT_EQ(scene.folder.contents(), scene.after(moves));
  }
}

// A folder that takes short names only: the pair's longest sidecar cannot take its temporary
// name, so the whole pair is left alone and reported under its row; the other shots go on.
TEST(Companions, ANameTooLongForOneFileLeavesItsWholeGroup) {
  class ShortNames : public testsupport::FailingFileSystem {
   public:
    qsizetype maxNameLength(const QString&) const override { return 19; }  // "($)_IMG_0001.CR2.xmp" is 20
  };
  Scene scene;
  PictureList list = scene.list();
  std::vector<RenameRow> rows = list.renameRows();
  ShortNames fs;
  SilentQuestions questions;
  const ConfigClass config = upperCaseExtensions();
  const RenameSummary summary = RenameEngine(fs, config, {}, questions).run(rows);
  ASSERT_EQ(summary.leftAlone.size(), 1u);
  EXPECT_EQ(summary.leftAlone[0].path, scene.folder.pathOf("IMG_0001.JPG"));
  EXPECT_TRUE(summary.leftAlone[0].reason.contains("($)_IMG_0001.CR2.xmp")) << summary.leftAlone[0].reason.toStdString();
  EXPECT_EQ(scene.folder.contents(), scene.after(kGroupMoves.mid(4)));
}

// Companions off: the rename is the one of single files, the sidecars and the movie stay.
TEST(Companions, OffEveryAddedFileIsARowOfItsOwn) {
  Scene scene;
  PictureList list = scene.list(false);
  list.setCompanions(true);  // the list regroups at once, and splits again
  EXPECT_EQ(list.size(), 3u);
  list.setCompanions(false);
  ASSERT_EQ(list.size(), 4u);
  for (const PictureRow& row : list.rows()) EXPECT_TRUE(row.row.members.empty());
  std::vector<RenameRow> rows = list.renameRows();
  SilentQuestions questions;
  const ConfigClass config = upperCaseExtensions();
  EXPECT_EQ(RenameEngine(rt::localFileSystem(), config, {}, questions).run(rows).renamed, 4);
  EXPECT_EQ(scene.folder.contents(),
            scene.after({{"IMG_0001.JPG", "20240501AA.JPG"},
                         {"IMG_0001.CR2", "20240501AB.CR2"},
                         {"IMG_0002.HEIC", "20240502AA.HEIC"},
                         {"IMG_0003.JPG", "20240503AA.JPG"}}));
}

// Real phone and camera files, copied under a camera's names into a scratch folder: the
// readers' dates make the raw + JPEG pair (same second) and the live photo, and the plan
// gives every file of each shot the same new name.
TEST(Companions, RealPhoneAndCameraFilesFormTheirShots) {
  const QString formats = QStringLiteral(TINDRA_CORPUS_DIR) + QStringLiteral("/../formats");
  if (!QFileInfo(formats).isDir()) GTEST_SKIP() << "formats folder not found beside the checkout (../shared/corpus/formats)";
  PictureFolder folder;
  const QList<QPair<QString, QString>> copies{{"Apple_iPhone_11_Pro.heic", "IMG_0001.HEIC"},
                                              {"Apple_iPhone_6.mov", "IMG_0001.MOV"},
                                              {"Apple_Photos_edit.aae", "IMG_0001.AAE"},
                                              {"Canon_EOS_350D_DIGITAL.cr2", "IMG_0002.CR2"},
                                              {"Sidecar_digiKam.xmp", "IMG_0002.CR2.xmp"}};
  for (const auto& [from, to] : copies) ASSERT_TRUE(QFile::copy(formats + "/" + from, folder.pathOf(to))) << from.toStdString();
  folder.addPicture("IMG_0002.JPG", "2005:08:03 18:59:18");  // the camera's JPEG of the raw's second
  PictureList list;
  for (const char* name : {"IMG_0001.HEIC", "IMG_0002.CR2", "IMG_0002.JPG"}) EXPECT_EQ(list.add(folder.pathOf(name)), QString());
  list.sort();
  const std::vector<RowPlan> plan = list.plan(ConfigClass(), {}, rt::localFileSystem());
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].newName, "20050803AA.JPG");
  EXPECT_EQ(plan[0].memberNames, QStringList({"20050803AA.CR2", "20050803AA.CR2.xmp"}));
  EXPECT_EQ(plan[1].newName, "20200504AA.HEIC");
  EXPECT_EQ(plan[1].memberNames, QStringList({"20200504AA.AAE", "20200504AA.MOV"}));
}

// After every sort, each added file is found at the row that shows it or holds it in its
// group: sorted alone (rows only move), with groups forming, splitting and forming again.
TEST(Companions, EveryAddedFileIsFoundAtItsRowAfterEachSort) {
  const auto expectFound = [](const PictureList& list, const QStringList& paths) {
    for (const QString& path : paths) {
      const qsizetype i = list.indexOf(path);
      ASSERT_GE(i, 0) << path.toStdString();
      const PictureRow& row = list.rows()[static_cast<size_t>(i)];
      bool holds = row.row.key == path;
      for (const PictureRow& joined : row.joined) holds |= joined.row.key == path;
      EXPECT_TRUE(holds) << path.toStdString();
    }
  };
  PictureFolder plain;
  QStringList paths;
  PictureList list;
  for (int i = 0; i < 12; ++i) {
    const QString name = QStringLiteral("p%1.jpg").arg(i);
    plain.addPicture(name, QStringLiteral("2014:08:05 01:%1:00").arg((i * 7) % 12 + 10).toLatin1());
    paths.append(plain.pathOf(name));
    ASSERT_EQ(list.add(paths.back()), QString());
    if (i == 5 || i == 11) {
      list.sort();
      expectFound(list, paths);
    }
  }
  Scene scene;
  for (const QString& name : scene.added) {
    paths.append(scene.folder.pathOf(name));
    ASSERT_EQ(list.add(paths.back()), QString());
  }
  list.sort();
  ASSERT_EQ(list.size(), 15u);  // the raw file joined its JPEG
  expectFound(list, paths);
  list.setCompanions(false);
  expectFound(list, paths);
  list.setCompanions(true);
  list.sort();
  expectFound(list, paths);
}
