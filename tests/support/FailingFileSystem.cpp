#include "tests/support/FailingFileSystem.h"

#include "runtime/RuntimeError.h"
#include "tests/support/TestEnvironment.h"

namespace testsupport {

bool FailingFileSystem::renameNoReplace(const QString& from, const QString& to) {
  renames_.append({from, to});
  const int n = renameCount();
  if (intruders_.contains(n)) writeFile(to, intruders_.value(n));
  if (failures_.contains(n)) rt::raise(failures_.value(n));
  return real_.renameNoReplace(from, to);
}

}  // namespace testsupport
