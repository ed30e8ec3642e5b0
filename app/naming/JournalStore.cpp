#include "app/naming/JournalStore.h"

#include "runtime/DurableFile.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <atomic>

namespace {

const QString kSuffix = QStringLiteral(".journal");
constexpr qint64 kMaxJournalBytes = 512LL * 1024 * 1024;

QString newRunId() {
  static std::atomic<int> counter{0};
  const QDateTime now = QDateTime::currentDateTime();
  return now.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
         QStringLiteral("-%1-%2")
             .arg(QCoreApplication::applicationPid(), 7, 10, QLatin1Char('0'))
             .arg(++counter, 4, 10, QLatin1Char('0'));
}

// Runs fn; a run-time error comes out with the journal named in its description.
template <typename Fn>
void guarded(const QString& path, Fn fn) {
  try {
    fn();
  } catch (const rt::RuntimeError& error) {
    rt::raise(error.number(), error.source(),
              QStringLiteral("Le journal du renommage « %1 » n'a pas pu être écrit : %2")
                  .arg(path, rt::errorDescription(error.number())));
  }
}

QStringList journalPaths() {
  const QDir dir(journalFolder());
  QStringList paths;
  for (const QString& name : dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name | QDir::Reversed))
    paths.append(dir.filePath(name));
  return paths;
}

bool hasOutcome(const QString& path) {
  try {
    // The outcome line is followed only by the few lines of later undos: a short tail nearly
    // always holds it, and only a journal without it in there is read further back.
    if (rt::durable::readTail(path, 4 * 1024).contains("\nend\t")) return true;
    const QByteArray tail = rt::durable::readTail(path, 64 * 1024);
    return tail.contains("\nend\t");
  } catch (const rt::RuntimeError&) {
    return false;  // unreadable: recovery will say why
  }
}

void removeOldJournals(int keep) {
  const QDir dir(journalFolder());
  // A plan file left by a write that never completed: no file moved after it.
  for (const QFileInfo& part : dir.entryInfoList({QStringLiteral("*") + kSuffix + QStringLiteral(".part")}, QDir::Files))
    if (part.lastModified().secsTo(QDateTime::currentDateTime()) > 3600) rt::durable::removeFile(part.filePath());
  int kept = 0;
  for (const QString& path : journalPaths()) {
    if (!hasOutcome(path)) continue;
    if (++kept > keep) rt::durable::removeFile(path);
  }
}

}  // namespace

QString journalFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/Tindra/journal");
}

void readIdentities(std::vector<JournalFile>& files) {
  QHash<QString, std::vector<size_t>> byFolder;
  for (size_t i = 0; i < files.size(); ++i) byFolder[files[i].folder].push_back(i);
  for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
    QStringList names;
    for (size_t i : it.value()) names.append(files[i].oldName);
    const auto identities = rt::durable::identitiesOf(it.key(), names);
    for (size_t k = 0; k < it.value().size(); ++k) {
      if (identities[k]) files[it.value()[k]].identity = *identities[k];
    }
  }
}

void JournalWriter::begin(JournalRun& run) {
  run.id = newRunId();
  run.started = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
  const QString folder = journalFolder();
  path_ = folder + QLatin1Char('/') + run.id + kSuffix;
  guarded(path_, [&] {
    rt::durable::makeFolders(folder);
    rt::durable::createFile(path_, journalPlanText(run));
  });
}

void JournalWriter::appendLines(const QByteArray& lines) {
  guarded(path_, [&] { rt::durable::append(path_, lines); });
}

void JournalWriter::recordFinal(size_t index, const QString& name) { appendLines(journalFinalLine(index, name)); }

void JournalWriter::end(JournalOutcome outcome, const QStringList& left) { appendLines(journalEndText(outcome, left)); }

void JournalWriter::markUndone(const QString& undoRunId) { appendLines(journalUndoneLine(undoRunId)); }

StoredRun readStoredRun(const QString& path) {
  StoredRun stored{path, std::nullopt, QString()};
  const QFileInfo info(path);
  if (info.size() > kMaxJournalBytes) {
    stored.error = QStringLiteral("journal trop grand");
    return stored;
  }
  QByteArray bytes;
  try {
    bytes = rt::durable::readTail(path, kMaxJournalBytes);
  } catch (const rt::RuntimeError& error) {
    stored.error = QStringLiteral("lecture impossible : %1").arg(error.description());
    return stored;
  }
  stored.run = parseJournal(bytes, &stored.error);
  if (stored.run) stored.run->id = info.completeBaseName();
  return stored;
}

std::vector<StoredRun> storedRuns() {
  std::vector<StoredRun> runs;
  for (const QString& path : journalPaths()) runs.push_back(readStoredRun(path));
  return runs;
}

QStringList interruptedJournals() {
  QStringList paths;
  for (const QString& path : journalPaths())
    if (!hasOutcome(path)) paths.append(path);
  return paths;
}

QString pruneJournals(int keep) {
  try {
    removeOldJournals(keep);
  } catch (const rt::RuntimeError& error) {
    return QStringLiteral("un ancien journal n'a pas pu être supprimé : %1").arg(error.description());
  }
  return QString();
}
