#include "app/common/InstallLayout.h"

#include "app/common/ProgramInfo.h"
#include "lib/include/OrvoLib22.h"

#include <QDir>
#include <QFileInfo>

// Relative paths from the install's bin folder, given by the build.
#ifndef TINDRA_BIN_TO_PKGLIBDIR
#define TINDRA_BIN_TO_PKGLIBDIR "../lib/tindra"
#endif
#ifndef TINDRA_BIN_TO_PKGDATADIR
#define TINDRA_BIN_TO_PKGDATADIR "../share/tindra"
#endif

namespace InstallLayout {

QString LibraryFolder(const QString& programFolder) {
  return QDir::cleanPath(programFolder + QStringLiteral("/" TINDRA_BIN_TO_PKGLIBDIR));
}

rt::com::BundledServer Library() {
  const QString program = ProgramInfo::ProgramFolder();
  return {QLatin1String(OrvoLib22::kServerFileName), {program}, {LibraryFolder(program)}};
}

QString LibraryFile() {
  const QString program = ProgramInfo::ProgramFolder();
  const QString folder = IsInstalled(program) ? LibraryFolder(program) : program;
  return QDir(folder).filePath(QLatin1String(OrvoLib22::kServerFileName));
}

bool IsInstalled(const QString& programFolder) {
  return QFileInfo(programFolder + QStringLiteral("/" TINDRA_BIN_TO_PKGDATADIR)).isDir();
}

QString HelpFolder() {
  const QString program = ProgramInfo::ProgramFolder();
  const QString beside = program + QStringLiteral("/") + ProgramInfo::ProgramFileName() + QStringLiteral(".help");
  if (QFileInfo(beside).isDir()) return beside;
  return QDir::cleanPath(program + QStringLiteral("/" TINDRA_BIN_TO_PKGDATADIR "/help"));
}

}  // namespace InstallLayout
