#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/RenameReport.h"
#include "app/picture/PictureInfos.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/PictureFolder.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <algorithm>
#include <cerrno>

using testsupport::FailingFileSystem;
using testsupport::PictureFolder;

namespace {

// Three pictures: P and Q each carry the name the other will get; R a camera name.
struct Scene {
  PictureFolder folder;
  QByteArray p, q, r;
  std::vector<RenameRow> rows;

  Scene() {
    p = folder.addPicture("20240316AA.jpg", "2024:03:15 10:00:00");
    q = folder.addPicture("20240315AA.jpg", "2024:03:16 10:00:00");
    r = folder.addPicture("IMG_9.jpg", "2024:03:17 10:00:00");
    for (const QString name : {"20240316AA.jpg", "20240315AA.jpg", "IMG_9.jpg"}) {
      const JpegInfosClass info = PictureInfos(folder.pathOf(name));
      rows.push_back(RenameRow{folder.pathOf(name), name, folder.path(), RowDateKey(info), HasExifDate(info), true});
    }
  }
  QMap<QString, QByteArray> original() const {
    return {{"20240316AA.jpg", p}, {"20240315AA.jpg", q}, {"IMG_9.jpg", r}};
  }
};

RenameFailure renameExpectingFailure(std::vector<RenameRow>& rows, rt::FileSystem& fs) {
  ConfigClass config;
  SilentQuestions questions;
  try {
    RenameEngine(fs, config, {}, questions).run(rows);
  } catch (const RenameFailure& failure) {
    return failure;
  }
  ADD_FAILURE() << "the rename did not fail";
  return RenameFailure(rt::RuntimeError(0), {}, {}, {});
}

void expectRowsMatchDisk(const std::vector<RenameRow>& rows) {
  for (const RenameRow& row : rows) {
    EXPECT_EQ(row.key, row.folder + QLatin1Char('/') + row.text);
    EXPECT_TRUE(QFileInfo::exists(row.key)) << row.key.toStdString();
  }
}

QStringList temporaryNames(const PictureFolder& folder) {
  QStringList names = folder.entries();
  names.removeIf([](const QString& n) { return !n.startsWith(kTemporaryPrefix); });
  return names;
}

}  // namespace

// Renames 1-3 move P, Q, R to temporary names, 4-6 give them their final names. A failure at
// any of them leaves no file lost, none under a temporary name, and rows that match the disk:
// files not yet renamed are back under their old names, and when P already took Q's old name,
// P steps back to its own so that Q gets its name back.
TEST(RenameEngineFailure, PutsBackEveryFileStillUnderATemporaryName) {
  for (int failing : {2, 4, 5, 6}) {
    SCOPED_TRACE(failing);
    Scene scene;
    FailingFileSystem fs;
    fs.failRename(failing, rt::ErrPermissionDenied);
    const RenameFailure failure = renameExpectingFailure(scene.rows, fs);

    EXPECT_EQ(failure.number(), rt::ErrPermissionDenied);
    EXPECT_EQ(failure.from(), fs.renames()[failing - 1].first);
    EXPECT_EQ(failure.to(), fs.renames()[failing - 1].second);
    EXPECT_TRUE(failure.notRestored().isEmpty());
    EXPECT_TRUE(temporaryNames(scene.folder).isEmpty()) << temporaryNames(scene.folder).join(' ').toStdString();
    expectRowsMatchDisk(scene.rows);

    QMap<QString, QByteArray> expected = scene.original();
    if (failing == 6) {  // P and Q had their final names: they keep them
      expected = {{"20240315AA.jpg", scene.p}, {"20240316AA.jpg", scene.q}, {"IMG_9.jpg", scene.r}};
      EXPECT_FALSE(scene.rows[0].checked);
      EXPECT_FALSE(scene.rows[1].checked);
    } else {
      EXPECT_TRUE(scene.rows[0].checked);
      EXPECT_TRUE(scene.rows[1].checked);
    }
    EXPECT_TRUE(scene.rows[2].checked);
    EXPECT_EQ(scene.folder.contents(), expected);
  }
}

// When even the way back is blocked (an entry took the old name), the file stays under its
// temporary name, intact, and the failure names it.
TEST(RenameEngineFailure, KeepsAFileWhoseOldNameWasTakenMeanwhile) {
  Scene scene;
  FailingFileSystem fs;
  fs.failRename(6, rt::ErrDeviceIO);                  // R's final name
  fs.appearBeforeRename(7, QByteArray("intruder"));  // R's way back to IMG_9.jpg
  const RenameFailure failure = renameExpectingFailure(scene.rows, fs);

  EXPECT_EQ(failure.number(), rt::ErrDeviceIO);
  ASSERT_EQ(failure.notRestored().size(), 1);
  EXPECT_EQ(failure.notRestored().front(), scene.folder.pathOf("($)_IMG_9.jpg"));
  const QMap<QString, QByteArray> disk = scene.folder.contents();
  EXPECT_EQ(disk.value("($)_IMG_9.jpg"), scene.r);
  EXPECT_EQ(disk.value("IMG_9.jpg"), QByteArray("intruder"));
  EXPECT_EQ(disk.value("20240315AA.jpg"), scene.p);
  EXPECT_EQ(disk.value("20240316AA.jpg"), scene.q);
  expectRowsMatchDisk(scene.rows);
}

