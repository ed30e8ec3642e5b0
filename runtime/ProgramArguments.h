#pragma once
// The command line of the process as path texts: each argument decoded with the path codec
// (runtime/PathCodec.h), so a file name that is not UTF-8 reaches its file. Qt's own list
// decodes arguments lossily.

#include <QStringList>

namespace rt {

// Keeps argv[0..argc) decoded; main calls it once, after the application object has taken
// out the arguments meant for Qt itself.
void keepProgramArguments(int argc, const char* const* argv);

// The kept arguments, the program's own name first; QCoreApplication::arguments() when none
// were kept.
QStringList programArguments();

}  // namespace rt
