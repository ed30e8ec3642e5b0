// Runs the real tindra-cli binary.
#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/picture/PictureInfos.h"
#include "runtime/PathCodec.h"
#include "tests/support/GuardedFifo.h"
#include "tests/support/JpegBuilder.h"
#include "tests/support/LibraryRegistration.h"
#include "tests/support/PictureFolder.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

using testsupport::PictureFolder;

namespace {

struct CliResult {
  int status = -1;
  QStringList lines;  // standard output, one entry per line
  QString errors;     // standard error
};

// Runs the tool; one that has not finished within timeoutMs fails the test and is killed.
CliResult runCli(const QStringList& arguments, int timeoutMs = 120000,
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                 const QString& program = QString()) {
  CliResult result;
#ifdef TINDRA_CLI_PATH
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program.isEmpty() ? QStringLiteral(TINDRA_CLI_PATH) : program, arguments);
  process.closeWriteChannel();
  if (!process.waitForFinished(timeoutMs)) {
    ADD_FAILURE() << "tindra-cli did not finish";
    process.kill();
    process.waitForFinished();
  }
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  result.errors = QString::fromUtf8(process.readAllStandardError());
#else
  (void)arguments;
  (void)timeoutMs;
  (void)environment;
  (void)program;
#endif
  return result;
}

#ifdef TINDRA_CLI_PATH
#define REQUIRE_CLI() (void)0
#else
#define REQUIRE_CLI() GTEST_SKIP() << "tindra-cli is not part of this build"
#endif

QString line(const QStringList& fields) { return fields.join('\t'); }

// The settings file of a user who wants the time in the name and a three-digit suffix.
QString writeSettings(const QString& dir, const QByteArray& extra = {}) {
  const QString path = dir + "/réglages.tdc";
  testsupport::writeFile(path, "[Tindra]\nTime1=1\nTime2=1\nTime3=1\nDateTimeSep=_\nSuffixType=1\nDigits=3\n" + extra);
  return path;
}

}  // namespace

