// Where an object's library is found: the client's own folder, the user's registration, the
// machine-wide registration, the client's install, in that order; and what a failure names.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"
#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/lib/RaisedError.h"
#include "tests/support/LibraryRegistration.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

using rt::com::ComPtr;

namespace {

// Points the machine-wide store at a fresh empty folder for the life of the object.
class PrivateMachineStore {
 public:
  PrivateMachineStore()
      : saved_(qgetenv("TINDRA_MACHINE_CONFIG")), folder_(testsupport::makeTempDir(QStringLiteral("machine"))) {
    qputenv("TINDRA_MACHINE_CONFIG", folder_.toLocal8Bit());
  }
  ~PrivateMachineStore() { qputenv("TINDRA_MACHINE_CONFIG", saved_); }
  const QString& folder() const { return folder_; }

 private:
  QByteArray saved_;
  QString folder_;
};

// A folder holding its own copy of the built library under its installed name (a copy, so that
// it loads as a library of its own and the objects tell where they came from).
QString folderWithLibrary(const QString& hint) {
  const QString folder = testsupport::makeTempDir(hint);
  EXPECT_TRUE(QFile::copy(testsupport::builtLibraryPath(), folder + QStringLiteral("/") +
                                                               QLatin1String(OrvoLib22::kServerFileName)));
  return folder;
}

QString libraryIn(const QString& folder) { return folder + QStringLiteral("/") + QLatin1String(OrvoLib22::kServerFileName); }

// The library file an object's code lives in.
QString origin(const ComPtr<_HexFunctions>& object) {
  return rt::com::moduleFilePath(*reinterpret_cast<void* const*>(object.get()));
}

int runRegistrationTool(const QStringList& args) {
  QProcess tool;
  tool.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
  tool.start(testsupport::registrationToolPath(), args);
  if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit) return -1;
  return tool.exitCode();
}

}  // namespace

TEST(ServerSearch, OwnFolderThenUserThenMachineThenInstall) {
  libtest::PrivateRegistry user;
  PrivateMachineStore machine;
  const QString beside = testsupport::makeTempDir(QStringLiteral("beside"));
  const QString install = folderWithLibrary(QStringLiteral("install"));
  const rt::com::BundledServer bundled{QLatin1String(OrvoLib22::kServerFileName), {beside}, {install}};
  ComPtr<_HexFunctions> hex;

  // Registered nowhere: the install's copy.
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, nullptr, &bundled), S_OK);
  EXPECT_EQ(origin(hex), libraryIn(install));

  // Registered for the machine (by the tool, as installation does): that copy, for every user.
  const QString machineCopy = folderWithLibrary(QStringLiteral("machine-lib"));
  ASSERT_EQ(runRegistrationTool({QStringLiteral("--machine"), libraryIn(machineCopy)}), 0);
  EXPECT_TRUE(QFile::exists(machine.folder() + QStringLiteral("/Tindra/registry/HKEY_CLASSES_ROOT.reg")));
  EXPECT_FALSE(QFile::exists(rt::reg::hiveFile(rt::reg::ClassesRoot)));
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, nullptr, &bundled), S_OK);
  EXPECT_EQ(origin(hex), libraryIn(machineCopy));

  // The user's own registration comes first; one whose file is gone is passed over.
  const QString userCopy = folderWithLibrary(QStringLiteral("user-lib"));
  ASSERT_EQ(runRegistrationTool({libraryIn(userCopy)}), 0);
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, nullptr, &bundled), S_OK);
  EXPECT_EQ(origin(hex), libraryIn(userCopy));
  ASSERT_TRUE(QFile::rename(libraryIn(userCopy), userCopy + QStringLiteral("/moved.so")));
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, nullptr, &bundled), S_OK);
  EXPECT_EQ(origin(hex), libraryIn(machineCopy));

  // A copy in the client's own folder (a build tree) wins over every registration.
  ASSERT_TRUE(QFile::copy(testsupport::builtLibraryPath(), libraryIn(beside)));
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, nullptr, &bundled), S_OK);
  EXPECT_EQ(origin(hex), libraryIn(beside));

  // Unregistering for the machine leaves no class behind.
  ASSERT_EQ(runRegistrationTool({QStringLiteral("--machine"), QStringLiteral("-u"), libraryIn(machineCopy)}), 0);
  EXPECT_FALSE(rt::reg::queryMachineValue(rt::reg::ClassesRoot,
                                          QStringLiteral("CLSID\\%1\\InprocServer32")
                                              .arg(rt::com::guidToString(CLSID_HexFunctions)),
                                          QString()));
}

