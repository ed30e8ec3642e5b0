// LogFileClass, created by class identifier, on real files: modes, flush, rewind, and the
// errors it raises or swallows.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/lib/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

using rt::com::ComPtr;

namespace {

class LogFileClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(rt::com::createInstance(CLSID_LogFileClass, log_), S_OK);
    dir_ = testsupport::makeTempDir(QStringLiteral("log"));
    path_ = dir_ + QStringLiteral("/journal.log");
  }

  LogModeConstants mode() {
    LogModeConstants m = static_cast<LogModeConstants>(99);
    EXPECT_EQ(log_->get_Mode(&m), S_OK);
    return m;
  }
  bool opened() {
    VARIANT_BOOL o = 5;
    EXPECT_EQ(log_->get_Opened(&o), S_OK);
    return o == VARIANT_TRUE;
  }
  QString logPath() {
    QString p = QStringLiteral("unset");
    EXPECT_EQ(log_->get_LogPath(&p), S_OK);
    return p;
  }
  QByteArray content() { return testsupport::readFile(path_); }

  ComPtr<_LogFileClass> log_;
  QString dir_;
  QString path_;
};

}  // namespace

TEST_F(LogFileClassTest, NewAndAppendModesWriteOneLinePerComment) {
  ASSERT_TRUE(testsupport::writeFile(path_, "old\r\n"));
  ASSERT_EQ(log_->OpenFile(path_, QVariant()), S_OK);  // default mode 2 empties the file
  EXPECT_EQ(mode(), eLogModeFileNew);
  EXPECT_TRUE(opened());
  EXPECT_EQ(logPath(), path_);
  ASSERT_EQ(log_->Comment(QStringLiteral("première ligne")), S_OK);
  ASSERT_EQ(log_->Comment(QVariant()), S_OK);
  ASSERT_EQ(log_->FlushFile(), S_OK);
  EXPECT_EQ(content(), QByteArray("première ligne\r\n\r\n"));
  ASSERT_EQ(log_->Comment(42), S_OK);  // still open after the flush
  ASSERT_EQ(log_->CloseFile(), S_OK);
  EXPECT_EQ(mode(), eLogModeNone);
  EXPECT_FALSE(opened());
  EXPECT_EQ(logPath(), path_);  // the last path is kept
  EXPECT_EQ(content(), QByteArray("première ligne\r\n\r\n42\r\n"));

  // Mode 3 on the kept path keeps the lines and adds after them.
  ASSERT_EQ(log_->OpenFile(QVariant(), eLogModeFileAppend), S_OK);
  EXPECT_EQ(mode(), eLogModeFileAppend);
  ASSERT_EQ(log_->Comment(QStringLiteral("suite")), S_OK);
  ASSERT_EQ(log_->CloseFile(), S_OK);
  EXPECT_EQ(content(), QByteArray("première ligne\r\n\r\n42\r\nsuite\r\n"));

  // Opening another log closes the current one.
  const QString second = dir_ + QStringLiteral("/second.log");
  ASSERT_EQ(log_->OpenFile(path_, eLogModeFileAppend), S_OK);
  ASSERT_EQ(log_->OpenFile(second, eLogModeFileNew), S_OK);
  ASSERT_EQ(log_->Comment(QStringLiteral("ailleurs")), S_OK);
  ASSERT_EQ(log_->CloseFile(), S_OK);
  EXPECT_EQ(testsupport::readFile(second), QByteArray("ailleurs\r\n"));
  EXPECT_EQ(content(), QByteArray("première ligne\r\n\r\n42\r\nsuite\r\n"));
}

TEST_F(LogFileClassTest, DebugAndClosedModesWriteNothing) {
  ASSERT_EQ(log_->Comment(QStringLiteral("before any open")), S_OK);
  ASSERT_EQ(log_->OpenFile(path_, eLogModeDebug), S_OK);
  EXPECT_EQ(mode(), eLogModeDebug);
  EXPECT_FALSE(opened());
  EXPECT_EQ(logPath(), QString());  // only an opened file sets the path
  ASSERT_EQ(log_->Comment(QStringLiteral("to the debug channel")), S_OK);
  ASSERT_EQ(log_->OpenFile(path_, 7), S_OK);  // an unknown mode leaves the log closed
  EXPECT_EQ(mode(), eLogModeNone);
  ASSERT_EQ(log_->FlushFile(), S_OK);
  ASSERT_EQ(log_->CloseFile(), S_OK);
  EXPECT_FALSE(QFileInfo::exists(path_));
}

