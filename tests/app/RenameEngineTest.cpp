#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/SimulatedFileSystem.h"
#include "app/picture/PictureInfos.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using testsupport::FailingFileSystem;
using testsupport::PictureFolder;

namespace {

class ScriptedQuestions : public RenameQuestions {
 public:
  QStringList answers;     // given in order; "" once they run out
  QStringList askedNames;  // the names the date was asked for
  QStringList askedKeys;   // and the keys the question started from
  RenamePhase lastPhase = RenamePhase::Reading;
  int lastDone = -1;
  int lastTotal = -1;

  QString askDate(const QString& initKey, const QString& oldName) override {
    askedKeys.append(initKey);
    askedNames.append(oldName);
    return answers.isEmpty() ? QString() : answers.takeFirst();
  }
  void progress(RenamePhase phase, int done, int total) override {
    lastPhase = phase;
    lastDone = done;
    lastTotal = total;
  }
};

// The rows the file list holds for these files of the folder, in list order.
std::vector<RenameRow> listRows(const PictureFolder& folder, const QStringList& names,
                                const QStringList& unchecked = {}) {
  std::vector<RenameRow> rows;
  for (const QString& name : names) {
    const JpegInfosClass info = PictureInfos(folder.pathOf(name));
    rows.push_back(RenameRow{folder.pathOf(name), name, folder.path(), RowDateKey(info), HasExifDate(info),
                             !unchecked.contains(name)});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const RenameRow& a, const RenameRow& b) { return a.dateKey < b.dateKey; });
  return rows;
}

RenameSummary renameRows(std::vector<RenameRow>& rows, const ConfigClass& config,
                         rt::FileSystem& fs = rt::localFileSystem(), RenameOffsets offsets = {}) {
  ScriptedQuestions questions;
  return RenameEngine(fs, config, offsets, questions).run(rows);
}

// What renameRows would do, worked out from the folders' listings without moving anything.
RenameSummary planRows(std::vector<RenameRow>& rows, const ConfigClass& config) {
  SimulatedFileSystem listed(rt::localFileSystem());
  ScriptedQuestions questions;
  RenameEngine engine(listed, config, {}, questions);
  engine.setListedFolders(&listed);
  return engine.plan(rows);
}

const RenameRow* rowNamed(const std::vector<RenameRow>& rows, const QString& text) {
  for (const RenameRow& row : rows)
    if (row.text == text) return &row;
  return nullptr;
}

void expectRowsMatchDisk(const std::vector<RenameRow>& rows) {
  for (const RenameRow& row : rows) {
    EXPECT_EQ(row.key, row.folder + QLatin1Char('/') + row.text);
    EXPECT_TRUE(QFileInfo::exists(row.key)) << row.key.toStdString();
  }
}

}  // namespace

