#include "app/naming/SimulatedFileSystem.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

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

// Both ways of renaming (the no-replace flag and the link fallback) refuse every existing
// target, leaving both entries as they were, and raise clear errors for the rest.
TEST(FileSystem, RenameNeverReplacesAnything) {
  for (auto method : {LocalFileSystem::Method::Automatic, LocalFileSystem::Method::LinkThenUnlink}) {
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

  EXPECT_TRUE(QFile::exists(dir + "/a.jpg"));
  EXPECT_FALSE(QFile::exists(dir + "/b.jpg"));
}
