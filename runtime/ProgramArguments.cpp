#include "runtime/ProgramArguments.h"

#include "runtime/PathCodec.h"

#include <QCoreApplication>

namespace rt {
namespace {

QStringList& kept() {
  static QStringList arguments;
  return arguments;
}

}  // namespace

void keepProgramArguments(int argc, const char* const* argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(decodePath(QByteArray(argv[i])));
  kept() = arguments;
}

QStringList programArguments() {
  if (!kept().isEmpty()) return kept();
  return QCoreApplication::arguments();
}

}  // namespace rt
