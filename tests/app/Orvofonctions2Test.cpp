// The program's road to the library: process-wide slots and errors at the calling statement.

#include "app/common/InstallLayout.h"
#include "app/common/Orvofonctions2.h"
#include "app/common/ProgramInfo.h"
#include "lib/include/OrvoLib22.h"
#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"
#include "runtime/RuntimeError.h"
#include "tests/support/LibraryRegistration.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace {

// The error a call raises, or number 0 when it raises nothing.
template <class Call>
rt::RuntimeError errorOf(Call&& call) {
  try {
    call();
  } catch (const rt::RuntimeError& e) {
    return e;
  }
  return rt::RuntimeError(0);
}

bool unregisterClass(const CLSID& clsid) {
  const QString key = QStringLiteral("CLSID\\") + rt::com::guidToString(clsid);
  return !rt::reg::keyExists(rt::reg::ClassesRoot, key) || rt::reg::deleteTree(rt::reg::ClassesRoot, key);
}

// Runs in a fresh process (empty slots), as a program installed in an empty prefix: with the
// classes registered nowhere and no library in the install, a call raises 429 whose text names
// the files looked for, and the slot tries again on the next call: once the install holds the
// library, the class loads from there without any registration. Exits with 0 when all holds.
void uncreatableClassesRaise429() {
  if (!unregisterClass(CLSID_HexFunctions) || !unregisterClass(CLSID_WinPlace)) std::exit(2);
  const QString prefix = testsupport::makeTempDir(QStringLiteral("prefix"));
  ProgramInfo::OverrideLocation(prefix + QStringLiteral("/bin"), QStringLiteral("tindra"));
  const QString installed = InstallLayout::LibraryFolder(prefix + QStringLiteral("/bin")) +
                            QStringLiteral("/") + QLatin1String(OrvoLib22::kServerFileName);
  for (auto call : {+[] { Orvofonctions2::HiByte(0x100); },
                    +[] { Orvofonctions2::RestoreWindow(nullptr, QStringLiteral("x.ini")); }}) {
    const rt::RuntimeError e = errorOf(call);
    if (e.number() != 429 || !e.description().startsWith(QStringLiteral("Un composant ActiveX ne peut pas créer l'objet\n")) ||
        !e.description().contains(installed)) {
      std::exit(3);
    }
  }
  if (!QDir().mkpath(QFileInfo(installed).absolutePath()) ||
      !QFile::copy(testsupport::builtLibraryPath(), installed)) {
    std::exit(4);
  }
  if (Orvofonctions2::HiByte(0x100) != 1) std::exit(5);
  std::exit(0);
}

}  // namespace

TEST(Orvofonctions2, SlotsHoldOneObjectPerClassForTheWholeProcess) {
  _HexFunctions* hex = &Orvofonctions2::HexFunctionsObject();
  _IniParam* ini = &Orvofonctions2::IniParamObject();
  EXPECT_EQ(&Orvofonctions2::HexFunctionsObject(), hex);
  EXPECT_EQ(&Orvofonctions2::IniParamObject(), ini);
  EXPECT_NE(static_cast<void*>(hex), static_cast<void*>(ini));
  Orvofonctions2::MakeInt(1, 2);
  EXPECT_EQ(&Orvofonctions2::HexFunctionsObject(), hex);
  // The slots keep their objects alive, so the library cannot be unloaded.
  EXPECT_EQ(rt::com::serverCanUnloadNow(testsupport::builtLibraryPath()), S_FALSE);
}

TEST(Orvofonctions2, WrappersCallTheRightMembers) {
  EXPECT_EQ(Orvofonctions2::MakeLong(0x5678, 0x1234), 305419896);
  EXPECT_EQ(Orvofonctions2::MakeInt(0x34, 0x12), 4660);
  EXPECT_EQ(Orvofonctions2::Hex4(-2), QStringLiteral("FFFE"));
  EXPECT_EQ(Orvofonctions2::Hex8(255), QStringLiteral("000000FF"));
  EXPECT_EQ(Orvofonctions2::Hex2(10), QStringLiteral("0A"));
  EXPECT_EQ(Orvofonctions2::HiByte(-1), 255);
  EXPECT_EQ(Orvofonctions2::LoByte(0x1234), 0x34);
  EXPECT_EQ(Orvofonctions2::HiWord(4294967295.0), -1);
  EXPECT_EQ(Orvofonctions2::LoWord(65535.0), -1);

  const QString file = testsupport::makeTempDir() + QStringLiteral("/app.ini");
  Orvofonctions2::SetPrivateParam(QStringLiteral("Files"), QStringLiteral("Last"), QStringLiteral("a.tdc"), file);
  Orvofonctions2::SetPrivateParam(QStringLiteral("Files"), QStringLiteral("Dir"), QStringLiteral("/p"), file);
  EXPECT_EQ(Orvofonctions2::GetPrivateParam(QStringLiteral("Files"), QStringLiteral("Last"), QStringLiteral("d"), file),
            QStringLiteral("a.tdc"));
  QStringList tab{QStringLiteral("old")};
  EXPECT_EQ(Orvofonctions2::GetPrivateParamsList(tab, QStringLiteral("Files"), file), 2);
  EXPECT_EQ(tab, (QStringList{QStringLiteral("Last"), QStringLiteral("Dir")}));
  Orvofonctions2::DelPrivateParam(QStringLiteral("Files"), QStringLiteral("Last"), file);
  EXPECT_EQ(Orvofonctions2::GetPrivateParam(QStringLiteral("Files"), QStringLiteral("Last"), QStringLiteral("d"), file),
            QStringLiteral("d"));
  Orvofonctions2::DelPrivateSection(QStringLiteral("Files"), file);
  EXPECT_EQ(Orvofonctions2::GetPrivateParamsList(tab, QStringLiteral("Files"), file), 0);
  EXPECT_EQ(tab, (QStringList{QStringLiteral("Last"), QStringLiteral("Dir")}));  // untouched by an empty section
}

TEST(Orvofonctions2, FailuresRaiseAtTheCallingStatement) {
  const rt::RuntimeError overflow = errorOf([] { Orvofonctions2::HiByte(65536); });
  EXPECT_EQ(overflow.number(), 6);
  EXPECT_EQ(overflow.description(), QStringLiteral("Dépassement de capacité"));
  // The object is still usable after a failed call.
  EXPECT_EQ(Orvofonctions2::HiByte(0x1234), 0x12);

  const QString unwritable = testsupport::makeTempDir() + QStringLiteral("/missing/app.ini");
  const rt::RuntimeError write = errorOf(
      [&] { Orvofonctions2::SetPrivateParam(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"), unwritable); });
  EXPECT_NE(write.number(), 0);
  EXPECT_EQ(write.source(), QStringLiteral("OrvoLib22"));
  EXPECT_EQ(write.description(), rt::errorDescription(write.number()));
}

TEST(Orvofonctions2, AClassThatCannotBeCreatedRaises429AndIsTriedAgain) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, with empty slots
  EXPECT_EXIT(uncreatableClassesRaise429(), ::testing::ExitedWithCode(0), "");
}
