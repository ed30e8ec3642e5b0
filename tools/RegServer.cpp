// tindra-regserver [-u] LIBRARY
// Registers the component server LIBRARY in the user's registry store (with -u, removes its
// registration). Exit codes: 0 done, 1 usage, 2 file missing, 3 not a component server,
// 4 the registration itself failed.

#include "runtime/ComServer.h"

#include <QCoreApplication>
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
  printLine(stderr, QStringLiteral("Usage : tindra-regserver [-u] BIBLIOTHÈQUE\n"
                                   "  Enregistre le serveur de composants BIBLIOTHÈQUE ;\n"
                                   "  -u supprime son enregistrement."));
  return Usage;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  bool unregister = false;
  if (!args.isEmpty() && args.first() == QLatin1String("-u")) {
    unregister = true;
    args.removeFirst();
  }
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
