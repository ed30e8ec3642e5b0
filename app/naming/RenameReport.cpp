#include "app/naming/RenameReport.h"

namespace {

const QString kIndent = QStringLiteral("  ");

QString quoted(const QString& path) { return QStringLiteral("« %1 »").arg(path); }

QStringList noticeLines(const std::vector<RenameNotice>& notices) {
  QStringList lines;
  for (const RenameNotice& notice : notices) lines.append(quoted(notice.path) + QStringLiteral(" : ") + notice.reason);
  return lines;
}

// "1 fichier a", "3 fichiers ont"...
QString files(qsizetype count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

void appendList(QStringList& report, const QStringList& lines) {
  for (const QString& line : SummarisedList(lines)) report.append(kIndent + kIndent + line);
}

}  // namespace

QStringList SummarisedList(const QStringList& lines, int shown) {
  if (lines.size() <= shown) return lines;
  QStringList kept = lines.mid(0, shown);
  kept.append(QStringLiteral("… et %1 autres").arg(lines.size() - shown));
  return kept;
}

QString LeftAloneReport(const std::vector<RenameNotice>& leftAlone) {
  if (leftAlone.empty()) return QString();
  QStringList report{files(static_cast<qsizetype>(leftAlone.size()), "fichier n'a pas été renommé :",
                           "fichiers n'ont pas été renommés :")};
  for (const QString& line : SummarisedList(noticeLines(leftAlone))) report.append(kIndent + line);
  return report.join(QLatin1Char('\n'));
}

QString RenameFailureReport(const RenameFailure& failure) {
  const RenameFailure::Outcome& outcome = failure.outcome();
  QString cause = QStringLiteral("%1 (erreur %2)").arg(failure.description()).arg(failure.number());
  if (!outcome.reason.isEmpty()) cause += QStringLiteral(" : ") + outcome.reason;
  QStringList report{QStringLiteral("le renommage s'est arrêté : ") + cause};

  const bool moving = !failure.to().isEmpty();
  if (moving)
    report.append(kIndent + QStringLiteral("en renommant %1 en %2").arg(quoted(failure.from()), quoted(failure.to())));
  else if (!failure.from().isEmpty())
    report.append(kIndent + QStringLiteral("en préparant %1").arg(quoted(failure.from())));
  if (!moving) report.append(kIndent + QStringLiteral("aucun fichier n'a été déplacé"));
  if (outcome.restored > 0)
    report.append(kIndent + files(outcome.restored, "fichier a repris son nom d'origine",
                                  "fichiers ont repris leur nom d'origine"));
  if (!outcome.notRestored.empty()) {
    report.append(kIndent +
                  files(static_cast<qsizetype>(outcome.notRestored.size()),
                        "fichier n'a pas pu reprendre son nom d'origine et porte encore un nom provisoire :",
                        "fichiers n'ont pas pu reprendre leur nom d'origine et portent encore un nom provisoire :"));
    appendList(report, noticeLines(outcome.notRestored));
  }
  if (!outcome.vanished.isEmpty()) {
    report.append(kIndent + files(outcome.vanished.size(),
                                  "fichier a disparu (déplacé ou supprimé par un autre programme) :",
                                  "fichiers ont disparu (déplacés ou supprimés par un autre programme) :"));
    QStringList vanished;
    for (const QString& path : outcome.vanished) vanished.append(quoted(path));
    appendList(report, vanished);
  }
  const QString leftAlone = LeftAloneReport(outcome.leftAlone);
  if (!leftAlone.isEmpty())
    report.append(kIndent + QString(leftAlone).replace(QLatin1Char('\n'), QLatin1Char('\n') + kIndent));

  if (!outcome.notRestored.empty())
    report.append(QStringLiteral("À faire : corriger la cause ci-dessus, puis retirer le préfixe « %1 » des fichiers "
                                 "qui le portent encore (aucun fichier n'a été écrasé).")
                      .arg(kTemporaryPrefix));
  else
    report.append(QStringLiteral("À faire : corriger la cause ci-dessus puis relancer le renommage ; les fichiers "
                                 "encore cochés n'ont pas été renommés."));
  return report.join(QLatin1Char('\n'));
}
