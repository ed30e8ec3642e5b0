// The application settings file and the take-over of the settings an older version left in it.
#include "tests/gui/WindowFixture.h"

#include "app/common/AppSettings.h"
#include "app/naming/SpecialFolders.h"

#include <QDir>
#include <QFile>

namespace {

const QString kTakeoverMessage = QStringLiteral(
    "Attention ! Les paramètres de l'ancienne version ont été récupérés \r\nmais NON SAUVEGARDÉS.\r\n\r\n"
    "Veuillez l'enregistrer maintenant.");

}  // namespace

class AppSettingsTest : public WindowFixture {
 protected:
  QString ini() const { return programDir + "/tindra.ini"; }
  void writeIni(const QByteArray& text) { ASSERT_TRUE(testsupport::writeFile(ini(), text)); }
};

TEST_F(AppSettingsTest, TheFileSitsBesideTheProgramAndFollowsItsName) {
  EXPECT_EQ(IniFileName(), ini());
  EXPECT_EQ(GetParam("Files", "LastPath", "none"), "none");
  EXPECT_FALSE(QFile::exists(ini()));
  SetParam("Files", "LastPath", "/photos");
  EXPECT_TRUE(QFile::exists(ini()));
  EXPECT_EQ(GetParam("files", "lastpath", ""), "/photos");
  QStringList keys;
  EXPECT_EQ(GetParamsList(keys, "Files"), 1);
  EXPECT_EQ(keys, QStringList{"LastPath"});
  DelParam("Files", "LastPath");
  EXPECT_EQ(GetParam("Files", "LastPath", "gone"), "gone");
  // A renamed program looks for its own file and no longer finds the old settings.
  SetParam("Files", "LastPath", "/photos");
  ProgramInfo::OverrideLocation(programDir, "tindra-copy");
  EXPECT_EQ(IniFileName(), programDir + "/tindra-copy.ini");
  EXPECT_EQ(GetParam("Files", "LastPath", ""), "");
}

TEST_F(AppSettingsTest, AnUnwritableProgramFolderSendsTheFilesToTheUserFolder) {
  EXPECT_EQ(ProgramInfo::ChooseDataFolder("/opt/tindra", true, "/home/u/.config"), "/opt/tindra");
  EXPECT_EQ(ProgramInfo::ChooseDataFolder("/opt/tindra", false, "/home/u/.config"), "/home/u/.config/Tindra");
  // A program folder that is not there cannot hold the files either.
  ProgramInfo::OverrideLocation(programDir + "/missing", "tindra");
  EXPECT_EQ(IniFileName(), ProgramInfo::ConfigHome() + "/Tindra/tindra.ini");
}

TEST_F(AppSettingsTest, AWriteThatFailsIsReported) {
  shownWindow();  // its error presenter shows failures through the services
  ASSERT_TRUE(QDir().mkpath(ini()));  // a folder where the file should be
  SetParam("Files", "LastPath", "/photos");
  ASSERT_EQ(reportedErrors().size(), 1);
  EXPECT_TRUE(reportedErrors().first().contains("Module : Global\r\nFunction : SetParam") ||
              reportedErrors().first().contains("Module : Global\nFunction : SetParam"))
      << reportedErrors().first().toStdString();
}

TEST_F(AppSettingsTest, AFileOverTheSizeCapIsNamedOnceAndNeverRewritten) {
  wMain& window = shownWindow();
  writeIni("[Files]\r\nLastPath=/kept\r\n");
  ASSERT_TRUE(QFile(ini()).resize(5 * 1024 * 1024));  // over the 4 MiB the service reads
  const QByteArray before = testsupport::readFile(ini());
  EXPECT_EQ(GetParam("Files", "LastPath", "default"), "default");
  SetParam("Files", "LastPath", "/photos");
  DelSection("Files");
  SaveWindowPlace(&window);
  EXPECT_EQ(GetParam("Files", "LastPath", "default"), "default");
  ASSERT_EQ(reportedErrors().size(), 1) << reportedErrors().join("\n---\n").toStdString();
  EXPECT_TRUE(reportedErrors().first().contains("« " + ini() + " » dépasse la taille maximale de 4 Mo"))
      << reportedErrors().first().toStdString();
  EXPECT_EQ(testsupport::readFile(ini()), before);
}

TEST_F(AppSettingsTest, WithoutTimeOffsetNothingIsTakenOver) {
  const QByteArray text = "[Options]\r\nPrefix=Old\r\nDate1=False\r\n";
  writeIni(text);
  shownWindow().RecoverOldParams();
  EXPECT_EQ(testsupport::readFile(ini()), text);
  EXPECT_EQ(CurrentConfig().Prefix(), "");
  EXPECT_FALSE(CurrentConfig().Modified());
  EXPECT_TRUE(ui.messages().isEmpty());
  EXPECT_TRUE(ui.fileDialogs().isEmpty());
}

