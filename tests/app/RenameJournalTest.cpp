// The rename journal: a run killed at any point is put back, either way, in one step; undo;
// names of any bytes; damaged journals.
#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/JournalRecovery.h"
#include "app/naming/JournalStore.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/SimulatedFileSystem.h"
#include "app/naming/UndoRun.h"
#include "app/picture/PictureInfos.h"
#include "runtime/DurableFile.h"
#include "runtime/PathCodec.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::PictureFolder;

namespace {

// The real file system, except that the process dies on its call number crashAt (counting
// every call), before doing it: no clean-up, no outcome, as a kill would leave things.
class DyingFileSystem : public rt::FileSystem {
 public:
  explicit DyingFileSystem(int crashAt) : crashAt_(crashAt) {}
  bool exists(const QString& path) const override { return tick(), real_.exists(path); }
  bool renameNoReplace(const QString& from, const QString& to) override { return tick(), real_.renameNoReplace(from, to); }
  QStringList entryNames(const QString& folder) const override { return tick(), real_.entryNames(folder); }
  qsizetype maxNameLength(const QString& folder) const override { return tick(), real_.maxNameLength(folder); }

 private:
  void tick() const {
    if (++calls_ == crashAt_) ::_exit(0);
  }
  rt::FileSystem& real_ = rt::localFileSystem();
  int crashAt_;
  mutable int calls_ = 0;
};

// Runs body in a child process whose file system dies at call crashAt. True when it died
// there; false when body ended before that call.
bool diesAt(int crashAt, const std::function<void(rt::FileSystem&)>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    DyingFileSystem fs(crashAt);
    try {
      body(fs);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(3);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "the child failed at " << crashAt;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A fresh journal folder for the test.
void freshJournalFolder() {
  ::setenv("XDG_STATE_HOME", QFile::encodeName(testsupport::makeTempDir(QStringLiteral("state"))).constData(), 1);
}

std::vector<RenameRow> rowsOf(const PictureFolder& folder, const QStringList& names) {
  std::vector<RenameRow> rows;
  for (const QString& name : names) {
    const JpegInfosClass info = PictureInfos(folder.pathOf(name));
    rows.push_back(RenameRow{folder.pathOf(name), name, folder.path(), RowDateKey(info), HasExifDate(info), true});
  }
  std::stable_sort(rows.begin(), rows.end(), [](const RenameRow& a, const RenameRow& b) { return a.dateKey < b.dateKey; });
  return rows;
}

RenameSummary renameJournaled(std::vector<RenameRow>& rows, rt::FileSystem& fs = rt::localFileSystem()) {
  ConfigClass config;
  SilentQuestions questions;
  JournalWriter journal;
  RenameEngine engine(fs, config, {}, questions);
  engine.setJournal(&journal);
  return engine.run(rows);
}

// Every file of the folder by name, names of any bytes included.
QMap<QString, QByteArray> contentsOf(const PictureFolder& folder) {
  QMap<QString, QByteArray> contents;
  for (const auto& [name, identity] : rt::durable::identitiesIn(folder.path())) {
    const int fd = ::open(rt::encodePath(folder.pathOf(name)).constData(), O_RDONLY);
    QByteArray bytes(static_cast<qsizetype>(identity.size), Qt::Uninitialized);
    const ssize_t got = fd < 0 ? -1 : ::read(fd, bytes.data(), static_cast<size_t>(bytes.size()));
    if (fd >= 0) ::close(fd);
    contents.insert(name, got == bytes.size() ? bytes : QByteArray("<unreadable>"));
  }
  return contents;
}

// The folder as the dry run says the rename leaves it.
QMap<QString, QByteArray> planned(const PictureFolder& folder, std::vector<RenameRow> rows) {
  QMap<QString, QByteArray> before = contentsOf(folder);
  SimulatedFileSystem listed(rt::localFileSystem());
  ConfigClass config;
  SilentQuestions questions;
  const std::vector<RenameRow> old = rows;
  RenameEngine(listed, config, {}, questions).plan(rows);
  QMap<QString, QByteArray> after = before;
  for (const RenameRow& row : old) after.remove(row.text);
  for (size_t i = 0; i < rows.size(); ++i) after.insert(rows[i].text, before.value(old[i].text));
  return after;
}

// A swap (P and Q carry each other's future names), a collision (R and S of the same day), a
// bystander holding T's first choice, an undated picture named after its file date (with a
// line feed and a tab in its name) and a picture whose name is not UTF-8.
struct Scene {
  PictureFolder folder;
  QStringList names{"20240316AA.jpg", "20240315AA.jpg", "IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg", "scan\nnuit\t1.jpg",
                    rt::decodePath("caf\xe9.jpg")};
  Scene() {
    folder.addPicture(names[0], "2024:03:15 10:00:00");
    folder.addPicture(names[1], "2024:03:16 10:00:00");
    folder.addPicture(names[2], "2024:03:17 10:00:00");
    folder.addPicture(names[3], "2024:03:17 10:00:00");
    folder.addPicture(names[4], "2024:03:18 10:00:00");
    folder.addPicture(names[5], "", rt::makeDate(2024, 3, 19, 8, 0, 0));
    folder.addFile("20240318AA.jpg", "bystander");
    folder.addPicture("latin1", "2024:03:20 10:00:00");
    if (std::rename(rt::encodePath(folder.pathOf("latin1")).constData(), rt::encodePath(folder.pathOf(names[6])).constData()) != 0)
      ADD_FAILURE() << "cannot give a picture a name that is not UTF-8";
  }
  std::vector<RenameRow> rows() const { return rowsOf(folder, names); }
};

QStringList temporaryNames(const QMap<QString, QByteArray>& contents) {
  QStringList names;
  for (const QString& name : contents.keys())
    if (name.startsWith(kTemporaryPrefix)) names.append(name);
  return names;
}

QByteArray digest(const QMap<QString, QByteArray>& contents) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (auto it = contents.begin(); it != contents.end(); ++it) hash.addData((it.key() + '\n').toUtf8() + it.value());
  return hash.result().toHex();
}

}  // namespace

// Killed at every file-system call of the run, then recovered (itself killed once on the way,
// then run again): "restore" gives every picture its old name, "finish" leaves exactly what
// the dry run showed; no temporary name is left, nothing is lost or doubled.
TEST(RenameJournal, RecoversARunKilledAtAnyPointEitherWay) {
  int lastCrash = 0;
  for (int crashAt = 1;; ++crashAt) {
    bool ranToTheEnd = false;
    for (const RecoveryGoal goal : {RecoveryGoal::OldNames, RecoveryGoal::FinalNames}) {
      SCOPED_TRACE(testing::Message() << "crash at call " << crashAt << (goal == RecoveryGoal::OldNames ? " restore" : " finish"));
      freshJournalFolder();
      Scene scene;
      const QMap<QString, QByteArray> original = contentsOf(scene.folder);
      const QMap<QString, QByteArray> expected = goal == RecoveryGoal::OldNames ? original : planned(scene.folder, scene.rows());
      if (goal == RecoveryGoal::FinalNames) {
        ASSERT_TRUE(expected.contains("20240320AA.jpg"));  // the Latin-1 name
      }
      std::vector<RenameRow> rows = scene.rows();
      if (!diesAt(crashAt, [&](rt::FileSystem& fs) { renameJournaled(rows, fs); })) {
        ranToTheEnd = true;
        break;
      }
      const QStringList interrupted = interruptedJournals();
      if (interrupted.isEmpty()) {  // killed before the journal: nothing moved
        EXPECT_EQ(contentsOf(scene.folder), original);
        continue;
      }
      ASSERT_EQ(interrupted.size(), 1);
      diesAt(1 + crashAt % 4, [&](rt::FileSystem& fs) { recoverJournal(interrupted.front(), goal, fs); });
      const RecoveryReport report = recoverJournal(interrupted.front(), goal, rt::localFileSystem());
      EXPECT_TRUE(report.problems.isEmpty()) << report.problems.join('\n').toStdString();
      const QMap<QString, QByteArray> now = contentsOf(scene.folder);
      EXPECT_EQ(digest(now), digest(expected));
      EXPECT_EQ(now.keys(), expected.keys());
      EXPECT_TRUE(temporaryNames(now).isEmpty());
      EXPECT_TRUE(interruptedJournals().isEmpty());
    }
    if (ranToTheEnd) break;
    lastCrash = crashAt;
  }
  EXPECT_GE(lastCrash, 14);  // every call was tried, the 14 renames of the 7 files included
}

// Undo gives the old names back, twice in a row going further back; a file edited, renamed or
// whose old name was taken since keeps its name and is listed, and nothing is replaced.
TEST(RenameJournal, UndoesTheLastRunsAndSkipsWhatChangedSince) {
  freshJournalFolder();
  Scene scene;
  const QMap<QString, QByteArray> original = contentsOf(scene.folder);
  std::vector<RenameRow> rows = scene.rows();
  renameJournaled(rows);
  const QMap<QString, QByteArray> afterFirst = contentsOf(scene.folder);
  const QByteArray fourth = scene.folder.addPicture("IMG_4.jpg", "2024:03:20 10:00:00");
  std::vector<RenameRow> second = rowsOf(scene.folder, {"IMG_4.jpg"});
  renameJournaled(second);
  ASSERT_EQ(undoableRuns().size(), 2u);

  UndoResult undone = undoRun(undoableRuns().front(), rt::localFileSystem());
  EXPECT_EQ(undone.restored, 1);
  EXPECT_TRUE(undone.skipped.isEmpty());
  QMap<QString, QByteArray> expected = afterFirst;
  expected.insert("IMG_4.jpg", fourth);
  EXPECT_EQ(contentsOf(scene.folder), expected);
  ASSERT_TRUE(QFile::remove(scene.folder.pathOf("IMG_4.jpg")));

  undone = undoRun(undoableRuns().front(), rt::localFileSystem());
  EXPECT_EQ(undone.restored, static_cast<int>(rows.size()));
  EXPECT_EQ(contentsOf(scene.folder), original);
  EXPECT_TRUE(undoableRuns().empty());

  // Again, and this time three files change before the undo.
  rows = scene.rows();
  renameJournaled(rows);
  const QString edited = rows[0].key, renamed = rows[1].key;
  {
    QFile file(edited);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("edited");
  }
  ASSERT_TRUE(QFile::rename(renamed, scene.folder.pathOf("mine.jpg")));
  const QString takenOldName = scene.names[2];
  scene.folder.addFile(takenOldName, "a new file");
  undone = undoRun(undoableRuns().front(), rt::localFileSystem());
  EXPECT_EQ(undone.skipped.size(), 3) << undone.skipped.join('\n').toStdString();
  EXPECT_EQ(undone.restored, static_cast<int>(rows.size()) - 3);
  const QMap<QString, QByteArray> now = contentsOf(scene.folder);
  EXPECT_EQ(now.value(takenOldName), QByteArray("a new file"));
  EXPECT_TRUE(now.value(rows[0].text).endsWith("edited"));
  EXPECT_TRUE(now.contains("mine.jpg"));
  EXPECT_EQ(now.size(), original.size() + 1);
  EXPECT_TRUE(temporaryNames(now).isEmpty());
}

// Every byte sequence survives the journal; only control bytes, "%", DEL and what is not
// UTF-8 are escaped, so a journal line reads as the names are.
TEST(RenameJournal, FieldsRoundTripAnyBytes) {
  QByteArray all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  QRandomGenerator random(7);
  QList<QByteArray> samples{all, "IMG_0001.JPG", "été à Paris.jpg", "a\nb\tc%20.jpg", "\xff\xfe\xc3(\xed\xa0\x80.jpg"};
  for (int i = 0; i < 200; ++i) {
    QByteArray bytes(1 + random.bounded(40), Qt::Uninitialized);
    for (char& c : bytes) c = static_cast<char>(random.bounded(256));
    samples.append(bytes);
  }
  for (const QByteArray& bytes : samples) {
    const QByteArray field = escapeJournalField(bytes);
    EXPECT_FALSE(field.contains('\n') || field.contains('\t'));
    EXPECT_EQ(unescapeJournalField(field), bytes);
  }
  EXPECT_EQ(escapeJournalField("été à Paris.jpg"), QByteArray("été à Paris.jpg"));
  EXPECT_EQ(escapeJournalField("a\nb%\xff"), QByteArray("a%0Ab%25%FF"));
}

// A journal cut or damaged: recovery says so in French and moves nothing. A journal that
// cannot be written stops the rename before any file moves.
TEST(RenameJournal, DamagedJournalMovesNothingAndUnwritableJournalStopsTheRun) {
  freshJournalFolder();
  Scene scene;
  std::vector<RenameRow> rows = scene.rows();
  ASSERT_TRUE(diesAt(12, [&](rt::FileSystem& fs) { renameJournaled(rows, fs); }));
  const QString path = interruptedJournals().value(0);
  ASSERT_FALSE(path.isEmpty());
  const QByteArray text = testsupport::readFile(path);
  const QMap<QString, QByteArray> crashed = contentsOf(scene.folder);
  const qsizetype planEnd = text.indexOf("\nplan\t");
  const QList<std::pair<QByteArray, QString>> damaged{
      {text.left(planEnd - 5), QStringLiteral("tronqué")},
      {text.left(planEnd + 1), QStringLiteral("tronqué")},
      {QByteArray(text).replace("\tfile\t", "\tfil\t").replace("\nfile\t", "\nfichier\t"), QStringLiteral("ligne 4")},
      {QByteArray(text).replace("plan\t7", "plan\t8"), QStringLiteral("nombre de fichiers")},
      {QByteArray(text).replace("($)_", "%G"), QStringLiteral("nom de fichier incorrect")},
  };
  for (const auto& [bytes, why] : damaged) {
    ASSERT_TRUE(testsupport::writeFile(path, bytes));
    try {
      recoverJournal(path, RecoveryGoal::OldNames, rt::localFileSystem());
      ADD_FAILURE() << "a damaged journal was used";
    } catch (const rt::RuntimeError& error) {
      EXPECT_TRUE(error.description().contains(QStringLiteral("endommagé"))) << error.description().toStdString();
      EXPECT_TRUE(error.description().contains(why)) << error.description().toStdString();
    }
    EXPECT_EQ(contentsOf(scene.folder), crashed);
  }

  freshJournalFolder();
  PictureFolder other;
  other.addPicture("IMG_7.jpg", "2024:05:01 10:00:00");
  std::vector<RenameRow> otherRows = rowsOf(other, {"IMG_7.jpg"});
  rt::durable::setWriteFaultForTesting(rt::ErrDiskFull);
  try {
    renameJournaled(otherRows);
    ADD_FAILURE() << "renamed without a journal";
  } catch (const RenameFailure& failure) {
    EXPECT_TRUE(failure.description().contains(QStringLiteral("journal"))) << failure.description().toStdString();
    EXPECT_TRUE(failure.to().isEmpty());
  }
  rt::durable::setWriteFaultForTesting(0);
  EXPECT_EQ(contentsOf(other).keys(), QStringList{"IMG_7.jpg"});
}

// A card mounted again may number its files anew: a file is then known by one of its names
// with its size and modification time. Pruning keeps the newest ended runs and every
// interrupted one.
TEST(RenameJournal, FindsRenumberedFilesAndPrunesOldJournals) {
  freshJournalFolder();
  Scene scene;
  const QMap<QString, QByteArray> original = contentsOf(scene.folder);
  std::vector<RenameRow> rows = scene.rows();
  ASSERT_TRUE(diesAt(10, [&](rt::FileSystem& fs) { renameJournaled(rows, fs); }));
  const QString path = interruptedJournals().value(0);
  QList<QByteArray> lines = testsupport::readFile(path).split('\n');
  for (QByteArray& line : lines) {
    QList<QByteArray> fields = line.split('\t');
    if (fields.size() == 8 && fields[0] == "file") fields[2] = QByteArray::number(fields[2].toULongLong() + 7000000);
    line = fields.join('\t');
  }
  ASSERT_TRUE(testsupport::writeFile(path, lines.join('\n')));
  const RecoveryReport report = recoverJournal(path, RecoveryGoal::OldNames, rt::localFileSystem());
  EXPECT_TRUE(report.problems.isEmpty()) << report.problems.join('\n').toStdString();
  EXPECT_EQ(contentsOf(scene.folder), original);

  for (int i = 0; i < 104; ++i) {
    JournalRun run;
    JournalWriter writer;
    writer.begin(run);
    if (i != 3) writer.end(JournalOutcome::Complete, {});
  }
  EXPECT_EQ(pruneJournals(), QString());
  EXPECT_EQ(storedRuns().size(), 101u);
  EXPECT_EQ(interruptedJournals().size(), 1);
}
