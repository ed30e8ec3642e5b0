// The whole rename on real memory-card file systems: an exFAT image mounted through FUSE on a
// loop device and a FAT image mounted by fusefat. Both refuse the no-replace flag and hard
// links, and ignore letter case. Needs root, /dev/fuse and the card tools; skips otherwise.
#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/RenameEngine.h"
#include "app/picture/PictureInfos.h"
#include "runtime/FileSystem.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <optional>
#include <unistd.h>

using testsupport::FailingFileSystem;
using testsupport::PictureFolder;

namespace {

enum class Card { ExFat, Fat };

QString tool(const QString& name) {
  return QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
}

// Runs a program; its standard output, or nullopt (with the reason in *why) when it failed.
std::optional<QString> run(const QString& program, const QStringList& arguments, QString* why) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    *why = program + " " + arguments.join(' ') + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
    return std::nullopt;
  }
  return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

class CardTest : public ::testing::TestWithParam<Card> {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a card image needs root";
    if (!QFile::exists("/dev/fuse")) GTEST_SKIP() << "no /dev/fuse on this machine";
    const bool exfat = GetParam() == Card::ExFat;
    const QStringList tools = exfat ? QStringList{"mkfs.exfat", "losetup", "mount.exfat-fuse"}
                                    : QStringList{"mkfs.vfat", "fusefat"};
    for (const QString& name : tools)
      if (tool(name).isEmpty()) GTEST_SKIP() << name.toStdString() << " not installed (scripts/setup.sh installs it)";

    const QString dir = testsupport::makeTempDir(QStringLiteral("card"));
    const QString image = dir + "/card.img";
    mountPoint_ = dir + "/mnt";
    QDir().mkpath(mountPoint_);
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(32 << 20));
    file.close();
    QString why;
    if (!run(tool(exfat ? "mkfs.exfat" : "mkfs.vfat"), {image}, &why)) GTEST_SKIP() << why.toStdString();
    if (exfat) {
      const std::optional<QString> loop = run(tool("losetup"), {"-f", "--show", image}, &why);
      if (!loop) GTEST_SKIP() << "no loop device: " << why.toStdString();
      loop_ = *loop;
      if (!run(tool("mount.exfat-fuse"), {loop_, mountPoint_}, &why)) GTEST_SKIP() << why.toStdString();
    } else {
      if (!run(tool("fusefat"), {"-o", "rw+", image, mountPoint_}, &why)) GTEST_SKIP() << why.toStdString();
    }
    mounted_ = true;
  }

  void TearDown() override {
    QString why;
    if (mounted_ && !run(tool("umount"), {mountPoint_}, &why)) ADD_FAILURE() << why.toStdString();
    if (!loop_.isEmpty() && !run(tool("losetup"), {"-d", loop_}, &why)) ADD_FAILURE() << why.toStdString();
  }

  const QString& card() const { return mountPoint_; }

 private:
  QString mountPoint_;
  QString loop_;
  bool mounted_ = false;
};

std::vector<RenameRow> rowsFor(const PictureFolder& folder, const QStringList& names) {
  std::vector<RenameRow> rows;
  for (const QString& name : names) {
    const JpegInfosClass info = PictureInfos(folder.pathOf(name));
    rows.push_back(RenameRow{folder.pathOf(name), name, folder.path(), RowDateKey(info), HasExifDate(info), true});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const RenameRow& a, const RenameRow& b) { return a.dateKey < b.dateKey; });
  return rows;
}

// The machine's file system, counting how often the two ways a card refuses are tried.
class CountingFileSystem : public rt::LocalFileSystem {
 public:
  int flagTries = 0;
  int linkTries = 0;

 protected:
  int renameWithoutReplacing(const char* from, const char* to) override {
    ++flagTries;
    return LocalFileSystem::renameWithoutReplacing(from, to);
  }
  int hardLink(const char* from, const char* to) override {
    ++linkTries;
    return LocalFileSystem::hardLink(from, to);
  }
};

}  // namespace

// Swaps, numbering after a collision, a case-only clash with a file outside the list, and a
// failure rolled back: no picture lost, no temporary name or placeholder left behind; the
// refused ways are tried once for the card, not once per file.
TEST_P(CardTest, RenamesEverythingWithoutLosingAPicture) {
  ASSERT_TRUE(QDir().mkpath(card() + "/swap"));
  PictureFolder folder(card() + "/swap");
  const QByteArray p = folder.addPicture("20240316AA.jpg", "2024:03:15 10:00:00");
  const QByteArray q = folder.addPicture("20240315AA.jpg", "2024:03:16 10:00:00");
  const QByteArray r = folder.addPicture("IMG_1.JPG", "2024:03:15 12:00:00");
  const QByteArray s = folder.addPicture("IMG_2.jpg", "2024:03:17 10:00:00");
  folder.addFile("20240317aa.jpg", "outside the list");
  CountingFileSystem fs;  // learns afresh which way this card takes
  ConfigClass config;
  SilentQuestions questions;
  std::vector<RenameRow> rows = rowsFor(folder, {"20240316AA.jpg", "20240315AA.jpg", "IMG_1.JPG", "IMG_2.jpg"});
  RenameEngine(fs, config, {}, questions).run(rows);
  EXPECT_EQ(folder.contents(), (QMap<QString, QByteArray>{{"20240315AA.jpg", p},
                                                          {"20240315AB.JPG", r},
                                                          {"20240316AA.jpg", q},
                                                          {"20240317AB.jpg", s},
                                                          {"20240317aa.jpg", "outside the list"}}));
  EXPECT_EQ(fs.flagTries, 1);  // refused once, then never tried again on this card
  EXPECT_EQ(fs.linkTries, 1);

  ASSERT_TRUE(QDir().mkpath(card() + "/rollback"));
  PictureFolder second(card() + "/rollback");
  const QByteArray a = second.addPicture("IMG_3.jpg", "2024:03:18 10:00:00");
  const QByteArray b = second.addPicture("IMG_4.jpg", "2024:03:19 10:00:00");
  std::vector<RenameRow> failing = rowsFor(second, {"IMG_3.jpg", "IMG_4.jpg"});
  FailingFileSystem failingFs(fs);
  failingFs.failRename(4, rt::ErrDeviceIO);  // IMG_4's final name
  EXPECT_THROW(RenameEngine(failingFs, config, {}, questions).run(failing), RenameFailure);
  EXPECT_EQ(second.contents(), (QMap<QString, QByteArray>{{"20240318AA.jpg", a}, {"IMG_4.jpg", b}}));
}

INSTANTIATE_TEST_SUITE_P(Cards, CardTest, ::testing::Values(Card::ExFat, Card::Fat),
                         [](const auto& info) { return std::string(info.param == Card::ExFat ? "ExFat" : "Fat"); });
