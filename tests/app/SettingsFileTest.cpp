// Settings files: what Save writes, what Load takes back, and how both fail.

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/SettingsFile.h"
#include "runtime/AtomicFile.h"
#include "runtime/RuntimeError.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <limits>

namespace {

QString tempFile(const QString& name) { return testsupport::makeTempDir("cfg") + "/" + name; }

void writeSettings(const QString& path, const QByteArray& body) {
  ASSERT_TRUE(testsupport::writeFile(path, "[Tindra]\n" + body));
}

// Every stored field away from its default.
void setEveryStoredField(ConfigClass& c) {
  c.SetIsDateDigit(1, false);
  c.SetIsDateDigit(2, true);
  c.SetIsDateDigit(3, false);
  c.SetIsDateSep(0, true);
  c.SetIsDateSep(1, false);
  c.SetIsTimeDigit(1, true);
  c.SetIsTimeDigit(2, false);
  c.SetIsTimeDigit(3, true);
  c.SetIsTimeSep(0, false);
  c.SetIsTimeSep(1, true);
  c.SetPrefix(QString::fromUtf8("Été à Noël"));
  c.SetPostfix("_end");
  c.SetIsSuffix(false);
  c.SetDigits(255);
  c.SetStartNum(std::numeric_limits<int32_t>::min());
  c.SetSuffixType(1);
  c.SetNotExif(2);
  c.SetExtension(7);
  c.SetDateSep("#");
  c.SetTimeSep("h");
  c.SetDateTimeSep("=");
  c.SetCompanions(false);
}

// The stored fields as Save writes them (from a copy, so the record keeps its Path and mark).
QByteArray storedText(ConfigClass c) {
  const QString path = tempFile("copy.tdc");
  return c.Save(path) ? testsupport::readFile(path) : QByteArray();
}

int loadError(ConfigClass& c, const QString& path) {
  try {
    c.Load(path);
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

TEST(SettingsFileTest, FreshRecordWritesTheTwentyTwoKeysInOrder) {
  const QString path = tempFile("fresh.tdc");
  ConfigClass c;
  ASSERT_TRUE(c.Save(path));
  EXPECT_EQ(testsupport::readFile(path),
            "[Tindra]\nDate1=1\nDate2=1\nDate3=1\nDateSep0=0\nDateSep1=0\nTime1=0\nTime2=0\n"
            "Time3=0\nTimeSep0=0\nTimeSep1=0\nPrefix=\nPostfix=\nIsSuffix=1\nDigits=2\nStartNum=1\n"
            "SuffixType=0\nNotExif=0\nExtension=0\nDateSep=\nTimeSep=\nDateTimeSep=\nCompanions=1\n");
  EXPECT_EQ(c.Path(), path);
  EXPECT_FALSE(c.Modified());
  EXPECT_EQ(kSettingsFileFilter, "Fichiers de configuration Tindra (*.tdc)|*.tdc|Tous les fichiers|*.*");
}

TEST(SettingsFileTest, EveryStoredFieldSurvivesARoundTrip) {
  const QString path = tempFile("all.tdc");
  ConfigClass saved;
  setEveryStoredField(saved);
  ASSERT_TRUE(saved.Save(path));
  EXPECT_FALSE(saved.Modified());
  EXPECT_TRUE(testsupport::readFile(path).contains("StartNum=-2147483648\n"));

  ConfigClass loaded;
  loaded.SetOffsetApply(true);
  loaded.SetOffsetNoDate(true);
  loaded.SetDateExif(45000.25);
  loaded.SetDateReal(45000.5);
  ASSERT_TRUE(loaded.Load(path));
  EXPECT_EQ(storedText(loaded), testsupport::readFile(path));
  EXPECT_EQ(loaded.Path(), path);
  EXPECT_FALSE(loaded.Modified());
  // The clock correction is not in the file: it stays as it was.
  EXPECT_TRUE(loaded.OffsetApply());
  EXPECT_TRUE(loaded.OffsetNoDate());
  EXPECT_EQ(loaded.DateExif(), 45000.25);
  EXPECT_EQ(loaded.DateReal(), 45000.5);
}

TEST(SettingsFileTest, SpaceSeparatorsTravelAsBarsAndTextsLoseOuterBlanks) {
  const QString path = tempFile("spaces.tdc");
  ConfigClass saved;
  saved.SetDateSep(" ");
  saved.SetTimeSep(" ");
  saved.SetDateTimeSep("|");  // a bar in the record is a space by the time it is saved
  saved.SetPrefix("  trip ");
  ASSERT_TRUE(saved.Save(path));
  EXPECT_EQ(saved.DateTimeSep(), " ");
  const QByteArray text = testsupport::readFile(path);
  EXPECT_TRUE(text.contains("\nDateSep=|\nTimeSep=|\nDateTimeSep=|\n")) << text.toStdString();

  ConfigClass loaded;
  ASSERT_TRUE(loaded.Load(path));
  EXPECT_EQ(loaded.DateSep(), " ");
  EXPECT_EQ(loaded.TimeSep(), " ");
  EXPECT_EQ(loaded.DateTimeSep(), " ");
  EXPECT_EQ(loaded.Prefix(), "trip");

  ConfigClass none;  // an empty date-time separator stays empty
  none.SetDateTimeSep("x");
  writeSettings(path, "DateTimeSep=\n");
  ASSERT_TRUE(none.Load(path));
  EXPECT_EQ(none.DateTimeSep(), "");
}

TEST(SettingsFileTest, AbsentKeysKeepTheCurrentValuesTrimmed) {
  const QString path = tempFile("partial.tdc");
  writeSettings(path, "Digits = 5 \nTime2=1\n");
  ConfigClass c;
  setEveryStoredField(c);
  c.SetDateSep(" ");
  c.SetPostfix(" tail ");
  ASSERT_TRUE(c.Load(path));
  EXPECT_EQ(c.Digits(), 5);
  EXPECT_TRUE(c.IsTimeDigit(2));
  EXPECT_EQ(c.DateSep(), "");  // the current single space served as default, trimmed away
  EXPECT_EQ(c.Postfix(), "tail");
  ConfigClass expected;
  setEveryStoredField(expected);
  EXPECT_EQ(c.StartNum(), expected.StartNum());
  EXPECT_EQ(c.Prefix(), expected.Prefix());
  EXPECT_EQ(c.IsSuffix(), expected.IsSuffix());
  EXPECT_EQ(c.Extension(), expected.Extension());
  EXPECT_FALSE(c.IsTimeSep(0));
  EXPECT_TRUE(c.IsTimeSep(1));
  EXPECT_TRUE(c.Companions());  // a file from before the key existed: companions on
}

TEST(SettingsFileTest, MissingFileOrSectionStillCountsAsRead) {
  const QString dir = testsupport::makeTempDir("cfg");
  ConfigClass c;
  c.SetPrefix("kept");
  ASSERT_TRUE(c.Load(dir + "/absent.tdc"));
  EXPECT_EQ(c.Path(), dir + "/absent.tdc");
  EXPECT_FALSE(c.Modified());
  EXPECT_EQ(c.Prefix(), "kept");
  EXPECT_FALSE(QFile::exists(dir + "/absent.tdc"));

  ASSERT_TRUE(testsupport::writeFile(dir + "/other.tdc", "[Other]\nPrefix=no\n"));
  ASSERT_TRUE(c.Load(dir + "/other.tdc"));
  EXPECT_EQ(c.Prefix(), "kept");
}

TEST(SettingsFileTest, LoadClearsTheMarkEvenWhenNothingChanged) {
  const QString path = tempFile("same.tdc");
  ConfigClass c;
  c.SetPrefix("abc");
  ASSERT_TRUE(c.Save(path));
  c.SetPrefix("abd");
  c.SetPrefix("abc");
  ASSERT_TRUE(c.Modified());
  ASSERT_TRUE(c.Load(path));
  EXPECT_FALSE(c.Modified());
  c.SetPrefix("abc");
  EXPECT_FALSE(c.Modified());
  c.SetPrefix("ABC");  // the same text in another case is a change
  EXPECT_TRUE(c.Modified());
}

TEST(SettingsFileTest, FlagsAcceptNumbersAndWords) {
  const QString path = tempFile("flags.tdc");
  writeSettings(path,
                "Date1=2\nDate2=-1\nDate3=0\nDateSep0=True\nDateSep1=false\nTime1=TRUE\n"
                "Time2= 0 \nIsSuffix=0\n");
  ConfigClass c;
  ASSERT_TRUE(c.Load(path));
  EXPECT_TRUE(c.IsDateDigit(1));
  EXPECT_TRUE(c.IsDateDigit(2));
  EXPECT_FALSE(c.IsDateDigit(3));
  EXPECT_TRUE(c.IsDateSep(0));
  EXPECT_FALSE(c.IsDateSep(1));
  EXPECT_TRUE(c.IsTimeDigit(1));
  EXPECT_FALSE(c.IsTimeDigit(2));
  EXPECT_FALSE(c.IsSuffix());
}

TEST(SettingsFileTest, BadValueStopsTheLoadAtItsKey) {
  const QString path = tempFile("bad.tdc");
  ConfigClass c;
  c.SetPath("/before.tdc");
  c.SetStartNum(9);
  writeSettings(path, "Date1=0\nPrefix=new\nIsSuffix=0\nDigits=300\nStartNum=4\n");
  EXPECT_EQ(loadError(c, path), rt::ErrOverflow);
  EXPECT_FALSE(c.IsDateDigit(1));  // read before the bad key
  EXPECT_EQ(c.Prefix(), "new");
  EXPECT_FALSE(c.IsSuffix());
  EXPECT_EQ(c.Digits(), 2);        // the bad key and those after it keep their values
  EXPECT_EQ(c.StartNum(), 9);
  EXPECT_EQ(c.Path(), "/before.tdc");
  EXPECT_TRUE(c.Modified());

  writeSettings(path, "Digits=abc\n");
  EXPECT_EQ(loadError(c, path), rt::ErrTypeMismatch);
  writeSettings(path, "Date2=yes\n");
  EXPECT_EQ(loadError(c, path), rt::ErrTypeMismatch);
  writeSettings(path, "Extension=-1\n");
  EXPECT_EQ(loadError(c, path), rt::ErrOverflow);
  writeSettings(path, "StartNum=2147483648\n");
  EXPECT_EQ(loadError(c, path), rt::ErrOverflow);
  EXPECT_EQ(c.StartNum(), 9);
  EXPECT_EQ(c.Path(), "/before.tdc");
}

TEST(SettingsFileTest, EmptyPathsAreRefused) {
  ConfigClass c;
  c.SetPrefix("x");
  EXPECT_FALSE(c.Load(""));
  EXPECT_FALSE(c.Save(""));
  EXPECT_EQ(c.Path(), "");
  EXPECT_TRUE(c.Modified());
}

TEST(SettingsFileTest, SavingWithoutPathWritesBackToTheLoadedFile) {
  const QString path = tempFile("back.tdc");
  writeSettings(path, "Digits=4\n");
  ConfigClass c;
  ASSERT_TRUE(c.Load(path));
  c.SetPostfix("after");
  ASSERT_TRUE(c.Save(""));
  EXPECT_EQ(c.Path(), path);
  EXPECT_FALSE(c.Modified());
  ConfigClass again;
  ASSERT_TRUE(again.Load(path));
  EXPECT_EQ(again.Postfix(), "after");
  EXPECT_EQ(again.Digits(), 4);
}

// A hand-edited file with a lone carriage return inside a line: it reads as a line break, so
// the settings it gives can be saved again.
TEST(SettingsFileTest, LoneCarriageReturnEndsALineAndTheSettingsSaveAgain) {
  const QString path = tempFile("cr.tdc");
  writeSettings(path, "Prefix=abc\rDigits=4\n");
  ConfigClass c;
  ASSERT_TRUE(c.Load(path));
  EXPECT_EQ(c.Prefix(), "abc");
  EXPECT_EQ(c.Digits(), 4);
  c.SetPostfix("again");
  EXPECT_TRUE(c.Save(path));
}

TEST(SettingsFileTest, SavingKeepsOtherSectionsAndKeys) {
  const QString path = tempFile("shared.tdc");
  ASSERT_TRUE(testsupport::writeFile(path, "[Before]\nA=1\n[Tindra]\nDigits=9\nExtra=keep\n[After]\nB=2\n"));
  ConfigClass c;
  ASSERT_TRUE(c.Save(path));
  const QByteArray text = testsupport::readFile(path);
  EXPECT_TRUE(text.contains("[Before]\nA=1\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("[After]\nB=2\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("Extra=keep\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("Digits=2\n")) << text.toStdString();
  EXPECT_FALSE(text.contains("Digits=9")) << text.toStdString();
}

TEST(SettingsFileTest, UnwritableFileFailsAndKeepsPathAndMark) {
  const QString dir = testsupport::makeTempDir("cfg");
  for (const QString& target : {dir + "/missing/settings.tdc", dir}) {
    testsupport::ReportedErrors errors;
    ConfigClass c;
    c.SetPath(dir + "/previous.tdc");
    c.SetDigits(3);
    EXPECT_FALSE(c.Save(target)) << target.toStdString();
    EXPECT_EQ(c.Path(), dir + "/previous.tdc");
    EXPECT_TRUE(c.Modified());
    ASSERT_EQ(errors.messages().size(), 1) << target.toStdString();
    const QString where = ErrorHandling::BuildErrorMessage("ConfigClass.Save", 0, "#");
    EXPECT_TRUE(errors.messages().front().endsWith(where.mid(where.indexOf('#') + 1)))
        << errors.messages().front().toStdString();
  }
  EXPECT_FALSE(QDir(dir + "/missing").exists());
}

TEST(SettingsFileTest, FailedSaveLeavesTheFileAsItWas) {
  const QString path = tempFile("kept.tdc");
  const QByteArray before = "[Other]\nA=1\n[Tindra]\nDate1=0\nPrefix=old\n";
  ASSERT_TRUE(testsupport::writeFile(path, before));
  {
    testsupport::ReportedErrors errors;
    ConfigClass c;  // the keys before Prefix would be written, then the line break is refused
    c.SetPrefix("two\nlines");
    EXPECT_FALSE(c.Save(path));
    EXPECT_EQ(c.Path(), "");
    EXPECT_TRUE(c.Modified());
    EXPECT_EQ(errors.messages().size(), 1);
  }
  EXPECT_EQ(testsupport::readFile(path), before);
  {
    testsupport::ReportedErrors errors;
    ConfigClass c;
    c.SetDigits(7);
    rt::files::setWriteFaultForTesting(ENOSPC);
    const bool saved = c.Save(path);
    rt::files::setWriteFaultForTesting(0);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(c.Modified());
    EXPECT_EQ(errors.messages().size(), 1);
  }
  EXPECT_EQ(testsupport::readFile(path), before);
}

// Opening is all or nothing: a file that is no settings file, or one that fails part-way,
// leaves the settings as they were.
TEST(SettingsFileTest, OpenSettingsFileIsAllOrNothing) {
  const QString folder = testsupport::makeTempDir(QStringLiteral("open"));
  const QString half = folder + "/half.tdc";
  const QString unrelated = folder + "/notes.txt";
  ASSERT_TRUE(testsupport::writeFile(half, "[Tindra]\nPrefix=half\nDigits=300\n"));
  ASSERT_TRUE(testsupport::writeFile(unrelated, "[Other]\nPrefix=other\n"));
  ConfigClass config;
  config.SetPrefix("kept");
  for (const QString& path : {half, unrelated, folder + "/missing.tdc"}) {
    EXPECT_THROW(OpenSettingsFile(config, path), rt::RuntimeError) << path.toStdString();
    EXPECT_EQ(config.Prefix(), "kept");
    EXPECT_EQ(config.Path(), "");
  }
  const QString good = folder + "/good.tdc";
  ASSERT_TRUE(testsupport::writeFile(good, "[Tindra]\nPrefix=good\n"));
  OpenSettingsFile(config, good);
  EXPECT_EQ(config.Prefix(), "good");
}