// One line per file, in the order given; a file that cannot be opened is named on standard
// error, the others go on, and the exit status says something failed.
TEST(Cli, InfoPrintsTheRecordOfEachFile) {
  REQUIRE_CLI();
  PictureFolder folder;
  testsupport::ExifContent content;
  content.bigEndian = true;
  content.dateTime = "2024:04:01 09:00:00";
  content.dateTimeOriginal = "2024:03:15 14:30:25";
  const rt::DateValue fileDate = rt::makeDate(2024, 5, 2, 18, 45, 10);
  folder.addFile("photo.jpg", testsupport::exifJpeg(content, 1296, 968), fileDate);
  folder.addFile("notes.txt", "pas une image", fileDate);
  QDir(folder.path()).mkdir("dossier.jpg");

  const CliResult r = runCli({"info", folder.pathOf("photo.jpg"), folder.pathOf("absent.jpg"),
                              folder.pathOf("dossier.jpg"), folder.pathOf("notes.txt")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.lines, QStringList({
                         line({folder.pathOf("photo.jpg"), "2024-03-15 14:30:25", "2024-04-01 09:00:00",
                               "2024-05-02 18:45:10", "1296", "968", "8", "3", ""}),
                         line({folder.pathOf("notes.txt"), "", "", "2024-05-02 18:45:10", "0", "0", "0", "0",
                               "Format non JPEG"}),
                     }));
  EXPECT_TRUE(r.errors.contains(folder.pathOf("absent.jpg"))) << r.errors.toStdString();
  EXPECT_TRUE(r.errors.contains(folder.pathOf("dossier.jpg"))) << r.errors.toStdString();
}

// A command-line run loads the library but none of the widget stack: what a user waits for
// when a script calls the tool once per picture.
TEST(Cli, LoadsTheLibraryWithoutTheWidgetStack) {
  REQUIRE_CLI();
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LD_DEBUG", "files");
  const CliResult r = runCli({"plan", folder.pathOf("IMG_1.jpg")}, 120000, environment);
  EXPECT_EQ(r.status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.lines.size(), 1);
  EXPECT_TRUE(r.errors.contains("libOrvoLib22.so")) << "the loader's trace is there";
  for (const char* library : {"libOrvoLib22Widgets", "libQt6Widgets", "libQt6Gui", "libQt6PrintSupport"})
    EXPECT_FALSE(r.errors.contains(library)) << library;
}

// The list key stays the camera's date; the future name follows the settings file and the
// clock correction, which reaches file dates only with --file-dates.
TEST(Cli, NamesFollowTheSettingsFileAndTheCorrection) {
  REQUIRE_CLI();
  PictureFolder folder;
  folder.addPicture("IMG_1.JPG", "2024:03:15 10:00:00");
  folder.addPicture("SCAN.jpg", "", rt::makeDate(2024, 3, 10, 8, 30, 0));
  const QString settings = writeSettings(folder.path());
  const QStringList files{folder.pathOf("IMG_1.JPG"), folder.pathOf("SCAN.jpg")};

  CliResult r = runCli(QStringList{"names"} + files);
  EXPECT_EQ(r.status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.lines, QStringList({line({files[0], "20240315100000", "20240315XX.JPG"}),
                                  line({files[1], "20240310083000", "20240310XX.jpg"})}));

  const QStringList corrected{"names", "--config", settings, "--correction", "01/01/2005 10:00:00",
                              "01/01/2005 11:30:00"};
  r = runCli(corrected + files);
  EXPECT_EQ(r.status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.lines, QStringList({line({files[0], "20240315100000", "20240315_113000000.JPG"}),
                                  line({files[1], "20240310083000", "20240310_083000000.jpg"})}));

  r = runCli(corrected + QStringList{"--file-dates"} + files);
  EXPECT_EQ(r.status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.lines.value(1), line({files[1], "20240310083000", "20240310_100000000.jpg"}));
}

// plan prints, in list order, what rename then does; plan touches nothing.
TEST(Cli, PlanPrintsExactlyWhatRenameDoes) {
  REQUIRE_CLI();
  PictureFolder folder;
  folder.addPicture("IMG_2.jpg", "2024:03:15 12:00:00");
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  folder.addPicture("20240315_100000001.JPG", "2024:03:16 09:00:00");  // holds IMG_1's future name
  folder.addPicture("SCAN.jpg", "", rt::makeDate(2024, 3, 1, 8, 0, 0));
  folder.addPicture("DEMANDE.jpg", "", rt::makeDate(2024, 3, 2, 8, 0, 0));
  folder.addFile("20240315_120000001.JPG", "pas dans la liste");
  const QString settings = writeSettings(testsupport::makeTempDir(), "NotExif=0\nExtension=1\n");
  QStringList files;
  for (const char* name : {"IMG_2.jpg", "IMG_1.jpg", "20240315_100000001.JPG", "SCAN.jpg", "absent.jpg"})
    files.append(folder.pathOf(name));
  files.append(folder.pathOf("IMG_1.jpg"));  // the same file twice is listed once

  const QMap<QString, QByteArray> before = folder.contents();
  const CliResult plan = runCli(QStringList{"plan", "--config", settings} + files);
  EXPECT_EQ(plan.status, 1);  // absent.jpg
  EXPECT_TRUE(plan.errors.contains(folder.pathOf("absent.jpg"))) << plan.errors.toStdString();
  EXPECT_EQ(folder.contents(), before);
  const QStringList expected{line({folder.pathOf("SCAN.jpg"), "20240301_080000001.JPG"}),
                             line({folder.pathOf("IMG_1.jpg"), "20240315_100000001.JPG"}),
                             line({folder.pathOf("IMG_2.jpg"), "20240315_120000002.JPG"}),
                             line({folder.pathOf("20240315_100000001.JPG"), "20240316_090000001.JPG"})};
  EXPECT_EQ(plan.lines, expected);

  const CliResult done = runCli(QStringList{"rename", "--config", settings} + files);
  EXPECT_EQ(done.status, 1);
  EXPECT_EQ(done.lines, plan.lines);
  const QMap<QString, QByteArray> after = folder.contents();
  EXPECT_EQ(after.size(), before.size());
  EXPECT_EQ(after.value("20240315_100000001.JPG"), before.value("IMG_1.jpg"));
  EXPECT_EQ(after.value("20240315_120000002.JPG"), before.value("IMG_2.jpg"));
  EXPECT_EQ(after.value("20240315_120000001.JPG"), before.value("20240315_120000001.JPG"));
  EXPECT_EQ(after.value("20240316_090000001.JPG"), before.value("20240315_100000001.JPG"));
  EXPECT_EQ(after.value("DEMANDE.jpg"), before.value("DEMANDE.jpg"));

  // "Demander le nom" without a terminal: the file keeps its name, with a message.
  const QString ask = writeSettings(testsupport::makeTempDir(), "NotExif=2\n");
  const CliResult asked = runCli({"rename", "--config", ask, folder.pathOf("DEMANDE.jpg")});
  EXPECT_EQ(asked.status, 0);
  EXPECT_EQ(asked.lines, QStringList{line({folder.pathOf("DEMANDE.jpg"), "DEMANDE.jpg"})});
  EXPECT_TRUE(asked.errors.contains("DEMANDE.jpg")) << asked.errors.toStdString();
  EXPECT_TRUE(QFile::exists(folder.pathOf("DEMANDE.jpg")));
}

// A command line or settings file that cannot be used changes nothing and says why.
TEST(Cli, RefusesBadCommandLinesAndSettings) {
  REQUIRE_CLI();
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  const QString file = folder.pathOf("IMG_1.jpg");
  const QString settingsDir = testsupport::makeTempDir();
  const QString bad = settingsDir + "/trop.tdc";
  testsupport::writeFile(bad, "[Tindra]\nDigits=300\n");
  // Files that are not settings files: read as such they would give the default settings.
  const QString empty = settingsDir + "/vide.tdc";
  const QString binary = settingsDir + "/binaire.tdc";
  const QString huge = settingsDir + "/enorme.tdc";
  testsupport::writeFile(empty, "");
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i) bytes.append(static_cast<char>(i * 7));
  testsupport::writeFile(binary, bytes);
  testsupport::writeFile(huge, "[Tindra]\nDigits=3\n;" + QByteArray(4 * 1024 * 1024, 'x') + "\n");
  const testsupport::GuardedFifo pipe(settingsDir + "/tube.tdc");
  ASSERT_TRUE(pipe.made());
  const QList<QStringList> commands{
      {"renomme", file},
      {"rename"},
      {"rename", "--correction", "01/01/2005 10:00:00", file},
      {"rename", "--correction", "32/01/2005 10:00:00", "01/01/2005 10:00:00", file},
      {"rename", "--file-dates", file},
      {"rename", "--vite", file},
      {"rename", "--config", folder.pathOf("absent.tdc"), file},
      {"rename", "--config", bad, file},
      {"rename", "--config", file, file},
      {"rename", "--config", empty, file},
      {"rename", "--config", binary, file},
      {"rename", "--config", huge, file},
      {"rename", "--config", settingsDir + "/tube.tdc", file},
      {"rename", "--config", settingsDir, file},
      {"info", "--config", bad, file},
  };
  for (const QStringList& args : commands) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.lines.isEmpty());
    EXPECT_TRUE(r.errors.startsWith("tindra-cli : ")) << r.errors.toStdString();
  }
  EXPECT_EQ(folder.entries(), QStringList{"IMG_1.jpg"});
  EXPECT_FALSE(pipe.releasedAReader());

  const CliResult help = runCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.lines.value(0).startsWith("Usage : tindra-cli")) << help.lines.value(0).toStdString();
}

