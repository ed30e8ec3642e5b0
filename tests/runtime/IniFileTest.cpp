#include "runtime/AtomicFile.h"
#include "runtime/IniFile.h"
#include "runtime/RuntimeError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

using testsupport::readFile;
using testsupport::writeFile;

class IniFileTest : public testing::Test {
 protected:
  QString dir = testsupport::makeTempDir(QStringLiteral("ini"));
  QString file = dir + QStringLiteral("/settings.ini");

  QString get(const QString& section, const QString& key, const QString& def = QStringLiteral("<absent>"),
              int size = 1024) {
    return rt::ini::getString(section, key, def, size, file);
  }
  // Folder entries other than the ini file: leftovers of a write.
  QStringList strayFiles() const {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("settings.ini"));
    return names;
  }
};

TEST_F(IniFileTest, RewriteKeepsEveryUntouchedLineByteForByte) {
  const QByteArray before =
      "; written by hand\r\n"
      "orphan line before any section\r\n"
      "[General]\r\n"
      "  Path = C:\\old  \r\n"
      "; comment inside\r\n"
      "not a key line\r\n"
      "\r\n"
      "[Other]\r\n"
      "x=1";  // no final line end
  ASSERT_TRUE(writeFile(file, before));

  ASSERT_EQ(rt::ini::writeString(QStringLiteral("general"), QStringLiteral("PATH"), QStringLiteral("/new"), file), 0);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("General"), QStringLiteral("Added"), QStringLiteral("a"), file), 0);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("Other"), QStringLiteral("y"), QStringLiteral("2"), file), 0);
  ASSERT_EQ(rt::ini::writeString(QStringLiteral("New"), QStringLiteral("z"), QStringLiteral("3"), file), 0);

  // The replaced line keeps the key's spelling and the blanks before the value; the new key
  // follows the section's last key line; line ends follow the file's own.
  EXPECT_EQ(readFile(file),
            QByteArray("; written by hand\r\n"
                       "orphan line before any section\r\n"
                       "[General]\r\n"
                       "  Path = /new\r\n"
                       "Added=a\r\n"
                       "; comment inside\r\n"
                       "not a key line\r\n"
                       "\r\n"
                       "[Other]\r\n"
                       "x=1\r\n"
                       "y=2\r\n"
                       "[New]\r\n"
                       "z=3\r\n"));
  EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(u',').toStdString();
}

TEST_F(IniFileTest, AnAddedLineNeverJoinsTheEmptyLineAfterIt) {
  // The file's line end is a lone CR, but an empty LF line follows the key line: the added
  // line's CR must not read back with that LF as one line end, or removing the key would take
  // the empty line with it.
  const QByteArray before = ";c\r[S]\nk=1\n\n[T]\n";
  ASSERT_TRUE(writeFile(file, before));
  ASSERT_EQ(rt::ini::writeString("S", "new", "v", file), 0);
  EXPECT_EQ(readFile(file), QByteArray(";c\r[S]\nk=1\nnew=v\r\n\n[T]\n"));
  ASSERT_EQ(rt::ini::deleteKey("S", "new", file), 0);
  EXPECT_EQ(readFile(file), before);
}

TEST_F(IniFileTest, NamesMatchWithoutCaseOrBlanksAndValuesLoseTheirBlanks) {
  ASSERT_TRUE(writeFile(file, "[Sec]\n\t Name \t=  some value \t\nEmpty=\n"));
  EXPECT_EQ(get(QStringLiteral(" sEC "), QStringLiteral("nAME")), QStringLiteral("some value"));
  EXPECT_EQ(get(QStringLiteral("Sec"), QStringLiteral("empty")), QString(""));  // present: default unused
  EXPECT_EQ(get(QStringLiteral("Sec"), QStringLiteral("missing")), QStringLiteral("<absent>"));
  EXPECT_EQ(get(QStringLiteral("Nope"), QStringLiteral("Name")), QStringLiteral("<absent>"));
  EXPECT_EQ(rt::ini::getString("Sec", "Name", "d", 1024, dir + QStringLiteral("/missing.ini")), QStringLiteral("d"));
  EXPECT_EQ(rt::ini::getSections(file), QStringList{QStringLiteral("Sec")});
}

TEST_F(IniFileTest, ValuesComeBackCutToSizeMinusOne) {
  const QString longValue = QString(1500, u'v');
  ASSERT_EQ(rt::ini::writeString("S", "Long", longValue, file), 0);
  EXPECT_EQ(get("S", "Long", "", 1024), QString(1023, u'v'));
  EXPECT_EQ(get("S", "Long", "", 1501), longValue);
  EXPECT_EQ(get("S", "Missing", "default", 4), QStringLiteral("def"));
  EXPECT_EQ(get("S", "Long", "default", 1), QString(""));
  EXPECT_EQ(get("S", "Long", "default", 0), QString(""));
  EXPECT_EQ(get("S", "Long", "default", -5), QString(""));
  // Accented text survives; a cut never splits a surrogate pair.
  ASSERT_EQ(rt::ini::writeString("S", "Txt", QStringLiteral("Été \U0001F600x"), file), 0);
  EXPECT_EQ(get("S", "Txt"), QStringLiteral("Été \U0001F600x"));
  EXPECT_EQ(get("S", "Txt", "", 6), QStringLiteral("Été "));
}

