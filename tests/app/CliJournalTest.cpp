// A real tindra-cli rename killed with SIGKILL at a random moment, then recovered with
// tindra-cli recover; and the history and undo commands.
#include "app/naming/JournalStore.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

using testsupport::PictureFolder;

namespace {

#ifdef TINDRA_CLI_PATH
const QString kCli = QStringLiteral(TINDRA_CLI_PATH);
#define REQUIRE_CLI() (void)0
#else
const QString kCli;
#define REQUIRE_CLI() GTEST_SKIP() << "tindra-cli is not part of this build"
#endif

struct Result {
  int status = -1;
  QStringList lines;
  QString errors;
};

Result cli(const QStringList& arguments) {
  QProcess process;
  process.start(kCli, arguments);
  process.closeWriteChannel();
  if (!process.waitForFinished(120000)) ADD_FAILURE() << "tindra-cli did not finish";
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
          QString::fromUtf8(process.readAllStandardError())};
}

void freshJournalFolder() {
  ::setenv("XDG_STATE_HOME", QFile::encodeName(testsupport::makeTempDir(QStringLiteral("state"))).constData(), 1);
}

bool journalExists() { return !QDir(journalFolder()).entryList({"*.journal"}, QDir::Files).isEmpty(); }

// count pictures, three per day so that names collide and get numbered.
QStringList fillFolder(PictureFolder& folder, int count) {
  QStringList paths;
  for (int i = 0; i < count; ++i) {
    const QString name = QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
    folder.addPicture(name, QStringLiteral("2023:%1:%2 10:00:00")
                                .arg(1 + i / 3 / 28 % 12, 2, 10, QLatin1Char('0'))
                                .arg(1 + i / 3 % 28, 2, 10, QLatin1Char('0'))
                                .toLatin1());
    paths.append(folder.pathOf(name));
  }
  return paths;
}

// The folder after the rename, from the lines of plan (given path, new name).
QMap<QString, QByteArray> plannedContents(const PictureFolder& folder, const QStringList& planLines) {
  QMap<QString, QByteArray> before = folder.contents();
  QMap<QString, QByteArray> after;
  for (const QString& line : planLines) {
    const QStringList fields = line.split('\t');
    after.insert(fields[1], before.value(fields[0].mid(folder.path().size() + 1)));
  }
  return after;
}

}  // namespace

// Killed at a random moment of the moves (a few times, bounded), a rename is put back by one
// recover command, one way or the other; tindra-cli tells about the interrupted run first.
TEST(CliJournal, KilledRenameIsRecoveredInOneStep) {
  REQUIRE_CLI();
  // Enough files for the moves to outlast the process start and exit around them.
  constexpr int kFiles = 1500;
  QRandomGenerator random(QRandomGenerator::global()->generate());
  // How long the moves take, from the journal's appearance to the end.
  qint64 movesMs = 0;
  {
    freshJournalFolder();
    PictureFolder folder;
    const QStringList paths = fillFolder(folder, kFiles);
    QProcess process;
    process.start(kCli, QStringList{"rename"} + paths);
    while (!journalExists() && process.state() != QProcess::NotRunning) QThread::usleep(200);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(process.waitForFinished(120000));
    movesMs = std::max<qint64>(timer.elapsed(), 2);
  }
  int interrupted = 0;
  for (int trial = 0; trial < 8 && interrupted < 3; ++trial) {
    SCOPED_TRACE(trial);
    freshJournalFolder();
    PictureFolder folder;
    const QStringList paths = fillFolder(folder, kFiles);
    const QMap<QString, QByteArray> original = folder.contents();
    const QMap<QString, QByteArray> finished = plannedContents(folder, cli(QStringList{"plan"} + paths).lines);
    ASSERT_EQ(finished.size(), kFiles);

    QProcess process;
    process.start(kCli, QStringList{"rename"} + paths);
    while (!journalExists() && process.state() != QProcess::NotRunning) QThread::usleep(200);
    QThread::usleep(static_cast<unsigned long>(random.bounded(movesMs * 1000)));
    process.kill();
    process.waitForFinished();
    if (interruptedJournals().isEmpty()) continue;  // it ended before the kill
    ++interrupted;

    const bool restore = trial % 2 == 0;
    EXPECT_TRUE(cli({"info", paths.front()}).errors.contains(QStringLiteral("a été interrompu")));
    const Result recovered = cli({"recover", restore ? "--restore" : "--finish"});
    EXPECT_EQ(recovered.status, 0) << recovered.errors.toStdString();
    EXPECT_EQ(folder.contents(), restore ? original : finished);
    EXPECT_TRUE(interruptedJournals().isEmpty());
  }
  EXPECT_GT(interrupted, 0) << "no kill landed during the moves";
}

// history lists the runs with their outcome; undo [N] gives the old names back.
TEST(CliJournal, HistoryAndUndo) {
  REQUIRE_CLI();
  freshJournalFolder();
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:06:01 10:00:00");
  folder.addPicture("IMG_2.jpg", "2024:06:02 10:00:00");
  const QMap<QString, QByteArray> original = folder.contents();
  ASSERT_EQ(cli({"rename", folder.pathOf("IMG_1.jpg")}).status, 0);
  ASSERT_EQ(cli({"rename", folder.pathOf("IMG_2.jpg")}).status, 0);

  const Result undone = cli({"undo", "2"});
  EXPECT_EQ(undone.status, 0) << undone.errors.toStdString();
  EXPECT_EQ(undone.lines, QStringList{folder.pathOf("20240601AA.jpg") + '\t' + folder.pathOf("IMG_1.jpg")});
  const Result history = cli({"history"});
  ASSERT_EQ(history.lines.size(), 3);
  EXPECT_TRUE(history.lines[0].contains(QStringLiteral("\tannulation\t") + folder.path() + QStringLiteral("\t1\tterminé")));
  EXPECT_TRUE(history.lines[1].endsWith(QStringLiteral("\trenommage\t") + folder.path() + QStringLiteral("\t1\tterminé")));
  EXPECT_TRUE(history.lines[2].endsWith(QStringLiteral("\t1\tannulé")));
  EXPECT_EQ(cli({"undo"}).status, 0);
  EXPECT_EQ(folder.contents(), original);
  const Result nothing = cli({"undo"});
  EXPECT_EQ(nothing.status, 1);
  EXPECT_TRUE(nothing.errors.contains(QStringLiteral("aucun renommage à annuler")));
}
