#include "tools/cli/TerminalQuestions.h"

#include "tools/cli/CliOutput.h"
#include "runtime/DateValue.h"
#include "runtime/Terminal.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace cli {
namespace {

void writeErr(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
  std::fflush(stderr);
}

QString phaseLabel(RenamePhase phase) {
  switch (phase) {
    case RenamePhase::Reading: return QStringLiteral("Lecture des photos");
    case RenamePhase::TemporaryNames: return QStringLiteral("Noms provisoires");
    case RenamePhase::FinalNames: return QStringLiteral("Noms définitifs");
  }
  return QString();
}

}  // namespace

QString TerminalQuestions::askDate(const QString& initKey, const QString& oldName) {
  if (!rt::standardInputIsTerminal()) {
    printError(QStringLiteral("« %1 » n'a pas de date EXIF ; hors d'un terminal sa date ne peut être "
                              "demandée : il garde son nom").arg(oldName));
    return QString();
  }
  const std::optional<rt::DateValue> proposed = rt::fromDateKey(initKey);
  const QString proposal = proposed ? rt::generalDateText(*proposed) : QString();
  for (;;) {
    writeErr(QStringLiteral("\n« %1 » n'a pas de date EXIF.\n"
                            "Date de classement (JJ/MM/AAAA HH:MM:SS), Entrée pour %2, "
                            "« n » pour ne pas le renommer : ")
                 .arg(oldName, proposal.isEmpty() ? QStringLiteral("ne pas le renommer")
                                                  : QStringLiteral("« %1 »").arg(proposal)));
    std::string line;
    if (!std::getline(std::cin, line)) return QString();  // end of input: keeps its name
    const QString answer = QString::fromUtf8(line).trimmed();
    if (answer.isEmpty()) return proposed ? initKey : QString();
    if (answer.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0) return QString();
    const std::optional<rt::DateValue> date = rt::readDate(answer);
    if (date && *date >= 1.0) return rt::toDateKey(*date);
    writeErr(QStringLiteral("Date incorrecte !\n"));
  }
}

void TerminalQuestions::progress(RenamePhase phase, int done, int total) {
  if (total < 50) return;
  // Asked once per run, not once per file.
  if (!errorIsTerminal_) errorIsTerminal_ = rt::standardErrorIsTerminal();
  if (!*errorIsTerminal_) return;
  const int percent = static_cast<int>(100LL * done / total);
  if (percent == shownPercent_ && done != 0) return;
  shownPercent_ = percent;
  writeErr(QStringLiteral("\r%1 : %2/%3").arg(phaseLabel(phase)).arg(done).arg(total));
  if (done == total) writeErr(QStringLiteral("\n"));
}

}  // namespace cli
