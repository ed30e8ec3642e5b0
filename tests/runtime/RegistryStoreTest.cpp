#include "runtime/AtomicFile.h"
#include "runtime/RegistryStore.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstdio>

namespace {

using namespace rt::reg;
using testsupport::readFile;
using testsupport::writeFile;

// Points the store at a fresh configuration folder for one test, restoring the old one after.
class RegistryStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_CONFIG_HOME");
    config_ = testsupport::makeTempDir(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_));
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }

  QString config_;

 private:
  QByteArray saved_;
};

TEST_F(RegistryStoreTest, KeysAndValuesLiveInOneHivePerRoot) {
  EXPECT_EQ(hiveFile(CurrentUser), config_ + QStringLiteral("/Tindra/registry/HKEY_CURRENT_USER.reg"));
  EXPECT_FALSE(keyExists(CurrentUser, "Software\\Maker"));
  EXPECT_FALSE(setValue(CurrentUser, "Software\\Maker", "v", "x"));  // the key must exist first

  ASSERT_TRUE(createKey(CurrentUser, "Software\\Maker\\App", "OrvoRegBase"));
  EXPECT_TRUE(createKey(CurrentUser, "SOFTWARE\\maker\\app"));  // existing key: success
  EXPECT_TRUE(keyExists(CurrentUser, "software\\MAKER"));        // parents created
  EXPECT_EQ(subKeys(CurrentUser, "Software"), QStringList{"Maker"});  // original case kept
  EXPECT_FALSE(keyExists(LocalMachine, "Software\\Maker"));          // roots are separate

  ASSERT_TRUE(setValue(CurrentUser, "software\\maker\\app", "", "the default"));
  ASSERT_TRUE(setValue(CurrentUser, "Software\\Maker\\App", "Path", "/usr/bin"));
  ASSERT_TRUE(setValue(CurrentUser, "Software\\Maker\\App", "PATH", "/opt/bin"));  // same value, any case
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Maker\\App", ""), QStringLiteral("the default"));
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Maker\\App", "path"), QStringLiteral("/opt/bin"));
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Maker\\App", "absent"), std::nullopt);
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Absent", ""), std::nullopt);
  EXPECT_EQ(valueNames(CurrentUser, "Software\\Maker\\App"), (QStringList{"", "Path"}));

  // The hive on disk: our header, one section per key, the class kept.
  const QByteArray hive = readFile(hiveFile(CurrentUser));
  EXPECT_TRUE(hive.startsWith("Tindra registry hive 1\n")) << hive.constData();
  EXPECT_TRUE(hive.contains("[HKEY_CURRENT_USER\\Software\\Maker\\App]\n;class=\"OrvoRegBase\"\n@=\"the default\"\n"
                            "\"Path\"=\"/opt/bin\"\n"))
      << hive.constData();
  EXPECT_FALSE(QFileInfo::exists(hiveFile(LocalMachine)));  // a query writes nothing

  EXPECT_TRUE(deleteValue(CurrentUser, "Software\\Maker\\App", "PATH"));
  EXPECT_FALSE(deleteValue(CurrentUser, "Software\\Maker\\App", "PATH"));
  EXPECT_EQ(valueNames(CurrentUser, "Software\\Maker\\App"), QStringList{""});
}

TEST_F(RegistryStoreTest, OnlyKeysWithoutSubkeysAreDeletedOneByOne) {
  ASSERT_TRUE(createKey(CurrentUser, "A\\B\\C"));
  ASSERT_TRUE(setValue(CurrentUser, "A\\B", "kept", "yes"));
  EXPECT_FALSE(deleteKey(CurrentUser, "A\\B"));  // has a subkey
  EXPECT_EQ(queryValue(CurrentUser, "A\\B", "kept"), QStringLiteral("yes"));
  EXPECT_FALSE(deleteKey(CurrentUser, "A\\Missing"));
  EXPECT_TRUE(deleteKey(CurrentUser, "a\\b\\c"));
  EXPECT_FALSE(keyExists(CurrentUser, "A\\B\\C"));
  EXPECT_TRUE(deleteKey(CurrentUser, "A\\B"));
  ASSERT_TRUE(createKey(CurrentUser, "A\\X\\Y\\Z"));
  EXPECT_TRUE(deleteTree(CurrentUser, "A"));
  EXPECT_FALSE(keyExists(CurrentUser, "A"));
  EXPECT_FALSE(deleteTree(CurrentUser, "A"));
}