TEST(ServerSearch, AMissingLibraryIsNamedWithEveryPlaceLookedAt) {
  libtest::PrivateRegistry user;
  PrivateMachineStore machine;
  const QString folder = testsupport::makeTempDir(QStringLiteral("empty"));
  const QString gone = folder + QStringLiteral("/registered-but-gone.so");
  const QString key = QStringLiteral("CLSID\\%1\\InprocServer32").arg(rt::com::guidToString(CLSID_HexFunctions));
  ASSERT_TRUE(rt::reg::createKey(rt::reg::ClassesRoot, key));
  ASSERT_TRUE(rt::reg::setValue(rt::reg::ClassesRoot, key, QString(), gone));
  const rt::com::BundledServer bundled{QLatin1String(OrvoLib22::kServerFileName), {folder + QStringLiteral("/bin")},
                                       {folder + QStringLiteral("/lib/tindra")}};

  ComPtr<_HexFunctions> hex;
  QString detail;
  EXPECT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, &detail, &bundled), CO_E_DLLNOTFOUND);
  EXPECT_FALSE(hex);
  for (const QString& path : {libraryIn(folder + QStringLiteral("/bin")), gone,
                              libraryIn(folder + QStringLiteral("/lib/tindra"))}) {
    EXPECT_TRUE(detail.contains(path)) << detail.toStdString();
  }
  EXPECT_TRUE(detail.startsWith(QStringLiteral("Bibliothèque introuvable : "))) << detail.toStdString();

  // A file that is there but is no library tells more than the missing ones.
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/lib/tindra")));
  ASSERT_TRUE(testsupport::writeFile(libraryIn(folder + QStringLiteral("/lib/tindra")), "not a library"));
  EXPECT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, &detail, &bundled), CO_E_ERRORINDLL);
  EXPECT_TRUE(detail.contains(gone)) << detail.toStdString();
}

// The widget classes and dialogs come from the widget module beside the library: a copy of the
// library without it still serves the other classes, and a dialog member says which file is
// missing instead of failing silently.
TEST(ServerSearch, ACopyWithoutItsWidgetModuleServesTheRestAndNamesTheModule) {
  libtest::PrivateRegistry user;  // nothing registered: that copy or nothing
  PrivateMachineStore machine;
  const QString folder = folderWithLibrary(QStringLiteral("no-widgets"));
  const rt::com::BundledServer bundled{QLatin1String(OrvoLib22::kServerFileName), {folder}, {}};
  ComPtr<_HexFunctions> hex;
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex, nullptr, &bundled), S_OK);
  EXPECT_EQ(origin(hex), libraryIn(folder));

  ComPtr<_WinPlace> place;
  EXPECT_TRUE(failed(rt::com::createInstance(CLSID_WinPlace, place, nullptr, &bundled)));
  EXPECT_FALSE(place);

  ComPtr<_FilesPaths> paths;
  ASSERT_EQ(rt::com::createInstance(CLSID_FilesPaths, paths, nullptr, &bundled), S_OK);
  QVariant filterIndex;
  QString chosen;
  const HRESULT status = paths->GetFileName(0, QString(), QVariant(), QVariant(), QVariant(), QVariant(),
                                            QVariant(), &filterIndex, &chosen);
  const libtest::RaisedError error = libtest::raisedError(status, paths.get());
  EXPECT_EQ(error.number, 429);
  EXPECT_EQ(error.source, QStringLiteral("OrvoLib22"));
  EXPECT_TRUE(error.description.contains(folder + QStringLiteral("/libOrvoLib22Widgets.so.2")))
      << error.description.toStdString();
}
