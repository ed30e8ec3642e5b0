#include "tools/cli/CliCommands.h"

#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/JournalStore.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/RenameReport.h"
#include "app/naming/SettingsFile.h"
#include "app/naming/SimulatedFileSystem.h"
#include "app/picture/ListableFile.h"
#include "app/picture/PictureInfos.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"
#include "tools/cli/CliOutput.h"
#include "tools/cli/TerminalQuestions.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace cli {
namespace {

int exitStatus() { return failed() ? 1 : 0; }

// A file of the command line, read.
struct ReadFile {
  rt::files::FileIdentity identity;
  JpegInfosClass info;
};

// Opens the file once and reads it: status, head and information from one descriptor. Says
// why on standard error when it may not be listed: anything but a regular file is refused at
// once (a named pipe would block the reading; a symbolic link is never renamed).
std::optional<ReadFile> readFile(const QString& path) {
  rt::OpenFile file;
  try {
    file = rt::openFileForReading(path, true);
  } catch (const rt::RuntimeError&) {
    // Only now is the entry examined, to say what it is.
    const ListableFile listable = CheckListableFile(path);
    printError(listable.accepted ? QStringLiteral("impossible d'ouvrir « %1 »").arg(path)
                                 : ListRefusalMessage(path, listable));
    markFailed();
    return std::nullopt;
  }
  const rt::files::FileIdentity identity{file.device, file.inode};
  return ReadFile{identity, PictureInfos(file)};
}

// Loads the settings file and the clock correction into CurrentConfig(). False, with the
// reason on standard error, when they cannot be used.
bool applySettings(const Options& options) {
  ConfigClass& config = CurrentConfig();
  if (!options.configFile.isEmpty()) {
    const QFileInfo file(options.configFile);
    const QString problem = SettingsFileProblem(options.configFile);
    if (!problem.isEmpty()) {
      printError(QStringLiteral("fichier de paramètres refusé : « %1 » : %2").arg(options.configFile, problem));
      return false;
    }
    try {
      OpenSettingsFile(config, file.absoluteFilePath());
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

// A file of the list, the path it was given as and what it read.
struct Entry {
  QString given;
  RenameRow row;
  JpegInfosClass info;
};

// The working folder, asked once for the whole list.
QString absoluteIn(const QString& workingFolder, const QString& given) {
  return rt::absolutePath(given.startsWith(QLatin1Char('/')) ? given : workingFolder + QLatin1Char('/') + given);
}

// The list as the main window would hold it: one row per readable file (a file reached by
// several paths is listed once, under the first), checked, sorted on the date key; equal keys
// keep the order given.
std::vector<Entry> buildList(const QStringList& files) {
  std::vector<Entry> entries;
  entries.reserve(static_cast<size_t>(files.size()));
  QSet<rt::files::FileIdentity> listed;
  const QString workingFolder = rt::absolutePath(QStringLiteral("."));
  for (const QString& given : files) {
    setCurrentFile(given);
    std::optional<ReadFile> read = readFile(given);
    if (!read) continue;
    if (listed.contains(read->identity)) continue;
    listed.insert(read->identity);
    const QString key = absoluteIn(workingFolder, given);
    const JpegInfosClass& info = read->info;
    RenameRow row;
    row.key = key;
    row.folder = key.left(key.lastIndexOf(QLatin1Char('/')));
    row.text = key.mid(row.folder.size() + 1);
    row.dateKey = RowDateKey(info);
    row.exifMark = HasExifDate(info);
    row.checked = true;
    entries.push_back(Entry{given, row, info});
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
    const std::optional<ReadFile> read = readFile(path);
    if (!read) continue;
    const JpegInfosClass& info = read->info;
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
    const std::optional<ReadFile> read = readFile(path);
    if (!read) continue;
    const JpegInfosClass& info = read->info;
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
  // Every picture was read while the list was built, a moment ago: the engine takes that
  // reading instead of opening each file again.
  QHash<QString, const JpegInfosClass*> readInfos;
  readInfos.reserve(static_cast<qsizetype>(entries.size()));
  for (const Entry& entry : entries) readInfos.insert(entry.row.key, &entry.info);
  engine.setPictureReader([&readInfos](const RenameRow& row) -> std::optional<JpegInfosClass> {
    if (const JpegInfosClass* info = readInfos.value(row.key, nullptr)) return *info;
    return PictureInfos(row.key);
  });
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
