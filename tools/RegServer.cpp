// tindra-regserver [--machine] [-u] LIBRARY
// Registers the component server LIBRARY in the user's registry store (with -u, removes its
// registration); with --machine, in the machine-wide store (installation does that). Exit
// codes: 0 done, 1 usage, 2 file missing, 3 not a component server, 4 the registration itself
// failed.

#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

enum ExitCode { Done = 0, Usage = 1, FileMissing = 2, NotAServer = 3, Failed = 4 };

void printLine(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
}

int usage() {
  printLine(stderr, QStringLiteral("Usage : tindra-regserver [--machine] [-u] BIBLIOTHÈQUE\n"
                                   "  Enregistre le serveur de composants BIBLIOTHÈQUE ;\n"
                                   "  -u supprime son enregistrement ;\n"
                                   "  --machine agit sur l'enregistrement commun à tous les utilisateurs\n"
                                   "  (celui que l'installation écrit) au lieu du vôtre ;\n"
                                   "  --version affiche la version."));
  return Usage;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args == QStringList{QStringLiteral("--version")}) {
    printLine(stdout, QStringLiteral("tindra-regserver " TINDRA_VERSION));
    return Done;
  }
  bool unregister = false;
  bool machine = false;
  while (!args.isEmpty() && (args.first() == QLatin1String("-u") || args.first() == QLatin1String("--machine"))) {
    (args.first() == QLatin1String("-u") ? unregister : machine) = true;
    args.removeFirst();
  }
  // The machine-wide store has the layout of a user's configuration folder: the server's own
  // registration code (which reads XDG_CONFIG_HOME) writes there.
  if (machine) qputenv("XDG_CONFIG_HOME", QFile::encodeName(rt::reg::machineConfigFolder()));
  if (args.size() != 1 || args.first().isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
    return usage();
  }
  const QString path = QFileInfo(args.first()).absoluteFilePath();
  QString detail;
  switch (rt::com::registerServer(path, unregister, &detail)) {
    case rt::com::RegistrationResult::Done:
      printLine(stdout, unregister ? QStringLiteral("Enregistrement supprimé : %1").arg(path)
                                   : QStringLiteral("Enregistré : %1").arg(path));
      return Done;
    case rt::com::RegistrationResult::FileMissing:
      printLine(stderr, QStringLiteral("Fichier introuvable : %1").arg(path));
      return FileMissing;
    case rt::com::RegistrationResult::NotAServer:
      printLine(stderr, QStringLiteral("Ce fichier n'est pas un serveur de composants : %1\n%2").arg(path, detail));
      return NotAServer;
    case rt::com::RegistrationResult::Failed:
      printLine(stderr, (unregister ? QStringLiteral("La suppression de l'enregistrement a échoué : %1\n%2")
                                    : QStringLiteral("L'enregistrement a échoué : %1\n%2"))
                            .arg(path, detail));
      return Failed;
  }
  return Failed;
}
