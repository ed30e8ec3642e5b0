#include "app/naming/ConfigClass.h"
#include "app/naming/PictureList.h"
#include "app/picture/PictureInfos.h"
#include "tests/support/JpegBuilder.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

using testsupport::PictureFolder;

namespace {

QByteArray burstPicture(const QByteArray& subSec, uint16_t serial) {
  testsupport::ExifContent content;
  content.dateTimeOriginal = "2014:08:05 01:45:01";
  content.subSecTimeOriginal = subSec;
  content.bigEndian = serial % 2 == 0;
  return testsupport::exifJpeg(content, serial, 10);
}

// Renames the list on disk as the window does and returns every row's name afterwards.
QStringList renameOnDisk(PictureList& list, const ConfigClass& config) {
  std::vector<RenameRow> rows = list.renameRows();
  SilentQuestions questions;
  RenameEngine(rt::localFileSystem(), config, RenameOffsets::fromConfig(config), questions).run(rows);
  list.takeBack(rows);
  QStringList names;
  for (const RenameRow& row : rows) names.append(row.text);
  return names;
}

// Every file of the folder in the list, sorted.
void addSorted(PictureList& list, const PictureFolder& folder) {
  for (const QString& name : folder.entries()) list.add(folder.pathOf(name));
  list.sort();
}

// Two pictures, b.jpg shot before a.jpg, listed and sorted.
struct TwoPictures {
  PictureFolder folder;
  PictureList list;
  TwoPictures() {
    folder.addPicture(QStringLiteral("a.jpg"), "2014:08:05 01:45:01");
    folder.addPicture(QStringLiteral("b.jpg"), "2013:01:02 03:04:05");
    addSorted(list, folder);
  }
};

// The camera's clock read 2005-01-01 10:00 when the time really was real.
void correctClock(ConfigClass& config, rt::DateValue real) {
  config.SetOffsetApply(true);
  config.SetDateExif(rt::makeDate(2005, 1, 1, 10, 0, 0));
  config.SetDateReal(real);
}

}  // namespace

TEST(PictureListTest, ReaderKeepsTheDigitsOfSubSecTimeOriginal) {
  PictureFolder folder;
  const struct {
    QByteArray stored;
    QString read;
  } cases[] = {{"5", "5"}, {"045", "045"}, {"0451234", "0451234"}, {"4a", ""}, {"", ""}};
  uint16_t serial = 1;
  for (const auto& c : cases) {
    folder.addFile(QStringLiteral("p.jpg"), burstPicture(c.stored, serial++));
    const JpegInfosClass info = PictureInfos(folder.pathOf(QStringLiteral("p.jpg")));
    EXPECT_EQ(info.SubSecOriginal(), c.read) << c.stored.constData();
    EXPECT_GT(info.CreateDate(), 0) << c.stored.constData();  // the date is still read
  }
}

// A burst taken within one second, added in scrambled order, is numbered in shooting order;
// a picture of the same second without a fraction keeps its place.
TEST(PictureListTest, BurstInTheSameSecondIsNumberedInShootingOrder) {
  PictureFolder folder;
  const QList<QPair<QString, QByteArray>> added = {
      {"c.jpg", "5"}, {"a.jpg", "9"}, {"plain.jpg", ""}, {"e.jpg", "045"}, {"b.jpg", "73"}, {"d.jpg", "12"}};
  QMap<QString, QByteArray> bytes;
  uint16_t serial = 100;
  for (const auto& [name, subSec] : added) {
    bytes[name] = burstPicture(subSec, serial++);
    folder.addFile(name, bytes[name]);
  }
  PictureList list;
  for (const auto& [name, subSec] : added) EXPECT_EQ(list.add(folder.pathOf(name)), QString());
  list.sort();
  QStringList order;
  for (const PictureRow& row : list.rows()) order.append(row.row.text);
  EXPECT_EQ(order, QStringList({"e.jpg", "d.jpg", "plain.jpg", "c.jpg", "b.jpg", "a.jpg"}));

  ConfigClass config;
  config.SetIsSuffix(true);
  config.SetDigits(2);
  config.SetStartNum(1);
  const std::vector<RowPlan> plan = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
  const QStringList names = renameOnDisk(list, config);
  for (size_t i = 0; i < plan.size(); ++i) {
    EXPECT_EQ(plan[i].outcome, RowPlan::Outcome::Rename);
    EXPECT_EQ(plan[i].newName, names[static_cast<qsizetype>(i)]);
    EXPECT_EQ(plan[i].date.source, DateSource::ExifCapture);
  }
  QStringList sortedNames = names;
  sortedNames.sort();
  EXPECT_EQ(names, sortedNames);  // numbers rise in list order, i.e. in shooting order
  const QMap<QString, QByteArray> onDisk = folder.contents();
  for (qsizetype i = 0; i < names.size(); ++i) EXPECT_EQ(onDisk.value(names[i]), bytes[order[i]]) << names[i].toStdString();
}