// Anything but a regular file (here named pipes; devices are refused alike, but a broken tool
// would rename a system's device) is refused at once, with a message; the other files go on.
TEST(Cli, RefusesWhatIsNotARegularFileAtOnce) {
  REQUIRE_CLI();
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  const testsupport::GuardedFifo pipe(folder.pathOf("p.jpg"));
  const testsupport::GuardedFifo other(folder.pathOf("q.jpg"));
  ASSERT_TRUE(pipe.made() && other.made());
  for (const char* command : {"info", "names", "rename"}) {
    SCOPED_TRACE(command);
    const CliResult r =
        runCli({command, folder.pathOf("p.jpg"), folder.pathOf("q.jpg"), folder.pathOf("IMG_1.jpg")}, 30000);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines.size(), 1);
    EXPECT_TRUE(r.lines.value(0).startsWith(folder.pathOf("IMG_1.jpg") + "\t"));
    EXPECT_EQ(r.errors.count("n'est pas un fichier ordinaire"), 2) << r.errors.toStdString();
    EXPECT_TRUE(r.errors.contains("« " + folder.pathOf("p.jpg") + " »")) << r.errors.toStdString();
  }
  EXPECT_FALSE(pipe.releasedAReader() || other.releasedAReader());
  EXPECT_EQ(folder.entries(), QStringList({"20240315AA.jpg", "p.jpg", "q.jpg"}));
}

