#include "tests/support/FailingFileSystem.h"

#include "runtime/RuntimeError.h"
#include "runtime/SystemError.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>

namespace testsupport {

bool FailingFileSystem::renameNoReplace(const QString& from, const QString& to) {
  renames_.append({from, to});
  const int n = renameCount();
  if (intruders_.contains(n)) writeFile(to, intruders_.value(n));
  if (vanishing_.contains(n)) QFile::remove(from);
  if (failures_.contains(n)) rt::raise(failures_.value(n));
  if (failingFrom_.first > 0 && n >= failingFrom_.first) rt::raiseFileError(failingFrom_.second);
  return real_.renameNoReplace(from, to);
}

}  // namespace testsupport