// The plan is what the rename then does, for dated, undated, same-second, colliding,
// unchecked and bystander files, under several settings.
TEST(PictureListTest, PlanEqualsWhatTheRenameDoes) {
  for (int variant = 0; variant < 4; ++variant) {
    SCOPED_TRACE(variant);
    PictureFolder folder;
    folder.addPicture(QStringLiteral("x1.JPG"), "2014:08:05 01:45:01");
    folder.addPicture(QStringLiteral("x2.jpg"), "2014:08:05 01:45:01");
    folder.addPicture(QStringLiteral("x3.jpg"), "2013:01:02 03:04:05");
    folder.addPicture(QStringLiteral("undated.jpg"), "", rt::makeDate(2012, 5, 6, 7, 8, 9));
    folder.addPicture(QStringLiteral("off.jpg"), "2011:01:01 00:00:00");
    ConfigClass config;
    config.SetNotExif(static_cast<uint8_t>(variant % 3));
    config.SetIsSuffix(variant == 3);
    config.SetExtension(static_cast<uint8_t>(variant % 3));
    if (variant == 1) correctClock(config, rt::makeDate(2005, 1, 1, 11, 30, 0));
    PictureList list;
    addSorted(list, folder);
    list.setChecked(static_cast<size_t>(list.indexOf(folder.pathOf(QStringLiteral("off.jpg")))), false);
    // A bystander holding the name the first picture would take.
    const std::vector<RowPlan> first = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
    const qsizetype x3 = list.indexOf(folder.pathOf(QStringLiteral("x3.jpg")));
    ASSERT_EQ(first[static_cast<size_t>(x3)].outcome, RowPlan::Outcome::Rename);
    folder.addPicture(first[static_cast<size_t>(x3)].newName, "");

    const std::vector<RowPlan> plan = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
    EXPECT_NE(plan[static_cast<size_t>(x3)].newName, first[static_cast<size_t>(x3)].newName);
    std::vector<RenameRow> before = list.renameRows();
    const QStringList names = renameOnDisk(list, config);
    for (size_t i = 0; i < plan.size(); ++i) {
      const bool moves = plan[i].outcome == RowPlan::Outcome::Rename;
      EXPECT_EQ(names[static_cast<qsizetype>(i)], moves || plan[i].outcome == RowPlan::Outcome::KeepsName
                                                      ? plan[i].newName
                                                      : before[i].text)
          << before[i].text.toStdString();
      EXPECT_TRUE(QFile::exists(folder.pathOf(names[static_cast<qsizetype>(i)])));
    }
    const auto undated = static_cast<size_t>(std::find_if(before.begin(), before.end(), [](const RenameRow& r) {
                                               return r.text == QLatin1String("undated.jpg");
                                             }) - before.begin());
    const RowPlan::Outcome expected[] = {RowPlan::Outcome::Rename, RowPlan::Outcome::NotRenamed,
                                         RowPlan::Outcome::AsksDate};
    EXPECT_EQ(plan[undated].outcome, expected[variant % 3]);
    EXPECT_EQ(plan[undated].date.source, variant % 3 == 0 ? DateSource::File : DateSource::None);
    const size_t off = static_cast<size_t>(list.indexOf(folder.pathOf(QStringLiteral("off.jpg"))));
    EXPECT_EQ(plan[off].outcome, RowPlan::Outcome::Unchecked);
  }
}

// A file system that counts the listings read from it.
class CountingFileSystem : public rt::LocalFileSystem {
 public:
  QStringList entryNames(const QString& folder) const override {
    ++listings;
    return LocalFileSystem::entryNames(folder);
  }
  mutable int listings = 0;
};

// Planning again reuses the folder's listing only while the folder is as it was then: a file
// that appeared since takes its name from the plan. A folder changed just now is read again
// every time (a change within the same clock tick would not move its times).
TEST(PictureListTest, PlanReadsAFolderAgainOnlyOnceItChanged) {
  TwoPictures pictures;
  PictureFolder& folder = pictures.folder;
  PictureList& list = pictures.list;
  ConfigClass config;
  const RenameOffsets offsets = RenameOffsets::fromConfig(config);
  CountingFileSystem fs;
  const std::vector<RowPlan> fresh = list.plan(config, offsets, fs);
  list.plan(config, offsets, fs);
  EXPECT_EQ(fs.listings, 2);
  for (int i = 0; i < 40 && !fs.folderStamp(folder.path())->settled; ++i) ::usleep(100 * 1000);
  ASSERT_TRUE(fs.folderStamp(folder.path())->settled);

  list.plan(config, offsets, fs);
  const std::vector<RowPlan> kept = list.plan(config, offsets, fs);
  EXPECT_EQ(fs.listings, 3);
  ASSERT_EQ(kept[0].outcome, RowPlan::Outcome::Rename);
  EXPECT_EQ(kept[0].newName, fresh[0].newName);

  folder.addPicture(fresh[0].newName, "");  // another program takes the name
  const std::vector<RowPlan> after = list.plan(config, offsets, fs);
  EXPECT_EQ(fs.listings, 4);
  EXPECT_NE(after[0].newName, fresh[0].newName);
  EXPECT_EQ(renameOnDisk(list, config)[0], after[0].newName);
}

