#include "tests/support/LibraryRegistration.h"

#include "runtime/ComServer.h"

#include <cstdio>

namespace testsupport {

QString builtLibraryPath() {
#ifdef TINDRA_ORVOLIB_PATH
  return QStringLiteral(TINDRA_ORVOLIB_PATH);
#else
  return {};
#endif
}

QString registrationToolPath() {
#ifdef TINDRA_REGSERVER_PATH
  return QStringLiteral(TINDRA_REGSERVER_PATH);
#else
  return {};
#endif
}

bool registerBuiltLibrary() {
  const QString path = builtLibraryPath();
  if (path.isEmpty()) return true;
  QString detail;
  if (rt::com::registerServer(path, false, &detail) == rt::com::RegistrationResult::Done) return true;
  std::fprintf(stderr, "warning: the library could not be registered for the tests: %s\n",
               detail.toLocal8Bit().constData());
  return false;
}

}  // namespace testsupport