// An entry that appears between the existence test and the rename is never overwritten: the
// name counts as taken and the numbering goes on, in either pass.
TEST(RenameEngineFailure, NeverOverwritesATargetThatAppearsBeforeTheRename) {
  Scene scene;
  FailingFileSystem fs;
  fs.appearBeforeRename(1, QByteArray("first intruder"));   // P's temporary name
  fs.appearBeforeRename(5, QByteArray("second intruder"));  // P's final name 20240315AA.jpg
  ConfigClass config;
  SilentQuestions questions;
  RenameEngine(fs, config, {}, questions).run(scene.rows);

  EXPECT_EQ(fs.renames()[1].second, scene.folder.pathOf("($)_($)_20240316AA.jpg"));
  const QMap<QString, QByteArray> expected{{"($)_20240316AA.jpg", "first intruder"},
                                           {"20240315AA.jpg", "second intruder"},
                                           {"20240315AB.jpg", scene.p},
                                           {"20240316AA.jpg", scene.q},
                                           {"20240317AA.jpg", scene.r}};
  EXPECT_EQ(scene.folder.contents(), expected);
  expectRowsMatchDisk(scene.rows);
}

// The folder turns read-only after the temporary names: nothing can go back. The report gives
// the system's reason, claims no restored file, lists each file left under a temporary name
// once (the first ten, then a count) and ends with what to do.
TEST(RenameEngineFailure, ReportsTheRealReasonWhenNothingCanGoBack) {
  PictureFolder folder;
  std::vector<RenameRow> rows;
  for (int i = 0; i < 12; ++i) {
    const QString name = QStringLiteral("IMG_%1.jpg").arg(i);
    folder.addPicture(name, QStringLiteral("2024:03:%1 10:00:00").arg(i + 10).toLatin1());
    const JpegInfosClass info = PictureInfos(folder.pathOf(name));
    rows.push_back(RenameRow{folder.pathOf(name), name, folder.path(), RowDateKey(info), true, true});
  }
  FailingFileSystem fs;
  fs.failRenamesFrom(13, EROFS);
  const RenameFailure failure = renameExpectingFailure(rows, fs);

  EXPECT_EQ(failure.number(), rt::ErrPermissionDenied);
  EXPECT_EQ(failure.outcome().reason, "Système de fichiers accessible en lecture seulement");
  EXPECT_EQ(failure.outcome().restored, 0);
  ASSERT_EQ(failure.outcome().notRestored.size(), 12u);
  EXPECT_EQ(failure.outcome().notRestored[0].reason, failure.outcome().reason);
  EXPECT_EQ(temporaryNames(folder).size(), 12);
  expectRowsMatchDisk(rows);

  const QStringList report = RenameFailureReport(failure).split('\n');
  EXPECT_EQ(report.front(), "le renommage s'est arrêté : Permission refusée (erreur 70) : "
                            "Système de fichiers accessible en lecture seulement");
  EXPECT_EQ(report.filter("repris").size(), 0);
  EXPECT_EQ(report.filter("12 fichiers n'ont pas pu reprendre").size(), 1);
  EXPECT_EQ(report.filter("($)_IMG_").size(), 10 + 1);  // + the rename that failed
  EXPECT_EQ(report.filter("… et 2 autres").size(), 1);
  EXPECT_TRUE(report.back().startsWith("À faire : ")) << report.back().toStdString();
  EXPECT_EQ(report.size(), 15);
}

// A file deleted by another program while under its temporary name is reported as gone,
// never as left under a name that no longer exists; the others get their names back.
TEST(RenameEngineFailure, ReportsAFileDeletedMeanwhileAsGone) {
  Scene scene;
  FailingFileSystem fs;
  fs.vanishBeforeRename(4);  // P's final name: P's temporary file is deleted first
  const RenameFailure failure = renameExpectingFailure(scene.rows, fs);

  EXPECT_EQ(failure.number(), rt::ErrFileNotFound);
  EXPECT_TRUE(failure.notRestored().isEmpty());
  EXPECT_EQ(failure.outcome().vanished, QStringList{scene.folder.pathOf("20240316AA.jpg")});
  EXPECT_EQ(failure.outcome().restored, 2);
  EXPECT_EQ(scene.folder.contents(), (QMap<QString, QByteArray>{{"20240315AA.jpg", scene.q}, {"IMG_9.jpg", scene.r}}));
  const QString report = RenameFailureReport(failure);
  EXPECT_TRUE(report.contains("2 fichiers ont repris leur nom d'origine")) << report.toStdString();
  EXPECT_TRUE(report.contains("1 fichier a disparu")) << report.toStdString();
  EXPECT_FALSE(report.contains("nom provisoire :")) << report.toStdString();
}