TEST_F(RegistryStoreTest, BadRootsAndPathsAreRefused) {
  const int32_t badRoot = 12345;
  EXPECT_FALSE(isValidRoot(badRoot));
  EXPECT_TRUE(hiveFile(badRoot).isEmpty());
  EXPECT_FALSE(createKey(badRoot, "Key"));
  for (const QString& path : {QString(""), QString("\\A"), QString("A\\"), QString("A\\\\B"), QString("A\nB")}) {
    EXPECT_FALSE(createKey(CurrentUser, path)) << path.toStdString();
    EXPECT_FALSE(keyExists(CurrentUser, path)) << path.toStdString();
    EXPECT_FALSE(deleteTree(CurrentUser, path)) << path.toStdString();
  }
  EXPECT_FALSE(createKey(CurrentUser, QStringList(513, QStringLiteral("k")).join(u'\\')));
  EXPECT_TRUE(createKey(CurrentUser, QStringList(512, QStringLiteral("k")).join(u'\\')));
}

TEST_F(RegistryStoreTest, AnyTextRoundTripsThroughTheHive) {
  const QString names[] = {"", "@", "quote\"and\\back", "lf\nline", "tab\tcr\r", QString::fromUtf8("nul\0x", 5), "Été ✓ \U0001F600"};
  const QString key = QStringLiteral("Odd]Key\\[Sub] \"x\"");
  ASSERT_TRUE(createKey(CurrentUser, key, QStringLiteral("class \"with\" \\ quotes")));
  for (const QString& name : names) ASSERT_TRUE(setValue(CurrentUser, key, name, name + QStringLiteral("\\\"\n\x01=")));
  for (const QString& name : names) {
    EXPECT_EQ(queryValue(CurrentUser, key, name), name + QStringLiteral("\\\"\n\x01=")) << name.toStdString();
  }
  EXPECT_EQ(subKeys(CurrentUser, "Odd]Key"), QStringList{"[Sub] \"x\""});
  // Header, two keys (blank line, section and class each), then one line per value.
  EXPECT_EQ(readFile(hiveFile(CurrentUser)).count('\n'), qsizetype(7 + std::size(names)));
}

TEST_F(RegistryStoreTest, DamagedHiveIsReadAsFarAsItIsWellFormedAndKeptAside) {
  ASSERT_TRUE(createKey(CurrentUser, "Good"));
  QByteArray damaged =
      "Tindra registry hive 1\r\n"
      "[HKEY_CURRENT_USER\\Good]\r\n"
      "\"a\"=\"1\"\r\n"
      "\"broken=\"2\"\r\n"
      "dword:00000001\r\n"
      "\"b\"=\"bad \\q escape\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Elsewhere]\r\n"
      "\"c\"=\"lost\"\r\n"
      "[HKEY_CURRENT_USER\\Good\\Child\r\n"
      "\"d\"=\"4\"   \r\n";
  damaged += QByteArray::fromRawData("\0\xFF\xFE garbage\n", sizeof "\0\xFF\xFE garbage\n" - 1);
  damaged += "; a comment\n[HKEY_CURRENT_USER\\Good\\Child]\n\"e\"=\"5\"\n";
  ASSERT_TRUE(writeFile(hiveFile(CurrentUser), damaged));

  EXPECT_EQ(queryValue(CurrentUser, "Good", "a"), QStringLiteral("1"));
  // Values below a malformed section header belong to no known key.
  EXPECT_EQ(queryValue(CurrentUser, "Good", "d"), std::nullopt);
  EXPECT_EQ(queryValue(CurrentUser, "Good\\Child", "e"), QStringLiteral("5"));
  EXPECT_EQ(valueNames(CurrentUser, "Good"), QStringList{"a"});
  EXPECT_FALSE(keyExists(CurrentUser, "Elsewhere"));

  // The first change rewrites a clean hive and keeps the damaged one beside it.
  ASSERT_TRUE(setValue(CurrentUser, "Good", "f", "6"));
  EXPECT_EQ(readFile(hiveFile(CurrentUser) + QStringLiteral(".damaged")), damaged);
  EXPECT_EQ(queryValue(CurrentUser, "Good", "a"), QStringLiteral("1"));
  EXPECT_EQ(valueNames(CurrentUser, "Good"), (QStringList{"a", "f"}));
  EXPECT_EQ(queryValue(CurrentUser, "Good\\Child", "e"), QStringLiteral("5"));

  ASSERT_TRUE(writeFile(hiveFile(Users), QByteArray(4096, '\xAB')));
  EXPECT_EQ(subKeys(Users, "X"), QStringList{});
  EXPECT_TRUE(createKey(Users, "X"));
  EXPECT_EQ(readFile(hiveFile(Users) + QStringLiteral(".damaged")).size(), 4096);
}

