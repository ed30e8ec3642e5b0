#include "tools/cli/CliCommands.h"

#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/JournalStore.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/RenameReport.h"
#include "app/naming/SimulatedFileSystem.h"
#include "app/picture/PictureInfos.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"
#include "tools/cli/CliOutput.h"
#include "tools/cli/TerminalQuestions.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <unistd.h>

namespace cli {
namespace {

int exitStatus() { return failed() ? 1 : 0; }

// Whether the file can be read; says why on standard error when it cannot.
bool readable(const QString& path) {
  const rt::EntryKind kind = rt::entryKind(path);  // through the path codec: any name's bytes
  QString reason;
  if (kind == rt::EntryKind::Missing) {
    reason = QStringLiteral("fichier introuvable");
  } else if (kind == rt::EntryKind::Folder) {
    reason = QStringLiteral("c'est un dossier, pas un fichier");
  } else {
    try {
      ::close(rt::openForReading(path));
      return true;
    } catch (const rt::RuntimeError&) {
      reason = QStringLiteral("ouverture impossible");
    }
  }
  printError(QStringLiteral("impossible d'ouvrir « %1 » : %2").arg(path, reason));
  markFailed();
  return false;
}

// Loads the settings file and the clock correction into CurrentConfig(). False, with the
// reason on standard error, when they cannot be used.
bool applySettings(const Options& options) {
  ConfigClass& config = CurrentConfig();
  if (!options.configFile.isEmpty()) {
    const QFileInfo file(options.configFile);
    if (!file.exists() || file.isDir()) {
      printError(QStringLiteral("fichier de paramètres introuvable : « %1 »").arg(options.configFile));
      return false;
    }
    try {
      config.Load(file.absoluteFilePath());
    } catch (const rt::RuntimeError& error) {
      printError(QStringLiteral("fichier de paramètres incorrect : « %1 » : %2 (erreur %3)")
                     .arg(options.configFile, error.description())
                     .arg(error.number()));
      return false;
    }
  }
  if (options.correction) {
    config.SetOffsetApply(true);
    config.SetDateExif(options.cameraTime);
    config.SetDateReal(options.trueTime);
    config.SetOffsetNoDate(options.fileDates);
  }
  return true;
}

QString tabbed(const QStringList& fields) { return fields.join(QLatin1Char('\t')); }

// A file of the list and the path it was given as.
struct Entry {
  QString given;
  RenameRow row;
};

// The list as the main window would hold it: one row per readable file (the same file given
// twice is listed once), checked, sorted on the date key; equal keys keep the order given.
std::vector<Entry> buildList(const QStringList& files) {
  std::vector<Entry> entries;
  QSet<QString> keys;
  for (const QString& given : files) {
    setCurrentFile(given);
    if (!readable(given)) continue;
    const QString key = rt::absolutePath(given);
    if (keys.contains(key)) continue;
    keys.insert(key);
    const JpegInfosClass info = PictureInfos(key);
    RenameRow row;
    row.key = key;
    row.folder = key.left(key.lastIndexOf(QLatin1Char('/')));
    row.text = key.mid(row.folder.size() + 1);
    row.dateKey = RowDateKey(info);
    row.exifMark = HasExifDate(info);
    row.checked = true;
    entries.push_back(Entry{given, row});
  }
  setCurrentFile(QString());
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.row.dateKey < b.row.dateKey; });
  return entries;
}

void reportFailure(const RenameFailure& failure) {
  markFailed();
  printError(RenameFailureReport(failure));
}

}  // namespace

int runInfo(const Options& options) {
  for (const QString& path : options.files) {
    setCurrentFile(path);
    if (!readable(path)) continue;
    const JpegInfosClass info = PictureInfos(path);
    printLine(tabbed({path, dateField(info.CreateDate()), dateField(info.ModifDate()),
                      dateField(info.FileDate()), QString::number(info.ImgWidth()),
                      QString::number(info.ImgHeight()), QString::number(info.DataBits()),
                      QString::number(info.Layers()), info.Message()}));
  }
  setCurrentFile(QString());
  return exitStatus();
}

int runNames(const Options& options) {
  if (!applySettings(options)) return 2;
  for (const QString& path : options.files) {
    setCurrentFile(path);
    if (!readable(path)) continue;
    const JpegInfosClass info = PictureInfos(path);
    printLine(tabbed({path, RowDateKey(info), FutureName(path, info)}));
  }
  setCurrentFile(QString());
  return exitStatus();
}

int runRename(const Options& options, bool simulate) {
  if (!applySettings(options)) return 2;
  std::vector<Entry> entries = buildList(options.files);
  std::vector<RenameRow> rows;
  rows.reserve(entries.size());
  for (const Entry& entry : entries) rows.push_back(entry.row);

  SimulatedFileSystem simulated(rt::localFileSystem());
  rt::FileSystem& fs = simulate ? static_cast<rt::FileSystem&>(simulated) : rt::localFileSystem();
  TerminalQuestions questions;
  RenameEngine engine(fs, CurrentConfig(), RenameOffsets::fromConfig(CurrentConfig()), questions);
  JournalWriter journal;
  if (!simulate) engine.setJournal(&journal);
  try {
    const RenameSummary summary = engine.run(rows);
    if (!summary.leftAlone.empty()) {
      markFailed();
      printError(LeftAloneReport(summary.leftAlone));
    }
    if (!summary.journalProblem.isEmpty()) printError(summary.journalProblem);
    if (!simulate) {
      const QString pruneProblem = pruneJournals();
      if (!pruneProblem.isEmpty()) printError(pruneProblem);
    }
  } catch (const RenameFailure& failure) {
    for (size_t i = 0; i < rows.size(); ++i) printLine(tabbed({entries[i].given, rows[i].text}));
    reportFailure(failure);
    return 1;
  }
  for (size_t i = 0; i < rows.size(); ++i) printLine(tabbed({entries[i].given, rows[i].text}));
  return exitStatus();
}

}  // namespace cli