TEST_F(IniFileTest, KeyListKeepsFileOrderAndFollowsTheBufferRule) {
  ASSERT_TRUE(writeFile(file, "[A]\nbeta=1\n; c\nAlpha=2\nnoequals\ngamma=3\nALPHA=dup\n[B]\nother=1\n"));
  const QStringList all{QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("gamma")};
  EXPECT_EQ(rt::ini::getKeys(QStringLiteral("a"), 4096, file), all);
  // "beta\0Alpha\0gamma\0\0" is 18 characters: it fits exactly in 18.
  EXPECT_EQ(rt::ini::getKeys("A", 18, file), all);
  // One less: 15 characters of names, then the two terminators; the last name comes back cut.
  EXPECT_EQ(rt::ini::getKeys("A", 17, file), (QStringList{"beta", "Alpha", "gamm"}));
  // The cut falls on gamma's first character's place: nothing of it is left.
  EXPECT_EQ(rt::ini::getKeys("A", 13, file), (QStringList{"beta", "Alpha"}));
  EXPECT_EQ(rt::ini::getKeys("A", 2, file), QStringList{});
  EXPECT_EQ(rt::ini::getKeys("A", 0, file), QStringList{});
  EXPECT_EQ(rt::ini::getKeys("Absent", 4096, file), QStringList{});
  // The first of duplicate keys is the one read and the one replaced.
  EXPECT_EQ(get("A", "alpha"), QStringLiteral("2"));
  ASSERT_EQ(rt::ini::writeString("A", "alpha", "new", file), 0);
  EXPECT_EQ(readFile(file), QByteArray("[A]\nbeta=1\n; c\nAlpha=new\nnoequals\ngamma=3\nALPHA=dup\n[B]\nother=1\n"));
}

TEST_F(IniFileTest, DeletionsRemoveWhatTheyNameAndLeaveEverythingElseUntouched) {
  const QByteArray before = "top\n[A]\nk=1\n; about A\nk2=2\nK=again\n\n[B]\nb=1\n[a]\nk=second occurrence\n";
  ASSERT_TRUE(writeFile(file, before));

  // Nothing to remove: same bytes, and a missing file or folder is not created.
  EXPECT_EQ(rt::ini::deleteKey("A", "absent", file), 0);
  EXPECT_EQ(rt::ini::deleteKey("Absent", "k", file), 0);
  EXPECT_EQ(rt::ini::deleteSection("Absent", file), 0);
  EXPECT_EQ(readFile(file), before);
  const QString missing = dir + QStringLiteral("/missing.ini");
  EXPECT_EQ(rt::ini::deleteKey("A", "k", missing), 0);
  EXPECT_EQ(rt::ini::deleteSection("A", missing), 0);
  EXPECT_EQ(rt::ini::deleteSection("A", dir + QStringLiteral("/no/such/folder.ini")), 0);
  EXPECT_FALSE(QFileInfo::exists(missing));

  // A key goes with all its lines, so no older line shows through afterwards.
  ASSERT_EQ(rt::ini::deleteKey("a", "K", file), 0);
  EXPECT_EQ(readFile(file), QByteArray("top\n[A]\n; about A\nk2=2\n\n[B]\nb=1\n[a]\nk=second occurrence\n"));
  EXPECT_EQ(get("A", "k"), QStringLiteral("<absent>"));

  // A section goes with its comments and blank lines, every occurrence of it.
  ASSERT_EQ(rt::ini::deleteSection("A", file), 0);
  EXPECT_EQ(readFile(file), QByteArray("top\n[B]\nb=1\n"));
  EXPECT_TRUE(strayFiles().isEmpty());
}

TEST_F(IniFileTest, FailedWritesReportTheErrorAndChangeNothing) {
  // Missing folder: never created.
  const QString inMissing = dir + QStringLiteral("/absent/settings.ini");
  EXPECT_EQ(rt::ini::writeString("S", "k", "v", inMissing), rt::ErrPathNotFound);
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/absent")));
  // A file where a folder should be.
  ASSERT_TRUE(writeFile(dir + QStringLiteral("/plain"), "x"));
  EXPECT_EQ(rt::ini::writeString("S", "k", "v", dir + QStringLiteral("/plain/settings.ini")), rt::ErrPathNotFound);
  // A folder where the file should be.
  ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("folder.ini")));
  EXPECT_EQ(rt::ini::writeString("S", "k", "v", dir + QStringLiteral("/folder.ini")), rt::ErrPathFileAccess);
  EXPECT_TRUE(QFileInfo(dir + QStringLiteral("/folder.ini")).isDir());

  // A failing last step (disk full, read-only file system) leaves the old file and no temporary.
  ASSERT_TRUE(QFile::remove(dir + QStringLiteral("/plain")));
  const QByteArray before = "[S]\nk=old\n";
  ASSERT_TRUE(writeFile(file, before));
  for (const auto& [err, number] : {std::pair{ENOSPC, rt::ErrDiskFull}, std::pair{EROFS, rt::ErrPermissionDenied}}) {
    rt::files::setWriteFaultForTesting(err);
    EXPECT_EQ(rt::ini::writeString("S", "k", "new", file), number);
    EXPECT_EQ(rt::ini::deleteSection("S", file), number);
    rt::files::setWriteFaultForTesting(0);
  }
  EXPECT_EQ(readFile(file), before);
  EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(u',').toStdString();
}