// A file reached by two paths is listed once; what is not a regular file is refused.
TEST(PictureListTest, AddKeepsOneRowPerFileAndRefusesOthers) {
  PictureFolder folder;
  folder.addPicture(QStringLiteral("a.jpg"), "2014:08:05 01:45:01");
  ASSERT_EQ(::link(folder.pathOf(QStringLiteral("a.jpg")).toLocal8Bit().constData(),
                   folder.pathOf(QStringLiteral("hard.jpg")).toLocal8Bit().constData()),
            0);
  ASSERT_EQ(::mkfifo(folder.pathOf(QStringLiteral("pipe.jpg")).toLocal8Bit().constData(), 0600), 0);
  PictureList list;
  EXPECT_EQ(list.add(folder.pathOf(QStringLiteral("a.jpg"))), QString());
  EXPECT_EQ(list.add(folder.pathOf(QStringLiteral("a.jpg"))), QString());
  EXPECT_EQ(list.add(folder.pathOf(QStringLiteral("hard.jpg"))), QString());
  EXPECT_EQ(list.size(), 1u);
  EXPECT_TRUE(list.add(folder.pathOf(QStringLiteral("pipe.jpg"))).contains(QStringLiteral("pipe.jpg")));
  EXPECT_EQ(list.size(), 1u);
  list.remove({0});
  EXPECT_EQ(list.size(), 0u);
  EXPECT_EQ(list.add(folder.pathOf(QStringLiteral("hard.jpg"))), QString());  // free again once removed
  EXPECT_EQ(list.size(), 1u);
}

// Many files read at once (on several threads) and then added in order make the list that
// adding them one by one makes: same rows in the same order, the same file listed once under
// the path met first, the same refusals, the same reports in the same order.
TEST(PictureListTest, ReadAtOnceAddsWhatOneByOneAdds) {
  ASSERT_TRUE(PrepareConcurrentReading());
  PictureFolder folder;
  QStringList batch;
  for (int i = 0; i < 150; ++i) {
    const QString name = QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
    const int second = (i * 37) % 90;  // shuffled, some pictures in the same second
    folder.addPicture(name, QStringLiteral("2014:08:05 01:%1:%2")
                                .arg(second / 60 + 10)
                                .arg(second % 60, 2, 10, QLatin1Char('0'))
                                .toLatin1());
    batch.append(folder.pathOf(name));
  }
  const auto local = [&](const QString& name) { return folder.pathOf(name).toLocal8Bit(); };
  ASSERT_EQ(::link(local(QStringLiteral("p005.jpg")).constData(), local(QStringLiteral("hard5.jpg")).constData()), 0);
  ASSERT_EQ(::link(local(QStringLiteral("p100.jpg")).constData(), local(QStringLiteral("hard100.jpg")).constData()), 0);
  ASSERT_EQ(::mkfifo(local(QStringLiteral("pipe.jpg")).constData(), 0600), 0);
  ASSERT_EQ(::symlink(local(QStringLiteral("p001.jpg")).constData(), local(QStringLiteral("link.jpg")).constData()), 0);
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("dir.jpg")));
  testsupport::ByteWriter farOffset(false);
  farOffset.bytes("II").u16(42).u32(0x7FFFFFFF);
  folder.addFile(QStringLiteral("overflow.jpg"), testsupport::JpegBuilder().app1(testsupport::exifBody(farOffset.data())).bytes());
  folder.addFile(QStringLiteral("badlength.jpg"),
                 testsupport::JpegBuilder().segmentWithLength(0xE0, 1, QByteArray(16, '\0')).frame(0xC0, 8, 5, 6).bytes());
  // Duplicates by path and by identity, before and after their file; refusals; reports.
  for (const char* name : {"hard5.jpg", "p010.jpg", "overflow.jpg", "pipe.jpg", "hard100.jpg", "link.jpg",
                           "dir.jpg", "missing.jpg", "badlength.jpg", "p020.jpg"})
    batch.insert(batch.size() * (static_cast<int>(std::strlen(name)) % 7) / 7, folder.pathOf(QString::fromLatin1(name)));

  struct Outcome {
    QStringList keys, refusals, reports;
    std::vector<rt::files::FileIdentity> files;
  };
  const auto build = [&](bool atOnce) {
    testsupport::ReportedErrors errors;
    PictureList list;
    EXPECT_EQ(list.add(batch[3]), QString());  // listed already: not read again
    Outcome outcome;
    if (atOnce) {
      std::vector<PictureList::ReadPath> read = list.read(batch);
      for (PictureList::ReadPath& path : read) outcome.refusals.append(list.add(std::move(path)));
    } else {
      for (const QString& path : batch) outcome.refusals.append(list.add(path));
    }
    list.sort();
    for (const PictureRow& row : list.rows()) {
      outcome.keys.append(row.row.key + QLatin1Char(' ') + row.row.dateKey);
      outcome.files.push_back(row.identity);
    }
    outcome.reports = errors.messages();
    return outcome;
  };
  const Outcome oneByOne = build(false);
  const Outcome atOnce = build(true);
  ASSERT_EQ(oneByOne.keys.size(), 152);  // 150 pictures and the two unreadable ones
  EXPECT_EQ(atOnce.keys, oneByOne.keys);
  EXPECT_TRUE(atOnce.files == oneByOne.files);
  EXPECT_EQ(atOnce.refusals, oneByOne.refusals);
  EXPECT_EQ(oneByOne.refusals.size() - oneByOne.refusals.count(QString()), 4);  // pipe, link, folder, missing
  ASSERT_EQ(oneByOne.reports.size(), 2);
  EXPECT_EQ(atOnce.reports, oneByOne.reports);
  // hard5.jpg comes after p005.jpg, hard100.jpg before p100.jpg: the first path met is listed.
  EXPECT_EQ(oneByOne.keys.filter(QStringLiteral("/hard")).size(), 1);
  EXPECT_EQ(oneByOne.keys.filter(QStringLiteral("/hard100.jpg")).size(), 1);
  EXPECT_EQ(oneByOne.keys.filter(QStringLiteral("/p100.jpg")).size(), 0);

  // A path listed when read() ran but dropped before its turn is read then.
  const QString first = folder.pathOf(QStringLiteral("p000.jpg"));
  PictureList list;
  ASSERT_EQ(list.add(first), QString());
  std::vector<PictureList::ReadPath> read = list.read({first});
  list.remove({0});
  EXPECT_EQ(list.add(std::move(read[0])), QString());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.rows()[0].row.key, first);
  EXPECT_FALSE(list.rows()[0].row.dateKey.isEmpty());
}