TEST_F(RegistryStoreTest, ChangesThatCannotBeWrittenFailAndLoseNothing) {
  ASSERT_TRUE(createKey(CurrentUser, "K"));
  ASSERT_TRUE(setValue(CurrentUser, "K", "v", "old"));
  const QByteArray before = readFile(hiveFile(CurrentUser));
  rt::files::setWriteFaultForTesting(ENOSPC);
  EXPECT_FALSE(setValue(CurrentUser, "K", "v", "new"));
  EXPECT_FALSE(createKey(CurrentUser, "K2"));
  rt::files::setWriteFaultForTesting(0);
  EXPECT_EQ(readFile(hiveFile(CurrentUser)), before);
  EXPECT_EQ(queryValue(CurrentUser, "K", "v"), QStringLiteral("old"));

  // A file where the registry folder should be.
  const QString blocked = testsupport::makeTempDir(QStringLiteral("blocked"));
  ASSERT_TRUE(writeFile(blocked + QStringLiteral("/Tindra"), "not a folder"));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocked));
  EXPECT_FALSE(createKey(CurrentUser, "K"));
  EXPECT_FALSE(keyExists(CurrentUser, "K"));
}

TEST_F(RegistryStoreTest, WithoutAConfigFolderVariableTheHomeConfigIsUsed) {
  const QByteArray home = qgetenv("HOME");
  for (const QByteArray& value : {QByteArray(""), QByteArray("relative/path")}) {
    qputenv("XDG_CONFIG_HOME", value);
    EXPECT_EQ(hiveFile(ClassesRoot), QFile::decodeName(home) + QStringLiteral("/.config/Tindra/registry/HKEY_CLASSES_ROOT.reg"));
  }
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(hiveFile(ClassesRoot), QFile::decodeName(home) + QStringLiteral("/.config/Tindra/registry/HKEY_CLASSES_ROOT.reg"));
}

// Run only as a child of the test below: writes 200 values named after its prefix.
TEST(DISABLED_RegistryWriterProcess, WritesValues) {
  const QByteArray config = qgetenv("TINDRA_TEST_WRITER_CONFIG");
  const QString prefix = qEnvironmentVariable("TINDRA_TEST_WRITER_PREFIX");
  ASSERT_FALSE(config.isEmpty());
  qputenv("XDG_CONFIG_HOME", config);
  ASSERT_TRUE(createKey(CurrentUser, "Shared\\Key"));
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(setValue(CurrentUser, "Shared\\Key", prefix + QString::number(i), QString::number(i)));
  }
}

// A process reads a hive once while it stays the same, yet every read sees the file as it is
// now: edited in place, replaced by another writer (same size, new file), or removed.
TEST_F(RegistryStoreTest, EachReadSeesTheHiveAsItIsNow) {
  ASSERT_TRUE(createKey(CurrentUser, "Software\\Maker"));
  ASSERT_TRUE(setValue(CurrentUser, "Software\\Maker", "v", "un"));
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Maker", "v"), QString("un"));
  const QString hive = hiveFile(CurrentUser);

  QByteArray bytes = readFile(hive);
  {
    QFile inPlace(hive);
    ASSERT_TRUE(inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate));
    inPlace.write(bytes.replace("\"un\"", "\"deux\""));
  }
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Maker", "v"), QString("deux"));

  ASSERT_TRUE(writeFile(hive + ".new", bytes.replace("\"deux\"", "\"DEUX\"")));
  ASSERT_EQ(std::rename(QFile::encodeName(hive + ".new").constData(), QFile::encodeName(hive).constData()), 0);
  EXPECT_EQ(queryValue(CurrentUser, "Software\\Maker", "v"), QString("DEUX"));
  EXPECT_EQ(valueNames(CurrentUser, "Software\\Maker"), QStringList{"v"});

  ASSERT_TRUE(QFile::remove(hive));
  EXPECT_FALSE(queryValue(CurrentUser, "Software\\Maker", "v"));
  EXPECT_FALSE(keyExists(CurrentUser, "Software\\Maker"));
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNoValue) {
  QProcess writers[2];
  for (int w = 0; w < 2; ++w) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TINDRA_TEST_WRITER_CONFIG"), config_);
    env.insert(QStringLiteral("TINDRA_TEST_WRITER_PREFIX"), QStringLiteral("w%1-").arg(w));
    writers[w].setProcessEnvironment(env);
    writers[w].setProcessChannelMode(QProcess::ForwardedChannels);
    writers[w].start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_also_run_disabled_tests"),
                      QStringLiteral("--gtest_filter=DISABLED_RegistryWriterProcess.WritesValues")});
  }
  for (QProcess& writer : writers) {
    ASSERT_TRUE(writer.waitForFinished(100000));
    EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(writer.exitCode(), 0);
  }
  const QStringList names = valueNames(CurrentUser, "Shared\\Key");
  EXPECT_EQ(names.size(), 400);
  for (int w = 0; w < 2; ++w) {
    for (int i = 0; i < 200; ++i) {
      EXPECT_EQ(queryValue(CurrentUser, "Shared\\Key", QStringLiteral("w%1-%2").arg(w).arg(i)), QString::number(i));
    }
  }
}

}  // namespace