TEST_F(AppSettingsTest, AnEmptyOptionsSectionGivesTheDefaultSeparators) {
  writeIni("[Options]\r\nOther=1\r\n[TimeOffset]\r\nApply=False\r\n");
  CurrentConfig().SetDateTimeSep("-");
  CurrentConfig().SetPrefix("keep");
  const ConfigClass before = CurrentConfig();
  shownWindow().RecoverOldParams();
  const ConfigClass& c = CurrentConfig();
  EXPECT_EQ(c.DateTimeSep(), "");
  EXPECT_EQ(c.DateSep(), "_");
  EXPECT_EQ(c.TimeSep(), "_");
  EXPECT_EQ(c.Prefix(), "keep");
  EXPECT_EQ(c.Digits(), before.Digits());
  EXPECT_EQ(c.StartNum(), before.StartNum());
  EXPECT_EQ(c.IsDateDigit(1), before.IsDateDigit(1));
  EXPECT_TRUE(c.Modified());
  ASSERT_EQ(ui.messages().size(), 1);
  EXPECT_EQ(ui.messages().first().text, kTakeoverMessage);
  EXPECT_EQ(ui.messages().first().icon, ui::Icon::Exclamation);
  EXPECT_EQ(ui.messages().first().buttons, ui::Buttons::Ok);
  ASSERT_EQ(ui.fileDialogs().size(), 1);
  const ui::FileDialogRequest& request = ui.fileDialogs().first();
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.initDir, GetPersonalFolder());
  EXPECT_EQ(request.filter, "Fichiers de configuration Tindra (*.tdc)|*.tdc|Tous les fichiers|*.*");
  // The save dialog was cancelled: LastConfig unchanged, the old keys gone, an unknown key kept.
  EXPECT_EQ(GetParam("Files", "LastConfig", "unset"), "unset");
  QStringList keys;
  EXPECT_EQ(GetParamsList(keys, "TimeOffset"), 0);
  EXPECT_EQ(GetParamsList(keys, "Options"), 1);
  EXPECT_EQ(keys, QStringList{"Other"});
}

TEST_F(AppSettingsTest, OldValuesAreConvertedAndSaved) {
  writeIni(
      "[Options]\r\nDate1=True\r\nDate2=False\r\nTime1=True\r\nTimeSep0=True\r\nSepar0=1\r\nPrefix= Photo \r\n"
      "Digits=3\r\nStartNum=7\r\nSuffixType=1\r\nNotExif=2\r\nExtension=2\r\nSeparDate=2\r\nSeparTime=2\r\n"
      "Separ=x\r\nSuffix=y\r\n"
      "[TimeOffset]\r\nApply=True\r\nApplyFile=False\r\nPicture=01/01/2005 10:00:00\r\nReal=01/01/2005 11:30:00\r\n"
      "[Files]\r\nLastPath=/p\r\n");
  const QString settings = pictureDir + "/old.tdc";
  ui.queueFileName(settings);
  shownWindow().RecoverOldParams();
  const ConfigClass& c = CurrentConfig();
  EXPECT_FALSE(c.IsDateDigit(2));
  EXPECT_TRUE(c.IsTimeDigit(1));
  EXPECT_TRUE(c.IsTimeSep(0));
  EXPECT_EQ(c.DateTimeSep(), "0");  // Separ0 set, SeparPrefix absent
  EXPECT_EQ(c.Prefix(), "Photo");
  EXPECT_EQ(c.Digits(), 3);
  EXPECT_EQ(c.StartNum(), 7);
  EXPECT_EQ(c.SuffixType(), 1);
  EXPECT_EQ(c.NotExif(), 2);
  EXPECT_EQ(c.Extension(), 2);
  EXPECT_EQ(c.DateSep(), " ");
  EXPECT_EQ(c.TimeSep(), "h");
  EXPECT_TRUE(c.OffsetApply());
  EXPECT_EQ(c.DateReal() - c.DateExif(), rt::timeSerial(1, 30, 0));
  EXPECT_TRUE(QFile::exists(settings));
  EXPECT_EQ(GetParam("Files", "LastConfig", ""), settings);
  EXPECT_EQ(GetParam("Files", "LastPath", ""), "/p");
  const QString text = QString::fromUtf8(testsupport::readFile(ini()));
  EXPECT_FALSE(text.contains("[Options]", Qt::CaseInsensitive)) << text.toStdString();
  EXPECT_FALSE(text.contains("TimeOffset", Qt::CaseInsensitive));
}

TEST_F(AppSettingsTest, SeparatorPositionsBeyondTheListGiveNothing) {
  writeIni("[Options]\r\nSeparDate=10\r\nSeparTime=10\r\n[TimeOffset]\r\nApply=False\r\n");
  shownWindow().RecoverOldParams();
  EXPECT_EQ(CurrentConfig().DateSep(), "");
  EXPECT_EQ(CurrentConfig().TimeSep(), "=");  // the time list is one longer
}

// A value that does not convert stops the take-over: reported by the start-up, nothing
// removed, so it is tried again at the next start.
TEST_F(AppSettingsTest, ABadOldValueStopsTheTakeOverAndKeepsTheOldKeys) {
  const QByteArray text = "[Options]\r\nPrefix=Old\r\nSeparDate=-1\r\n[TimeOffset]\r\nApply=True\r\n";
  writeIni(text);
  ui.setCommandLine("\"" + pictureDir + "/none.txt\"");
  window = std::make_unique<wMain>();
  window->resize(800, 500);
  EXPECT_TRUE(window->Form_Load());
  ASSERT_EQ(reportedErrors().size(), 1);
  EXPECT_TRUE(reportedErrors().first().startsWith("Error Nr 5 : ")) << reportedErrors().first().toStdString();
  EXPECT_EQ(CurrentConfig().Prefix(), "Old");  // set before the failing key
  EXPECT_EQ(testsupport::readFile(ini()), text);
  EXPECT_EQ(ui.messages().size(), 1);
}
