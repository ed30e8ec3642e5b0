// Where the program finds what it ships with, in a build tree and in an install.

#include "app/common/InstallLayout.h"
#include "app/common/ProgramInfo.h"
#include "lib/include/OrvoLib22.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

// Runs the program as <folder>/tindra for the life of the object.
struct ProgramAt {
  explicit ProgramAt(const QString& folder) { ProgramInfo::OverrideLocation(folder, QStringLiteral("tindra")); }
  ~ProgramAt() { ProgramInfo::OverrideLocation(QString(), QString()); }
};

}  // namespace

TEST(InstallLayout, BuildTreeKeepsEverythingBesideTheProgramAnInstallSpreadsIt) {
  const QString root = testsupport::makeTempDir(QStringLiteral("layout"));
  const QString build = root + QStringLiteral("/build/bin");
  const QString prefix = root + QStringLiteral("/prefix");
  ASSERT_TRUE(QDir().mkpath(build + QStringLiteral("/tindra.help")));
  ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
  ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/share/tindra/help")));

  {
    ProgramAt program(build);
    EXPECT_EQ(InstallLayout::HelpFolder(), build + QStringLiteral("/tindra.help"));
    EXPECT_FALSE(InstallLayout::IsInstalled(build));
    EXPECT_EQ(ProgramInfo::DataFolder(), build);  // portable: a writable build folder
    const rt::com::BundledServer library = InstallLayout::Library();
    EXPECT_EQ(library.fileName, QLatin1String(OrvoLib22::kServerFileName));
    EXPECT_EQ(library.firstFolders, QStringList{build});
  }
  {
    ProgramAt program(prefix + QStringLiteral("/bin"));
    EXPECT_EQ(InstallLayout::HelpFolder(), prefix + QStringLiteral("/share/tindra/help"));
    EXPECT_TRUE(InstallLayout::IsInstalled(prefix + QStringLiteral("/bin")));
    // Writable (we run as root), yet installed: the settings go to the user's folder.
    EXPECT_EQ(ProgramInfo::DataFolder(), ProgramInfo::ConfigHome() + QStringLiteral("/Tindra"));
    EXPECT_EQ(InstallLayout::Library().lastFolders, QStringList{prefix + QStringLiteral("/lib/tindra")});
  }
}