// Files whose names coincide are numbered in list order; the number starts again for each
// new name; IsSuffix off leaves the first file without suffix.
TEST(RenameEngine, NumbersFilesOfTheSameNameInListOrder) {
  struct Case {
    bool isSuffix;
    uint8_t suffixType;
    uint8_t digits;
    int32_t startNum;
    QStringList expected;  // names of a, b, c, d
  };
  const Case cases[] = {
      {true, 0, 2, 1, {"20240315AA.jpg", "20240315AB.jpg", "20240315AC.jpg", "20240316AA.jpg"}},
      {false, 0, 2, 1, {"20240315.jpg", "20240315AA.jpg", "20240315AB.jpg", "20240316.jpg"}},
      {true, 1, 3, 7, {"20240315007.jpg", "20240315008.jpg", "20240315009.jpg", "20240316007.jpg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.front().toStdString());
    PictureFolder folder;
    const QByteArray b = folder.addPicture("IMG_1.jpg", "2024:03:15 11:00:00");
    const QByteArray d = folder.addPicture("IMG_2.jpg", "2024:03:16 09:00:00");
    const QByteArray c2 = folder.addPicture("IMG_3.jpg", "2024:03:15 12:00:00");
    const QByteArray a = folder.addPicture("IMG_4.jpg", "2024:03:15 10:00:00");
    ConfigClass config;
    config.SetIsSuffix(c.isSuffix);
    config.SetSuffixType(c.suffixType);
    config.SetDigits(c.digits);
    config.SetStartNum(c.startNum);
    std::vector<RenameRow> rows = listRows(folder, {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"});
    ScriptedQuestions questions;
    const RenameSummary summary = RenameEngine(rt::localFileSystem(), config, {}, questions).run(rows);

    EXPECT_EQ(summary.renamed, 4);
    EXPECT_EQ(summary.skipped, 0);
    const QMap<QString, QByteArray> disk = folder.contents();
    EXPECT_EQ(disk.size(), 4);
    EXPECT_EQ(disk.value(c.expected[0]), a);
    EXPECT_EQ(disk.value(c.expected[1]), b);
    EXPECT_EQ(disk.value(c.expected[2]), c2);
    EXPECT_EQ(disk.value(c.expected[3]), d);
    for (const RenameRow& row : rows) EXPECT_FALSE(row.checked);
    EXPECT_EQ(rows[0].text, c.expected[0]);  // rows keep their order
    expectRowsMatchDisk(rows);
    EXPECT_EQ(questions.lastPhase, RenamePhase::FinalNames);
    EXPECT_EQ(questions.lastDone, 4);
    EXPECT_EQ(questions.lastTotal, 4);
  }
}

// Two files that take each other's names, then the same rename again: same names.
TEST(RenameEngine, SwapsNamesAndGivesTheSameNamesWhenRunAgain) {
  PictureFolder folder;
  const QByteArray x = folder.addPicture("20240316AA.jpg", "2024:03:15 10:00:00");
  const QByteArray y = folder.addPicture("20240315AA.jpg", "2024:03:16 10:00:00");
  const QByteArray z = folder.addPicture("20240315AB.jpg", "2024:03:15 12:00:00");
  ConfigClass config;
  std::vector<RenameRow> rows = listRows(folder, {"20240316AA.jpg", "20240315AA.jpg", "20240315AB.jpg"});
  renameRows(rows, config);
  const QMap<QString, QByteArray> expected{{"20240315AA.jpg", x}, {"20240315AB.jpg", z}, {"20240316AA.jpg", y}};
  EXPECT_EQ(folder.contents(), expected);
  expectRowsMatchDisk(rows);

  for (RenameRow& row : rows) row.checked = true;
  renameRows(rows, config);
  EXPECT_EQ(folder.contents(), expected);
  expectRowsMatchDisk(rows);
}

// A name held by an unchecked row, by a file outside the list or by a row whose file is gone
// is never given: the suffix goes on, and those files are untouched.
TEST(RenameEngine, NeverTakesANameHeldByAnotherFileOrRow) {
  PictureFolder folder;
  const QByteArray unchecked = folder.addPicture("20240315AA.jpg", "2024:03:01 10:00:00");
  folder.addFile("20240315AB.jpg", "not in the list");
  const QByteArray checked = folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  std::vector<RenameRow> rows = listRows(folder, {"20240315AA.jpg", "IMG_1.jpg"}, {"20240315AA.jpg"});
  rows.push_back(RenameRow{folder.pathOf("20240315AC.jpg"), "20240315AC.jpg", folder.path(), "20240315100000",
                           true, false});  // its file was removed behind the list's back
  ConfigClass config;
  renameRows(rows, config);

  const QMap<QString, QByteArray> disk = folder.contents();
  EXPECT_EQ(disk.value("20240315AA.jpg"), unchecked);
  EXPECT_EQ(disk.value("20240315AB.jpg"), QByteArray("not in the list"));
  EXPECT_EQ(disk.value("20240315AD.jpg"), checked);
  EXPECT_EQ(disk.size(), 3);
  EXPECT_TRUE(rows[0].key.endsWith("/20240315AA.jpg"));
  EXPECT_TRUE(rowNamed(rows, "20240315AD.jpg") != nullptr);
}

// A file already named "($)_..." outside the list: the checked file's temporary name carries
// the prefix twice; a file that is not renamed is never moved and keeps its exact name.
TEST(RenameEngine, TemporaryNamesAvoidExistingPrefixedFiles) {
  PictureFolder folder;
  folder.addFile("($)_IMG_1.jpg", "first");
  folder.addFile("($)_SCAN.jpg", "second");
  const QByteArray dated = folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  const QByteArray undated = folder.addPicture("SCAN.jpg", "", rt::makeDate(2024, 3, 1, 8, 0, 0));
  ConfigClass config;
  config.SetNotExif(1);
  std::vector<RenameRow> rows = listRows(folder, {"IMG_1.jpg", "SCAN.jpg"});
  FailingFileSystem fs;
  const RenameSummary summary = renameRows(rows, config, fs);

  ASSERT_EQ(fs.renameCount(), 2);
  EXPECT_EQ(fs.renames()[0].second, folder.pathOf("($)_($)_IMG_1.jpg"));
  EXPECT_EQ(fs.renames()[1].second, folder.pathOf("20240315AA.jpg"));
  const QMap<QString, QByteArray> expected{
      {"($)_IMG_1.jpg", "first"}, {"($)_SCAN.jpg", "second"}, {"20240315AA.jpg", dated}, {"SCAN.jpg", undated}};
  EXPECT_EQ(folder.contents(), expected);
  EXPECT_EQ(summary.skipped, 1);
  ASSERT_NE(rowNamed(rows, "SCAN.jpg"), nullptr);
  EXPECT_TRUE(rowNamed(rows, "SCAN.jpg")->checked);
  expectRowsMatchDisk(rows);
}

// Files without EXIF date: named after the row's date key (0), left alone (1), or named from
// the date the user gives, a declined question leaving the file alone (2).
TEST(RenameEngine, HandlesUndatedFilesAsTheSettingsSay) {
  for (uint8_t notExif : {0, 1, 2}) {
    SCOPED_TRACE(notExif);
    PictureFolder folder;
    const QByteArray scan1 = folder.addPicture("SCAN_1.jpg", "", rt::makeDate(2024, 3, 10, 8, 30, 0));
    const QByteArray dated = folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
    const QByteArray scan2 = folder.addPicture("SCAN_2.jpg", "", rt::makeDate(2024, 3, 20, 18, 0, 0));
    ConfigClass config;
    config.SetNotExif(notExif);
    std::vector<RenameRow> rows = listRows(folder, {"SCAN_1.jpg", "IMG_1.jpg", "SCAN_2.jpg"});
    ScriptedQuestions questions;
    questions.answers = {QString(), QStringLiteral("20240401120000")};
    const RenameSummary summary = RenameEngine(rt::localFileSystem(), config, {}, questions).run(rows);

    QMap<QString, QByteArray> expected{{"20240315AA.jpg", dated}};
    switch (notExif) {
      case 0:
        expected.insert("20240310AA.jpg", scan1);
        expected.insert("20240320AA.jpg", scan2);
        break;
      case 1:
        expected.insert("SCAN_1.jpg", scan1);
        expected.insert("SCAN_2.jpg", scan2);
        EXPECT_EQ(summary.skipped, 2);
        break;
      default:
        expected.insert("SCAN_1.jpg", scan1);
        expected.insert("20240401AA.jpg", scan2);
        EXPECT_EQ(questions.askedNames, QStringList({"SCAN_1.jpg", "SCAN_2.jpg"}));
        EXPECT_EQ(questions.askedKeys, QStringList({"20240310083000", "20240320180000"}));
        break;
    }
    EXPECT_EQ(folder.contents(), expected);
    if (notExif != 2) {
      EXPECT_TRUE(questions.askedNames.isEmpty());
    }
    for (const RenameRow& row : rows) EXPECT_EQ(row.checked, row.text.startsWith("SCAN")) << row.text.toStdString();
    expectRowsMatchDisk(rows);
  }
}

// Camera one hour and a half late: dated pictures are shifted; the file date of an undated
// picture only when asked too.
TEST(RenameEngine, AppliesTheClockCorrection) {
  for (bool toFileDates : {false, true}) {
    SCOPED_TRACE(toFileDates);
    PictureFolder folder;
    const QByteArray dated = folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
    const QByteArray undated = folder.addPicture("SCAN.jpg", "", rt::makeDate(2024, 3, 10, 8, 30, 0));
    ConfigClass config;
    for (int i = 1; i <= 3; ++i) config.SetIsTimeDigit(i, true);
    config.SetDateTimeSep(QStringLiteral("_"));
    config.SetIsSuffix(false);
    config.SetOffsetApply(true);
    config.SetOffsetNoDate(toFileDates);
    config.SetDateExif(rt::makeDate(2005, 1, 1, 10, 0, 0));
    config.SetDateReal(rt::makeDate(2005, 1, 1, 11, 30, 0));
    std::vector<RenameRow> rows = listRows(folder, {"IMG_1.jpg", "SCAN.jpg"});
    renameRows(rows, config, rt::localFileSystem(), RenameOffsets::fromConfig(config));

    const QMap<QString, QByteArray> expected{{"20240315_113000.jpg", dated},
                                             {toFileDates ? "20240310_100000.jpg" : "20240310_083000.jpg", undated}};
    EXPECT_EQ(folder.contents(), expected);
  }
  ConfigClass off;
  off.SetDateReal(1.5);
  EXPECT_EQ(RenameOffsets::fromConfig(off).offset, 0.0);  // the correction is not switched on
}

// The extension takes the case asked for; a name without extension gets none, and a dot in a
// folder name never moves a file out of its folder.
TEST(RenameEngine, WritesTheExtensionInTheRequestedCase) {
  const struct {
    uint8_t extension;
    const char* file;
    const char* expected;
  } cases[] = {{2, "A.JPG", "20240315AA.jpg"}, {0, "A.JPG", "20240315AA.JPG"},
               {1, "A.JpEg", "20240315AA.JPEG"}, {0, "A.JpEg", "20240315AA.JpEg"}, {2, "NOEXT", "20240315AA"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    PictureFolder parent;
    ASSERT_TRUE(QDir(parent.path()).mkdir("my.photos"));
    const QString folder = parent.pathOf("my.photos");
    PictureFolder source;
    const QByteArray bytes = source.addPicture("x", "2024:03:15 10:00:00");
    ASSERT_TRUE(testsupport::writeFile(folder + "/" + c.file, bytes));
    ConfigClass config;
    config.SetExtension(c.extension);
    const JpegInfosClass info = PictureInfos(folder + "/" + c.file);
    std::vector<RenameRow> rows{
        RenameRow{folder + "/" + c.file, c.file, folder, RowDateKey(info), HasExifDate(info), true}};
    renameRows(rows, config);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{c.expected});
    EXPECT_EQ(testsupport::readFile(folder + "/" + c.expected), bytes);
    expectRowsMatchDisk(rows);
  }
}

// A name body that would hold a folder separator (from a settings file) stops the operation
// before any file is touched.
TEST(RenameEngine, RefusesANameThatIsNotAFileName) {
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  ConfigClass config;
  config.SetPrefix(QStringLiteral("../"));
  std::vector<RenameRow> rows = listRows(folder, {"IMG_1.jpg"});
  FailingFileSystem fs;
  try {
    renameRows(rows, config, fs);
    FAIL() << "the rename went on";
  } catch (const RenameFailure& failure) {
    EXPECT_EQ(failure.number(), 52);
    EXPECT_EQ(failure.from(), folder.pathOf("IMG_1.jpg"));
  }
  EXPECT_EQ(fs.renameCount(), 0);
  EXPECT_EQ(folder.entries(), QStringList{"IMG_1.jpg"});
  EXPECT_TRUE(rows[0].checked);
}

namespace {

QStringList texts(const std::vector<RenameRow>& rows) {
  QStringList names;
  for (const RenameRow& row : rows) names.append(row.text);
  return names;
}

}  // namespace

// Files of one date with another extension make other names: each extension takes the free
// names in turn, the number going on across them. The plan gives the same names.
TEST(RenameEngine, FilesOfOneDateWithAnotherExtensionTakeTheirOwnNames) {
  const QStringList files{"a.jpg", "b.jpeg", "c.jpg", "d.jpeg", "e.jpg"};
  const QStringList plain{"20240315.jpg", "20240315.jpeg", "20240315AA.jpg", "20240315AA.jpeg", "20240315AB.jpg"};
  const QStringList numbered{"20240315AA.jpg", "20240315AA.jpeg", "20240315AB.jpg", "20240315AB.jpeg",
                             "20240315AC.jpg"};
  for (bool isSuffix : {false, true}) {
    SCOPED_TRACE(isSuffix);
    PictureFolder folder;
    for (int i = 0; i < files.size(); ++i) folder.addPicture(files[i], QStringLiteral("2024:03:15 1%1:00:00").arg(i).toLatin1());
    ConfigClass config;
    config.SetIsSuffix(isSuffix);
    std::vector<RenameRow> planned = listRows(folder, files);
    planRows(planned, config);
    std::vector<RenameRow> rows = listRows(folder, files);
    renameRows(rows, config);
    EXPECT_EQ(texts(rows), isSuffix ? numbered : plain);
    EXPECT_EQ(texts(planned), texts(rows));
  }
}

// Names that differ only in letter case are one name, against the folder and the list, in
// both passes; a file may take a case variant of its own old name; the dry run agrees.
TEST(RenameEngine, NamesDifferingOnlyInCaseAreTheSameName) {
  PictureFolder folder;
  folder.addPicture("A.jpg", "2011:01:13 10:00:00");
  folder.addPicture("B.JPG", "2011:01:13 11:00:00");
  folder.addPicture("20110114aa.jpg", "2011:01:14 10:00:00");
  folder.addPicture("c.jpg", "2011:01:15 10:00:00");
  folder.addFile("20110115aa.JPG", "outside the list");
  folder.addFile("($)_C.JPG", "outside the list too");
  const QStringList expected{"20110113AA.jpg", "20110113AB.JPG", "20110114AA.jpg", "20110115AB.jpg"};
  ConfigClass config;

  std::vector<RenameRow> planned = listRows(folder, {"A.jpg", "B.JPG", "20110114aa.jpg", "c.jpg"});
  planRows(planned, config);
  EXPECT_EQ(texts(planned), expected);

  std::vector<RenameRow> rows = listRows(folder, {"A.jpg", "B.JPG", "20110114aa.jpg", "c.jpg"});
  FailingFileSystem fs;
  renameRows(rows, config, fs);
  EXPECT_EQ(texts(rows), expected);
  EXPECT_EQ(fs.renames()[3].second, folder.pathOf("($)_($)_c.jpg"));
  EXPECT_EQ(fs.renameCount(), 8);  // taken names are known from the listing, never tried
  EXPECT_EQ(folder.entries().size(), 6);
  expectRowsMatchDisk(rows);
}

// A temporary or final name longer than the folder takes (counted in bytes on disk) leaves its
// file alone, reported before anything moves; the other files are renamed; the dry run says
// the same.
TEST(RenameEngine, LeavesAloneAFileWhoseNameCannotFit) {
  const QString longName = QString(124, QChar(0xE9)) + ".jpg";  // 252 bytes, 256 with "($)_"
  PictureFolder folder;
  const QByteArray tooLong = folder.addPicture(longName, "2024:03:15 10:00:00");
  const QByteArray fits = folder.addPicture("IMG_1.jpg", "2024:03:15 11:00:00");
  ConfigClass config;
  for (bool simulate : {true, false}) {
    SCOPED_TRACE(simulate);
    std::vector<RenameRow> rows = listRows(folder, {longName, "IMG_1.jpg"});
    const RenameSummary summary = simulate ? planRows(rows, config) : renameRows(rows, config);
    EXPECT_EQ(summary.renamed, 1);
    EXPECT_EQ(summary.skipped, 1);
    ASSERT_EQ(summary.leftAlone.size(), 1u);
    EXPECT_EQ(summary.leftAlone[0].path, folder.pathOf(longName));
    EXPECT_TRUE(summary.leftAlone[0].reason.contains("nom provisoire")) << summary.leftAlone[0].reason.toStdString();
    EXPECT_TRUE(summary.leftAlone[0].reason.contains("256 octets, 255 au plus"));
    EXPECT_EQ(texts(rows), (QStringList{longName, "20240315AA.jpg"}));
    EXPECT_TRUE(rows[0].checked);
  }
  EXPECT_EQ(folder.contents(), (QMap<QString, QByteArray>{{longName, tooLong}, {"20240315AA.jpg", fits}}));

  config.SetPrefix(QString(250, 'p'));  // every final name too long: nothing moves
  std::vector<RenameRow> rows = listRows(folder, {"20240315AA.jpg"});
  FailingFileSystem fs;
  const RenameSummary summary = renameRows(rows, config, fs);
  EXPECT_EQ(fs.renameCount(), 0);
  ASSERT_EQ(summary.leftAlone.size(), 1u);
  EXPECT_TRUE(summary.leftAlone[0].reason.startsWith("nouveau nom « pppp"));
}

// A row whose entry became a symbolic link is never moved (the lists take no links): the link
// keeps its name, and so does the picture it points to.
TEST(RenameEngine, NeverMovesASymbolicLink) {
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  std::vector<RenameRow> rows = listRows(folder, {"IMG_1.jpg"});
  const QString elsewhere = testsupport::makeTempDir();
  ASSERT_TRUE(QFile::rename(folder.pathOf("IMG_1.jpg"), elsewhere + "/IMG_1.jpg"));
  ASSERT_TRUE(QFile::link(elsewhere + "/IMG_1.jpg", folder.pathOf("IMG_1.jpg")));
  const RenameSummary summary = renameRows(rows, ConfigClass());
  EXPECT_EQ(summary.renamed, 0);
  EXPECT_EQ(summary.skipped, 1);
  EXPECT_EQ(folder.entries(), QStringList{"IMG_1.jpg"});
  EXPECT_TRUE(QFileInfo(folder.pathOf("IMG_1.jpg")).isSymLink());
  EXPECT_TRUE(QFile::exists(elsewhere + "/IMG_1.jpg"));
  EXPECT_TRUE(rows[0].checked);
}

// A caller that read the pictures hands its reading over: the engine names each file after
// what it is given, never opening the file again, and leaves alone a row given no reading.
TEST(RenameEngine, NamesFilesAfterTheReadingItIsGiven) {
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  folder.addPicture("IMG_2.jpg", "2024:03:16 10:00:00");
  std::vector<RenameRow> rows = listRows(folder, {"IMG_1.jpg", "IMG_2.jpg"});
  ConfigClass config;
  ScriptedQuestions questions;
  RenameEngine engine(rt::localFileSystem(), config, {}, questions);
  QStringList read;
  engine.setPictureReader([&read, &rows](size_t i) -> std::optional<JpegInfosClass> {
    const RenameRow& row = rows[i];
    read.append(row.text);
    if (row.text != QLatin1String("IMG_1.jpg")) return std::nullopt;
    JpegInfosClass info;
    info.SetCreateDate(rt::makeDate(2020, 1, 2, 3, 4, 5));
    return info;
  });
  const RenameSummary summary = engine.run(rows);
  EXPECT_EQ(read, QStringList({"IMG_1.jpg", "IMG_2.jpg"}));
  EXPECT_EQ(summary.renamed, 1);
  EXPECT_EQ(summary.skipped, 1);
  EXPECT_EQ(folder.entries(), QStringList({"20200102AA.jpg", "IMG_2.jpg"}));
  expectRowsMatchDisk(rows);
}

// The correction is the days between the two times on a plain day line, the same for the
// rename, the command-line tool and the dialog's text, also across 1899-12-30 where date
// values change sign.
TEST(RenameEngine, CorrectionCountsDaysAcrossTheSignChangeOfDateValues) {
  ConfigClass config;
  config.SetOffsetApply(true);
  config.SetOffsetNoDate(true);
  config.SetDateExif(-1.25);  // 1899-12-29 06:00
  config.SetDateReal(0.25);   // 1899-12-30 06:00
  const RenameOffsets offsets = RenameOffsets::fromConfig(config);
  EXPECT_DOUBLE_EQ(offsets.offset, 1.0);
  EXPECT_DOUBLE_EQ(offsets.undatedOffset, 1.0);
  config.SetDateExif(rt::makeDate(2005, 1, 1, 10, 0, 0));
  config.SetDateReal(rt::makeDate(2005, 1, 1, 11, 30, 0));
  EXPECT_NEAR(RenameOffsets::fromConfig(config).offset, 1.5 / 24, 1e-9);
}