// A date the offset pushes beyond the last one a name can hold stops the whole run: the plan
// shows that row and every other checked row as impossible, and the rename moves nothing.
TEST(PictureListTest, ADateOutOfRangeMakesThePlanImpossibleAndTheRenameMovesNothing) {
  PictureFolder folder;
  folder.addPicture(QStringLiteral("early.jpg"), "2014:08:05 01:45:01");
  folder.addPicture(QStringLiteral("last.jpg"), "9999:12:31 23:00:00");
  ConfigClass config;
  correctClock(config, rt::makeDate(2005, 1, 2, 10, 0, 0));
  PictureList list;
  addSorted(list, folder);
  const std::vector<RowPlan> plan = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
  ASSERT_EQ(plan.size(), 2u);
  for (const RowPlan& row : plan) {
    EXPECT_EQ(row.outcome, RowPlan::Outcome::Impossible);
    EXPECT_FALSE(row.reason.isEmpty());
  }
  EXPECT_THROW(renameOnDisk(list, config), RenameFailure);
  EXPECT_EQ(folder.entries(), QStringList({"early.jpg", "last.jpg"}));
}

// A file another program renamed since it was listed, here to a case variant of its name: the
// plan shows every checked row as impossible, for the reason the rename then fails with, and
// the rename leaves the folder as it was.
TEST(PictureListTest, AFileGoneSinceItWasListedMakesThePlanFailAsTheRenameDoes) {
  TwoPictures pictures;
  PictureFolder& folder = pictures.folder;
  PictureList& list = pictures.list;
  ASSERT_TRUE(QFile::rename(folder.pathOf(QStringLiteral("a.jpg")), folder.pathOf(QStringLiteral("A.JPG"))));
  ConfigClass config;
  const std::vector<RowPlan> plan = list.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
  try {
    renameOnDisk(list, config);
    ADD_FAILURE() << "the rename went through";
  } catch (const RenameFailure& failure) {
    ASSERT_EQ(plan.size(), 2u);
    for (const RowPlan& row : plan) {
      EXPECT_EQ(row.outcome, RowPlan::Outcome::Impossible);
      EXPECT_EQ(row.reason, failure.description());
    }
  }
  EXPECT_EQ(folder.entries(), QStringList({"A.JPG", "b.jpg"}));
}
