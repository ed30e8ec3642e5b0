// Real instances of the program: the second one hands its files to the first through the
// hand-off file and ends at once; the first claims them within about a second. Most tests run
// the program with a scripted user (tindra-probe: the program itself, answering its message
// boxes with Enter and telling what its window lists on request), started in folders and
// states a user meets: relative paths, a crash, a bad settings file, no library.
#include "tests/support/PictureFiles.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <functional>
#include <memory>
#include <vector>

namespace {

// A built program copied as "tindra" into a private folder, so its settings, lock and hand-off
// files are the test's own.
QString privateCopy(const QString& builtName) {
  const QString built = QCoreApplication::applicationDirPath() + "/" + builtName;
  if (!QFileInfo(built).isExecutable()) return QString();
  const QString folder = testsupport::makeTempDir("installed");
  const QString copy = folder + "/tindra";
  if (!QFile::copy(built, copy)) return QString();
  QFile::setPermissions(copy, QFile::permissions(built));
  return copy;
}

bool waitFor(const std::function<bool()>& condition, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!deadline.hasExpired()) {
    if (condition()) return true;
    QThread::msleep(50);
  }
  return condition();
}

void startOffscreen(QProcess& process, const QString& program, const QStringList& arguments,
                    const QString& workingFolder = QString(), const QString& configHome = QString()) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  if (!configHome.isEmpty()) environment.insert("XDG_CONFIG_HOME", configHome);
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  if (!workingFolder.isEmpty()) process.setWorkingDirectory(workingFolder);
  process.start(program, arguments);
}

QString dated(const QString& folder, const QString& name, int minute) {
  testsupport::ExifContent content;
  content.dateTimeOriginal = testsupport::exifDate(2010, 5, 6, 7, minute % 60, minute / 60);
  return testsupport::writeDisplayableJpeg(folder, name, content, 8, 8);
}

// A program copy run with the scripted user, and what its files say.
class ProbeTest : public testing::Test {
 protected:
  void SetUp() override {
    program = privateCopy("tindra-probe");
    if (program.isEmpty()) GTEST_SKIP() << "the test program tindra-probe is not built beside the tests";
    folder = QFileInfo(program).absolutePath();
  }

  void TearDown() override {
    for (auto& process : processes) {
      if (process->state() != QProcess::NotRunning) {
        ::kill(static_cast<pid_t>(process->processId()), SIGCONT);
        process->kill();
        process->waitForFinished(5000);
      }
    }
  }

  QProcess& start(const QStringList& arguments, const QString& workingFolder = QString(),
                  const QString& configHome = QString()) {
    processes.push_back(std::make_unique<QProcess>());
    startOffscreen(*processes.back(), program, arguments, workingFolder, configHome);
    return *processes.back();
  }

  // True while a live process holds the instance lock. Read without locking: a test that took
  // the lock even for a moment could make a starting instance believe another one runs.
  bool lockHeld() const {
    const QLockFile lock(folder + "/tindra.instance.lock");
    qint64 pid = 0;
    QString host;
    QString application;
    return lock.getLockInfo(&pid, &host, &application) && pid > 0 &&
           QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
  }

  bool handOffPending() const { return QFile::exists(folder + "/~files.tmp"); }

  // Asks the running window what it lists ("visible=0|1" first), then it closes.
  QStringList state() {
    testsupport::writeFile(folder + "/probe-request", "");
    const QString file = folder + "/probe-state.txt";
    if (!waitFor([&] { return QFile::exists(file); }, 20000)) return {};
    return QString::fromUtf8(testsupport::readFile(file)).split('\n', Qt::SkipEmptyParts);
  }

  QString messages() const { return QString::fromUtf8(testsupport::readFile(folder + "/probe-messages.txt")); }

  QString program;
  QString folder;
  std::vector<std::unique_ptr<QProcess>> processes;
};

}  // namespace