TEST_F(IniFileTest, AFileOverTheCapReadsAsEmptyIsNamedAndIsNeverRewritten) {
  ASSERT_TRUE(writeFile(file, "[S]\nk=v\n"));
  EXPECT_EQ(rt::ini::oversizeText(file), QString());
  ASSERT_TRUE(QFile(file).resize(4 * 1024 * 1024 + 1));
  const QByteArray before = readFile(file);
  EXPECT_EQ(get("S", "k"), QStringLiteral("<absent>"));
  EXPECT_EQ(rt::ini::writeString("S", "k", "new", file), rt::ErrPathFileAccess);
  EXPECT_EQ(readFile(file), before);
  EXPECT_EQ(rt::ini::oversizeText(file),
            QStringLiteral("Le fichier « %1 » dépasse la taille maximale de 4 Mo : il n'est ni lu ni modifié.").arg(file));
}

TEST_F(IniFileTest, TextThatCannotReadBackTheSameIsRefused) {
  const QByteArray before = "[S]\nk=v\n";
  ASSERT_TRUE(writeFile(file, before));
  const QString bad[][3] = {
      {"S", "k", "two\nlines"},      {"S", "k", "cr\rhere"},  {"S", "a=b", "v"},   {"S", ";k", "v"},
      {"S", " [k", "v"},             {"S", "   ", "v"},       {"S", "k\nx", "v"},  {"S]x", "k", "v"},
      {"", "k", "v"},                {"S", QString(QChar(u'\0')), "v"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(rt::ini::writeString(args[0], args[1], args[2], file), rt::ErrInvalidArgument)
        << args[0].toStdString() << "/" << args[1].toStdString();
  }
  EXPECT_EQ(readFile(file), before);
  EXPECT_EQ(rt::ini::writeString("S", "k", "a\nb", dir + QStringLiteral("/new.ini")), rt::ErrInvalidArgument);
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/new.ini")));
}

TEST_F(IniFileTest, MalformedFilesAreReadAroundAndKeptOnRewrite) {
  QByteArray garbage("\xEF\xBB\xBF[First]\nok=1\n");
  garbage += QByteArray::fromRawData("bin\0ary\xFF\xFE=x\n", sizeof "bin\0ary\xFF\xFE=x\n" - 1);
  garbage += "no equals sign at all\n";
  garbage += "huge=" + QByteArray(200000, 'h') + "\n";
  garbage += "[Unclosed\n";
  garbage += "inside=yes\n";
  garbage += "bad\xC3(utf8=\xE9t\xE9\n";
  garbage += "=no key\n";
  garbage += "[Last] trailing text\r\n";
  garbage += "crlf=value\r\n";
  garbage += "lone\rcr=z";
  ASSERT_TRUE(writeFile(file, garbage));

  EXPECT_EQ(rt::ini::getSections(file), (QStringList{"First", "Unclosed", "Last"}));
  EXPECT_EQ(get("First", "ok"), QStringLiteral("1"));
  EXPECT_EQ(get("First", "huge").size(), 1023);
  EXPECT_EQ(get("Unclosed", "inside"), QStringLiteral("yes"));
  EXPECT_EQ(get("Last", "crlf"), QStringLiteral("value"));
  EXPECT_EQ(get("Last", "cr"), QStringLiteral("z"));  // a lone CR ends a line as well
  EXPECT_EQ(get("Last", "lone\rcr", "absent"), QStringLiteral("absent"));
  EXPECT_EQ(get("Unclosed", QString::fromUtf8("bad\xC3(utf8")).size(), 3);  // invalid bytes read, no crash
  EXPECT_EQ(rt::ini::getKeys("First", 4096, file).size(), 3);

  ASSERT_EQ(rt::ini::writeString("Unclosed", "added", "1", file), 0);
  const QByteArray after = readFile(file);
  const qsizetype at = garbage.indexOf("=no key\n");  // after the section's last key line
  EXPECT_EQ(after, garbage.left(at) + "added=1\n" + garbage.mid(at));
}

TEST_F(IniFileTest, WriteFollowsALinkAndKeepsTheFileMode) {
  ASSERT_TRUE(writeFile(file, "[S]\nk=1\n"));
  ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
  const QString link = dir + QStringLiteral("/link.ini");
  ASSERT_TRUE(QFile::link(file, link));
  ASSERT_EQ(rt::ini::writeString("S", "k", "2", link), 0);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(readFile(file), QByteArray("[S]\nk=2\n"));
  const QFile::Permissions userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
  EXPECT_EQ(QFile::permissions(file) & ~userBits, QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace
