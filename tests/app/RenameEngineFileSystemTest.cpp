#include "app/naming/SimulatedFileSystem.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using rt::LocalFileSystem;

namespace {

// A folder holding a file, a sub-folder, a hidden file and a dangling link.
QString makeFolder() {
  const QString dir = testsupport::makeTempDir(QStringLiteral("fs"));
  testsupport::writeFile(dir + "/a.jpg", "a");
  testsupport::writeFile(dir + "/.hidden", "h");
  QDir(dir).mkdir("sub");
  QFile::link(dir + "/nowhere", dir + "/dangling");
  return dir;
}

int errorNumber(const std::function<void()>& body) {
  try {
    body();
  } catch (const rt::RuntimeError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace

TEST(FileSystem, ExistsSeesEveryKindOfEntry) {
  const QString dir = makeFolder();
  const LocalFileSystem fs;
  for (const char* name : {"a.jpg", ".hidden", "sub", "dangling"}) EXPECT_TRUE(fs.exists(dir + "/" + name)) << name;
  EXPECT_FALSE(fs.exists(dir + "/b.jpg"));
  EXPECT_FALSE(fs.exists(dir + "/missing/b.jpg"));
  EXPECT_FALSE(fs.exists(dir + "/a.jpg/b.jpg"));
  QStringList names = fs.entryNames(dir);
  names.sort();
  EXPECT_EQ(names, QStringList({".hidden", "a.jpg", "dangling", "sub"}));
  EXPECT_EQ(errorNumber([&] { fs.entryNames(dir + "/missing"); }), rt::ErrPathNotFound);
}

// Every way of renaming (the no-replace flag, the link fallback, the exclusive placeholder)
// refuses every existing target, leaving both entries as they were, and raises clear errors
// for the rest.
TEST(FileSystem, RenameNeverReplacesAnything) {
  for (auto method : {LocalFileSystem::Method::Automatic, LocalFileSystem::Method::LinkThenUnlink,
                      LocalFileSystem::Method::Placeholder}) {
    SCOPED_TRACE(static_cast<int>(method));
    const QString dir = makeFolder();
    LocalFileSystem fs(method);
    testsupport::writeFile(dir + "/b.jpg", "b");
    for (const char* target : {"b.jpg", ".hidden", "sub", "dangling"}) {
      EXPECT_FALSE(fs.renameNoReplace(dir + "/a.jpg", dir + "/" + target)) << target;
      EXPECT_EQ(testsupport::readFile(dir + "/a.jpg"), QByteArray("a"));
    }
    EXPECT_EQ(testsupport::readFile(dir + "/b.jpg"), QByteArray("b"));
    EXPECT_EQ(QFile::symLinkTarget(dir + "/dangling"), dir + "/nowhere");

    EXPECT_TRUE(fs.renameNoReplace(dir + "/a.jpg", dir + "/c.jpg"));
    EXPECT_FALSE(QFile::exists(dir + "/a.jpg"));
    EXPECT_EQ(testsupport::readFile(dir + "/c.jpg"), QByteArray("a"));

    EXPECT_EQ(errorNumber([&] { fs.renameNoReplace(dir + "/a.jpg", dir + "/d.jpg"); }), rt::ErrFileNotFound);
    EXPECT_EQ(errorNumber([&] { fs.renameNoReplace(dir + "/c.jpg", dir + "/missing/d.jpg"); }), rt::ErrPathNotFound);
    EXPECT_EQ(testsupport::readFile(dir + "/c.jpg"), QByteArray("a"));
  }
}

// The dry run answers from the folder as it was and never touches the disk.
TEST(FileSystem, SimulationRenamesInMemoryOnly) {
  const QString dir = makeFolder();
  SimulatedFileSystem fs(rt::localFileSystem());
  EXPECT_TRUE(fs.exists(dir + "/dangling"));
  EXPECT_TRUE(fs.exists(dir + "/sub"));
  EXPECT_TRUE(fs.exists(dir + "/"));
  EXPECT_FALSE(fs.renameNoReplace(dir + "/a.jpg", dir + "/sub"));
  EXPECT_TRUE(fs.renameNoReplace(dir + "/a.jpg", dir + "/b.jpg"));
  EXPECT_FALSE(fs.exists(dir + "/a.jpg"));
  EXPECT_TRUE(fs.exists(dir + "/b.jpg"));
  EXPECT_FALSE(fs.renameNoReplace(dir + "/sub", dir + "/b.jpg"));
  EXPECT_EQ(errorNumber([&] { fs.renameNoReplace(dir + "/a.jpg", dir + "/c.jpg"); }), rt::ErrFileNotFound);
  EXPECT_EQ(errorNumber([&] { fs.renameNoReplace(dir + "/b.jpg", dir + "/missing/c.jpg"); }), rt::ErrPathNotFound);
  EXPECT_FALSE(fs.exists(dir + "/missing/c.jpg"));
  QStringList names = fs.entryNames(dir);
  names.sort();
  EXPECT_EQ(names, QStringList({".hidden", "b.jpg", "dangling", "sub"}));
  EXPECT_TRUE(fs.renameNoReplace(dir + "/b.jpg", dir + "/a.jpg"));  // back to the name listed
  EXPECT_TRUE(fs.renameNoReplace(dir + "/.hidden", dir + "/b.jpg"));
  EXPECT_TRUE(fs.renameNoReplace(dir + "/b.jpg", dir + "/c.jpg"));  // a name moved in, moved on
  names = fs.entryNames(dir);
  names.sort();
  EXPECT_EQ(names, QStringList({"a.jpg", "c.jpg", "dangling", "sub"}));
  EXPECT_FALSE(fs.exists(dir + "/.hidden"));
  EXPECT_FALSE(fs.exists(dir + "/b.jpg"));

  EXPECT_TRUE(QFile::exists(dir + "/a.jpg"));
  EXPECT_FALSE(QFile::exists(dir + "/b.jpg"));
}

// A placeholder claimed for a rename that then fails is removed again.
TEST(FileSystem, PlaceholderOfAFailedRenameIsRemoved) {
  const QString dir = makeFolder();
  LocalFileSystem fs(LocalFileSystem::Method::Placeholder);
  EXPECT_EQ(errorNumber([&] { fs.renameNoReplace(dir + "/sub", dir + "/claimed"); }), rt::ErrPathNotFound);  // ENOTDIR
  EXPECT_FALSE(fs.exists(dir + "/claimed"));
  EXPECT_TRUE(fs.exists(dir + "/sub"));
}

// A name that is not UTF-8 is listed, found and renamed like any other, and reads as bytes.
TEST(FileSystem, NamesThatAreNotUtf8AreFilesLikeAnyOther) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("bytes"));
  const QByteArray raw = rt::encodePath(dir) + "/caf\xe9.jpg";
  const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "x", 1), 1);
  ::close(fd);
  LocalFileSystem fs;
  const QStringList names = fs.entryNames(dir);
  ASSERT_EQ(names.size(), 1);
  EXPECT_EQ(rt::displayPath(names.front()), QStringLiteral("caf\\xE9.jpg"));
  EXPECT_TRUE(fs.exists(dir + "/" + names.front()));
  EXPECT_EQ(rt::entryKind(dir + "/" + names.front()), rt::EntryKind::File);
  EXPECT_TRUE(fs.renameNoReplace(dir + "/" + names.front(), dir + "/café.jpg"));
  EXPECT_EQ(testsupport::readFile(dir + "/café.jpg"), QByteArray("x"));
}

namespace {

// Refuses the no-replace flag (EINVAL) and hard links (EPERM) as FUSE mounts of memory cards
// do, and counts how often each was tried.
class CardLikeFileSystem : public LocalFileSystem {
 public:
  int flagTries = 0;
  int linkTries = 0;

 protected:
  int renameWithoutReplacing(const char*, const char*) override { return ++flagTries, EINVAL; }
  int hardLink(const char*, const char*) override { return ++linkTries, EPERM; }
};

}  // namespace

// Where both ways are refused, renames go through a placeholder, never replace anything, and
// the refused ways are tried once per file system, not once per file.
TEST(FileSystem, RenamesThroughAPlaceholderWhereBothWaysAreRefused) {
  const QString dir = makeFolder();
  CardLikeFileSystem fs;
  testsupport::writeFile(dir + "/b.jpg", "b");
  for (const char* target : {"b.jpg", ".hidden", "sub", "dangling"})
    EXPECT_FALSE(fs.renameNoReplace(dir + "/a.jpg", dir + "/" + target)) << target;
  EXPECT_TRUE(fs.renameNoReplace(dir + "/a.jpg", dir + "/c.jpg"));
  EXPECT_TRUE(fs.renameNoReplace(dir + "/b.jpg", dir + "/a.jpg"));
  EXPECT_EQ(testsupport::readFile(dir + "/c.jpg"), QByteArray("a"));
  EXPECT_EQ(testsupport::readFile(dir + "/a.jpg"), QByteArray("b"));
  EXPECT_FALSE(fs.exists(dir + "/b.jpg"));
  EXPECT_EQ(fs.flagTries, 1);
  EXPECT_EQ(fs.linkTries, 1);
}