TEST(HandOffTest, ASecondStartHandsItsFilesToTheRunningInstance) {
  const QString program = privateCopy("tindra");
  ASSERT_FALSE(program.isEmpty()) << "the program tindra is not built beside the tests";
  const QString folder = QFileInfo(program).absolutePath();
  const QString pictures = testsupport::makeTempDir("pictures");
  testsupport::ExifContent content;
  content.dateTimeOriginal = testsupport::exifDate(2010, 5, 6, 7, 8, 9);
  const QString first = testsupport::writeDisplayableJpeg(pictures, "first.jpg", content);
  const QString second = testsupport::writeDisplayableJpeg(pictures, "second.jpg", content);
  const QString handOff = folder + "/~files.tmp";

  QProcess primary;
  startOffscreen(primary, program, {first});
  ASSERT_TRUE(primary.waitForStarted(10000));
  ASSERT_TRUE(waitFor([&] { return QFile::exists(folder + "/tindra.instance.lock"); }, 20000))
      << "the first instance never took the instance lock";

  QProcess secondary;
  startOffscreen(secondary, program, {second});
  ASSERT_TRUE(secondary.waitForFinished(4000)) << "the second instance did not end at once";
  EXPECT_EQ(secondary.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(secondary.exitCode(), 0);

  // The running instance claims the list on one of its next ticks and stays up.
  EXPECT_TRUE(waitFor([&] { return !QFile::exists(handOff); }, 5000)) << "the hand-off file was not claimed";
  EXPECT_EQ(primary.state(), QProcess::Running);

  primary.kill();
  primary.waitForFinished(5000);
}

// `cd A && tindra first.jpg`, then `cd B && tindra second.jpg`: each path is taken in the
// folder of its own start, in the list as in the hand-off file.
TEST_F(ProbeTest, RelativePathsAreTakenInTheFolderOfTheirStart) {
  const QString a = testsupport::makeTempDir("a");
  const QString b = testsupport::makeTempDir("b");
  dated(a, "first.jpg", 1);
  dated(b, "second.jpg", 2);
  QProcess& primary = start({"first.jpg"}, a);
  ASSERT_TRUE(waitFor([&] { return lockHeld(); }, 30000)) << "the first instance never took the instance lock";

  // Held still, the first instance cannot claim: the hand-off file shows what was handed over.
  ::kill(static_cast<pid_t>(primary.processId()), SIGSTOP);
  QProcess& secondary = start({"./sub/../second.jpg"}, b);
  const bool ended = secondary.waitForFinished(30000);
  const QByteArray handedOver = testsupport::readFile(folder + "/~files.tmp");
  ::kill(static_cast<pid_t>(primary.processId()), SIGCONT);
  ASSERT_TRUE(ended) << "the second instance did not hand over";
  EXPECT_EQ(secondary.exitCode(), 0);
  EXPECT_EQ(handedOver, (b + "/second.jpg\r\n").toUtf8());

  ASSERT_TRUE(waitFor([&] { return !handOffPending(); }, 10000)) << "the hand-off file was not claimed";
  EXPECT_EQ(state(), (QStringList{"visible=1", a + "/first.jpg", b + "/second.jpg"}));
  EXPECT_EQ(messages(), "");
}

// The running window is killed with a list handed over but not claimed yet; then ten
// instances start at once with 50 files each. Every file reaches the one that takes over.
TEST_F(ProbeTest, NoHandedOverFileIsLostWhenManyStartAfterACrash) {
  const QString pictures = testsupport::makeTempDir("pictures");
  const QString leftover = dated(pictures, "leftover.jpg", 0);
  QProcess& crashed = start({dated(pictures, "crashed.jpg", 0)});
  ASSERT_TRUE(waitFor([&] { return lockHeld(); }, 30000)) << "the first instance never took the instance lock";
  ::kill(static_cast<pid_t>(crashed.processId()), SIGSTOP);
  QProcess& late = start({leftover});
  ASSERT_TRUE(late.waitForFinished(30000));
  crashed.kill();
  ASSERT_TRUE(crashed.waitForFinished(5000));
  ASSERT_TRUE(handOffPending());

  QStringList expected{leftover};
  std::vector<QProcess*> starts;
  std::vector<QStringList> lists(10);
  for (int i = 0; i < 10; ++i) {
    for (int j = 0; j < 50; ++j) {
      lists[i].append(dated(pictures, QStringLiteral("p%1_%2.jpg").arg(i).arg(j), i * 50 + j + 1));
    }
    expected += lists[i];
  }
  for (int i = 0; i < 10; ++i) starts.push_back(&start(lists[i]));
  const auto running = [&] {
    int count = 0;
    for (QProcess* process : starts) count += process->waitForFinished(0) || process->state() == QProcess::NotRunning ? 0 : 1;
    return count;
  };
  ASSERT_TRUE(waitFor([&] { return running() == 1; }, 90000)) << running() << " instances still running";
  for (QProcess* process : starts) {
    if (process->state() == QProcess::NotRunning) {
      EXPECT_EQ(process->exitCode(), 0);
    }
  }
  ASSERT_TRUE(waitFor([&] { return !handOffPending(); }, 10000)) << "the hand-off file was not claimed";
  // A claimed list is added in batches while the window keeps painting: wait until the list
  // holds as many rows as were handed over (or stops short of them at the time-out).
  QStringList rows;
  waitFor([&] { return (rows = state()).size() == expected.size() + 1; }, 30000);
  ASSERT_FALSE(rows.isEmpty()) << "the running instance did not answer";
  EXPECT_EQ(rows.takeFirst(), "visible=1");
  rows.sort();
  expected.sort();
  EXPECT_EQ(rows.size(), expected.size());
  EXPECT_EQ(rows, expected);
}

// A settings file with values that are no numbers: each is reported, and after the reports
// the window shows with the default layout, takes the instance lock and the files handed over
// later; the values are written again at closing.
TEST_F(ProbeTest, AStartUpErrorStillShowsTheWindowThatTakesTheFilesHandedOver) {
  testsupport::writeFile(folder + "/tindra.ini",
                         "[Columns]\r\n1=abc\r\n[Layout]\r\nCursor=nan\r\n[wMain]\r\nNormD=abc\r\n");
  const QString pictures = testsupport::makeTempDir("pictures");
  const QString first = dated(pictures, "first.jpg", 1);
  const QString second = dated(pictures, "second.jpg", 2);
  start({first});
  ASSERT_TRUE(waitFor([&] { return lockHeld(); }, 30000)) << "the instance never took the instance lock";
  QProcess& secondary = start({second});
  ASSERT_TRUE(secondary.waitForFinished(30000));
  ASSERT_TRUE(waitFor([&] { return !handOffPending(); }, 10000)) << "the hand-off file was not claimed";

  EXPECT_EQ(state(), (QStringList{"visible=1", first, second}));
  EXPECT_TRUE(messages().contains("Module : wMain")) << messages().toStdString();
  ASSERT_TRUE(waitFor([&] { return !lockHeld(); }, 20000));
  const QString ini = QString::fromUtf8(testsupport::readFile(folder + "/tindra.ini"));
  EXPECT_TRUE(ini.contains("1=4080")) << ini.toStdString();
  EXPECT_TRUE(ini.contains("Cursor=40")) << ini.toStdString();
}

// Without its library the program cannot work: it says so and ends, without ever taking the
// instance lock, so files handed over later are not claimed by a program nobody sees.
TEST_F(ProbeTest, WithoutItsLibraryTheProgramSaysSoAndEnds) {
  const QString pictures = testsupport::makeTempDir("pictures");
  QProcess& process = start({dated(pictures, "first.jpg", 1)}, QString(), testsupport::makeTempDir("empty-config"));
  ASSERT_TRUE(process.waitForFinished(30000)) << "the program without library kept running";
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_TRUE(messages().contains("OrvoLib22")) << messages().toStdString();
  EXPECT_FALSE(QFile::exists(folder + "/tindra.instance.lock"));
}
