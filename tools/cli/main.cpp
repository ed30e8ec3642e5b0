// tindra-cli: the picture information, future names and renaming of Tindra from a terminal.
#include "app/common/Orvofonctions2.h"
#include "runtime/ProgramArguments.h"
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/CliOutput.h"
#include "tools/cli/JournalCommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("tindra-cli " TINDRA_VERSION);
    return 0;
  }
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tindra-cli"));
  cli::installErrorPresenter();
  rt::keepProgramArguments(argc, argv);

  QString error;
  const std::optional<cli::Options> options = cli::parseArguments(rt::programArguments().mid(1), &error);
  if (!options) {
    cli::printError(error + QStringLiteral("\n(tindra-cli --help pour l'aide)"));
    return 2;
  }
  if (options->command == cli::Command::Help) {
    std::fputs(cli::usageText().toUtf8().constData(), stdout);
    return 0;
  }
  // Every command reads pictures or settings through the library: without it, nothing is done.
  if (const QString problem = Orvofonctions2::LibraryProblem(); !problem.isEmpty()) {
    cli::printError(problem);
    return 3;
  }
  if (options->command != cli::Command::Help && options->command != cli::Command::Recover)
    cli::noteInterruptedRuns();
  switch (options->command) {
    case cli::Command::Help: return 0;
    case cli::Command::Info: return cli::runInfo(*options);
    case cli::Command::Names: return cli::runNames(*options);
    case cli::Command::Plan: return cli::runRename(*options, true);
    case cli::Command::Rename: return cli::runRename(*options, false);
    case cli::Command::History: return cli::runHistory();
    case cli::Command::Undo: return cli::runUndo(*options);
    case cli::Command::Recover: return cli::runRecover(*options);
  }
  return 2;
}
