// Two real instances of the program: the second one hands its files to the first through the
// hand-off file and ends at once; the first claims them within about a second.
#include "tests/support/PictureFiles.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

// The program copied into a private folder, so its settings, lock and hand-off files are the
// test's own.
QString privateProgram() {
  const QString built = QCoreApplication::applicationDirPath() + "/tindra";
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

void startOffscreen(QProcess& process, const QString& program, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(program, arguments);
}

}  // namespace

TEST(HandOffTest, ASecondStartHandsItsFilesToTheRunningInstance) {
  const QString program = privateProgram();
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