TEST_F(LogFileClassTest, RewindRestartsAnEmptyLogInTheSameMode) {
  ASSERT_TRUE(testsupport::writeFile(path_, "earlier\r\n"));
  ASSERT_EQ(log_->OpenFile(path_, eLogModeFileAppend), S_OK);
  ASSERT_EQ(log_->Comment(QStringLiteral("a")), S_OK);
  ASSERT_EQ(log_->Rewind(), S_OK);
  EXPECT_EQ(mode(), eLogModeFileAppend);
  EXPECT_TRUE(opened());
  EXPECT_EQ(content(), QByteArray());
  ASSERT_EQ(log_->Comment(QStringLiteral("b")), S_OK);
  ASSERT_EQ(log_->FlushFile(), S_OK);
  EXPECT_EQ(content(), QByteArray("b\r\n"));

  // When the log file was taken away meanwhile, Rewind still starts it anew.
  ASSERT_TRUE(QFile::remove(path_));
  ASSERT_EQ(log_->Rewind(), S_OK);
  ASSERT_EQ(log_->Comment(QStringLiteral("c")), S_OK);
  ASSERT_EQ(log_->CloseFile(), S_OK);
  EXPECT_EQ(content(), QByteArray("c\r\n"));
}

TEST_F(LogFileClassTest, FileErrorsReachTheCallerUnlessNoRaiseError) {
  const QString missingFolder = dir_ + QStringLiteral("/missing/journal.log");
  libtest::RaisedError e = libtest::raisedError(log_->OpenFile(missingFolder, QVariant()), log_.get());
  EXPECT_EQ(e.number, 76);
  EXPECT_EQ(e.description, QStringLiteral("Chemin d'accès introuvable"));
  EXPECT_EQ(mode(), eLogModeNone);
  EXPECT_FALSE(opened());
  // A folder where the file should be.
  EXPECT_EQ(libtest::raisedError(log_->OpenFile(dir_, eLogModeFileAppend), log_.get()).number, 75);
  // No path given and none before.
  EXPECT_EQ(libtest::raisedError(log_->OpenFile(QVariant(), QVariant()), log_.get()).number, 75);

  ASSERT_EQ(log_->put_NoRaiseError(VARIANT_TRUE), S_OK);
  VARIANT_BOOL flag = 0;
  ASSERT_EQ(log_->get_NoRaiseError(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
  EXPECT_EQ(log_->OpenFile(QVariant(), QVariant()), S_OK);
  EXPECT_FALSE(opened());
  EXPECT_EQ(log_->OpenFile(missingFolder, QVariant()), S_OK);
  EXPECT_EQ(mode(), eLogModeNone);
  EXPECT_EQ(log_->OpenFile(dir_, QVariant()), S_OK);
  EXPECT_FALSE(opened());
  EXPECT_FALSE(QFileInfo(missingFolder).dir().exists());
}

TEST_F(LogFileClassTest, FailedWritesAndReopensAreReportedOrSwallowed) {
  // The full device takes the open but refuses every write.
  ASSERT_EQ(log_->OpenFile(QStringLiteral("/dev/full"), eLogModeFileNew), S_OK);
  libtest::RaisedError e = libtest::raisedError(log_->Comment(QStringLiteral("lost")), log_.get());
  EXPECT_EQ(e.number, 61);
  EXPECT_EQ(e.source, QStringLiteral("OrvoLib22"));
  ASSERT_EQ(log_->put_NoRaiseError(VARIANT_TRUE), S_OK);
  EXPECT_EQ(log_->Comment(QStringLiteral("lost")), S_OK);
  EXPECT_TRUE(opened());
  ASSERT_EQ(log_->CloseFile(), S_OK);

  // A flush that cannot reopen the file raises even with NoRaiseError, and leaves the log
  // closed; so does the rewind of a log whose file became a folder.
  ASSERT_EQ(log_->OpenFile(path_, eLogModeFileNew), S_OK);
  ASSERT_TRUE(QFile::remove(path_));
  ASSERT_TRUE(QDir().mkdir(path_));
  EXPECT_EQ(libtest::raisedError(log_->FlushFile(), log_.get()).number, 75);
  EXPECT_FALSE(opened());
  EXPECT_EQ(mode(), eLogModeNone);
  EXPECT_EQ(libtest::raisedError(log_->Rewind(), log_.get()).number, 75);
}