// A symbolic link is left alone, with a message, and never renamed apart from its target;
// a file reached by several paths (here through a linked folder) is listed once.
TEST(Cli, ListsEachFileOnceAndLeavesLinksAlone) {
  REQUIRE_CLI();
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  folder.addPicture("IMG_2.jpg", "2024:03:15 11:00:00");
  ASSERT_TRUE(QFile::link(folder.pathOf("IMG_2.jpg"), folder.pathOf("lien.jpg")));
  const QString elsewhere = testsupport::makeTempDir();
  ASSERT_TRUE(QFile::link(folder.path(), elsewhere + "/photos"));
  const CliResult r =
      runCli({"rename", folder.pathOf("lien.jpg"), folder.pathOf("IMG_1.jpg"), elsewhere + "/photos/IMG_1.jpg"});
  EXPECT_EQ(r.status, 1);  // the link was not handled
  EXPECT_EQ(r.lines, QStringList{line({folder.pathOf("IMG_1.jpg"), "20240315AA.jpg"})});
  EXPECT_TRUE(r.errors.contains("« " + folder.pathOf("lien.jpg") + " » est un lien symbolique"))
      << r.errors.toStdString();
  EXPECT_EQ(folder.entries(), QStringList({"20240315AA.jpg", "IMG_2.jpg", "lien.jpg"}));
  EXPECT_EQ(QFileInfo(folder.pathOf("lien.jpg")).symLinkTarget(), folder.pathOf("IMG_2.jpg"));
}

