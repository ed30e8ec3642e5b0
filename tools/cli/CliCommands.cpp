#include "tools/cli/CliCommands.h"

#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "app/naming/JournalStore.h"
#include "app/naming/PictureList.h"
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

#include <algorithm>
#include <optional>

namespace cli {
namespace {

int exitStatus() { return failed() ? 1 : 0; }

// Opens the file once and reads it. Says why on standard error when it may not be listed.
std::optional<JpegInfosClass> readFile(const QString& path) {
  QString refusal;
  std::optional<ListedPicture> read = ReadListableFile(path, refusal);
  if (read) return std::move(read->info);
  printError(refusal);
  markFailed();
  return std::nullopt;
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

// The list as the main window would hold it (a file reached by several paths is listed once,
// under the first), every row checked, and the path each row was given as, in list order.
struct Listed {
  PictureList list;
  QStringList given;
};

Listed buildList(const QStringList& files) {
  Listed listed;
  QHash<QString, QString> givenAs;
  for (const QString& given : files) {
    setCurrentFile(given);
    const size_t before = listed.list.size();
    if (const QString refusal = listed.list.add(given); !refusal.isEmpty()) {
      printError(refusal);
      markFailed();
    }
    if (listed.list.size() > before) givenAs.insert(listed.list.rows().back().row.key, given);
  }
  setCurrentFile(QString());
  listed.list.sort();
  for (const PictureRow& row : listed.list.rows()) listed.given.append(givenAs.value(row.row.key));
  return listed;
}

void reportFailure(const RenameFailure& failure) {
  markFailed();
  printError(RenameFailureReport(failure));
}

}  // namespace

int runInfo(const Options& options) {
  for (const QString& path : options.files) {
    setCurrentFile(path);
    const std::optional<JpegInfosClass> read = readFile(path);
    if (!read) continue;
    const JpegInfosClass& info = *read;
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
    const std::optional<JpegInfosClass> read = readFile(path);
    if (!read) continue;
    const JpegInfosClass& info = *read;
    printLine(tabbed({path, RowDateKey(info), FutureName(path, info)}));
  }
  setCurrentFile(QString());
  return exitStatus();
}

int runRename(const Options& options, bool simulate) {
  if (!applySettings(options)) return 2;
  const Listed listed = buildList(options.files);
  std::vector<RenameRow> rows = listed.list.renameRows();

  SimulatedFileSystem simulated(rt::localFileSystem());
  rt::FileSystem& fs = simulate ? static_cast<rt::FileSystem&>(simulated) : rt::localFileSystem();
  TerminalQuestions questions;
  RenameEngine engine(fs, CurrentConfig(), RenameOffsets::fromConfig(CurrentConfig()), questions);
  JournalWriter journal;
  if (!simulate) engine.setJournal(&journal);
  // Every picture was read while the list was built, a moment ago: the engine takes that
  // reading instead of opening each file again.
  engine.setPictureReader(listed.list.readings());
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
    for (size_t i = 0; i < rows.size(); ++i) printLine(tabbed({listed.given[static_cast<qsizetype>(i)], rows[i].text}));
    reportFailure(failure);
    return 1;
  }
  for (size_t i = 0; i < rows.size(); ++i) printLine(tabbed({listed.given[static_cast<qsizetype>(i)], rows[i].text}));
  return exitStatus();
}

}  // namespace cli
