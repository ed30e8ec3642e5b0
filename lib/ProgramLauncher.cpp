#include "lib/ProgramLauncher.h"

#include <QProcess>
#include <QStringList>

namespace orvo {

bool launchAndWait(const QString& commandLine, const QString& workingDir, bool hidden) {
  QStringList arguments = QProcess::splitCommand(commandLine);
  if (arguments.isEmpty() || arguments.first().isEmpty()) return false;
  QProcess process;
  process.setProgram(arguments.takeFirst());
  process.setArguments(arguments);
  if (!workingDir.isEmpty()) process.setWorkingDirectory(workingDir);
  if (hidden) {
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
  } else {
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
  }
  process.start();
  if (!process.waitForStarted(-1)) return false;
  process.waitForFinished(-1);
  return process.state() == QProcess::NotRunning;
}

}  // namespace orvo