// Without the library nothing is done: one message says so and gives the command that
// registers it, and that command works.
TEST(Cli, WithoutTheLibrarySaysHowToRegisterIt) {
  REQUIRE_CLI();
  if (testsupport::builtLibraryPath().isEmpty()) GTEST_SKIP() << "this build has no library";
  PictureFolder folder;
  folder.addPicture("IMG_1.jpg", "2024:03:15 10:00:00");
  folder.addPicture("IMG_2.jpg", "2024:03:15 11:00:00");
  // A copy of the tool alone in a folder, with nothing registered: the library is nowhere.
  const QString alone = testsupport::makeTempDir("alone") + "/tindra-cli";
  ASSERT_TRUE(QFile::copy(TINDRA_CLI_PATH, alone));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", testsupport::makeTempDir("unregistered"));
  const QStringList args{"info", folder.pathOf("IMG_1.jpg"), folder.pathOf("IMG_2.jpg")};

  CliResult r = runCli(args, 120000, environment, alone);
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(r.lines.isEmpty());
  // Counted with its word: the temporary folder names in the message may hold the digits too.
  EXPECT_EQ(r.errors.count("erreur 429"), 1) << r.errors.toStdString();
  const QString expected = QFileInfo(alone).absolutePath() + "/libOrvoLib22.so";
  EXPECT_TRUE(r.errors.contains(expected)) << "names the file looked for: " << r.errors.toStdString();
  const QStringList command = r.errors.trimmed().section('\n', -1).trimmed().split(' ');
  ASSERT_EQ(command.size(), 2) << r.errors.toStdString();
  EXPECT_EQ(QFileInfo(command[0]).fileName(), "tindra-regserver");
  EXPECT_TRUE(command[1].startsWith(expected)) << command[1].toStdString();

  // Registering the built library, as the message says, is enough.
  QProcess tool;
  tool.setProcessEnvironment(environment);
  tool.start(QFileInfo(TINDRA_CLI_PATH).absolutePath() + "/tindra-regserver", {testsupport::builtLibraryPath()});
  ASSERT_TRUE(tool.waitForFinished(120000));
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  r = runCli(args, 120000, environment, alone);
  EXPECT_EQ(r.status, 0) << r.errors.toStdString();
  EXPECT_EQ(r.lines.size(), 2);
}

// On the real pictures the tool prints what the program's own functions give, and plan finds
// a distinct name for every picture.
TEST(Cli, AgreesWithTheProgramOnRealPictures) {
  REQUIRE_CLI();
  TINDRA_REQUIRE_CORPUS(corpus);
  const QStringList names = QDir(corpus).entryList({"*.jpg", "*.JPG", "*.jpeg"}, QDir::Files, QDir::Name);
  ASSERT_GT(names.size(), 100);
  QStringList files;
  QStringList expected;
  testsupport::ReportedErrors errors;
  for (const QString& name : names) {
    const QString path = corpus + "/" + name;
    files.append(path);
    const JpegInfosClass info = PictureInfos(path);
    expected.append(line({path, RowDateKey(info), FutureName(path, info)}));
  }
  const CliResult r = runCli(QStringList{"names"} + files);
  EXPECT_EQ(r.lines, expected);
  EXPECT_EQ(r.status, errors.messages().isEmpty() ? 0 : 1) << r.errors.toStdString();

  const CliResult plan = runCli(QStringList{"plan"} + files);
  ASSERT_EQ(plan.lines.size(), files.size());
  QSet<QString> newNames;
  for (const QString& l : plan.lines) newNames.insert(l.section('\t', 1));
  EXPECT_EQ(newNames.size(), files.size());
}

// A name that is not UTF-8 reaches tindra-cli as the bytes it is (given through a shell, as a
// user types it), is read and renamed like any other, and shows as "\xE9" in the output.
TEST(Cli, ReadsAndRenamesANameThatIsNotUtf8) {
  REQUIRE_CLI();
#ifdef TINDRA_CLI_PATH
  PictureFolder folder;
  const QByteArray bytes = folder.addPicture("x.jpg", "2024:03:15 14:30:25");
  ASSERT_EQ(std::rename(rt::encodePath(folder.pathOf("x.jpg")).constData(),
                        (rt::encodePath(folder.path()) + "/caf\xe9.jpg").constData()),
            0);
  const auto cli = [&](const QString& command) {
    QProcess process;
    process.start("/bin/sh", {"-c", "exec \"$0\" " + command + " \"$1/$(printf 'caf\\351.jpg')\"",
                              QStringLiteral(TINDRA_CLI_PATH), folder.path()});
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
  };
  const QString shown = folder.path() + "/caf\\xE9.jpg";
  EXPECT_TRUE(cli("info").startsWith(shown + "\t2024-03-15 14:30:25\t")) << cli("info").toStdString();
  EXPECT_EQ(cli("rename"), shown + "\t20240315AA.jpg\n");
  EXPECT_EQ(folder.contents(), (QMap<QString, QByteArray>{{"20240315AA.jpg", bytes}}));
#endif
}
