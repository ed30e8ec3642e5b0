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
// under the first; a shot's files in one group while Companions is on), every row checked,
// and the path each row was given as, in list order.
struct Listed {
  PictureList list;
  QStringList given;                // by row
  QHash<QString, QString> givenAs;  // by full path, every file added

  // How a file of row's group is shown: as it was given, else beside the row as given.
  QString shown(size_t row, const QString& name) const {
    const RenameRow& picture = list.rows()[row].row;
    const QString path = picture.folder + QLatin1Char('/') + name;
    if (givenAs.contains(path)) return givenAs.value(path);
    const QString& rowGiven = given[static_cast<qsizetype>(row)];
    return rowGiven.left(rowGiven.lastIndexOf(QLatin1Char('/')) + 1) + name;
  }
};

Listed buildList(const QStringList& files) {
  Listed listed;
  listed.list.setCompanions(CurrentConfig().Companions());
  // The pictures are read at once, then added one by one in their order.
  std::vector<PictureList::ReadPath> read = listed.list.read(files);
  listed.list.reserve(static_cast<size_t>(files.size()));
  for (qsizetype i = 0; i < files.size(); ++i) {
    const QString& given = files[i];
    setCurrentFile(given);
    const size_t before = listed.list.size();
    if (const QString refusal = listed.list.add(std::move(read[static_cast<size_t>(i)])); !refusal.isEmpty()) {
      printError(refusal);
      markFailed();
    }
    if (listed.list.size() > before) listed.givenAs.insert(listed.list.rows().back().row.key, given);
  }
  setCurrentFile(QString());
  listed.list.sort();
  for (const PictureRow& row : listed.list.rows()) listed.given.append(listed.givenAs.value(row.row.key));
  for (const QString& path : listed.list.unclaimed())
    printError(QStringLiteral("« %1 » laissé tel quel : ce fichier compagnon peut appartenir à une autre photo")
                   .arg(rt::displayPath(path)));
  return listed;
}

// A file as the list read it: its row and, for a file that joined that row's group, which
// member it is (-1 for the row's own file); nullopt when the list did not take it.
struct Found {
  const PictureRow* row = nullptr;
  const PictureRow* file = nullptr;
  const GroupMember* member = nullptr;
};

std::optional<Found> find(const PictureList& list, const QString& given) {
  const QString path = rt::absolutePath(given);
  const qsizetype index = list.indexOf(path);
  if (index < 0) return std::nullopt;
  const PictureRow& row = list.rows()[static_cast<size_t>(index)];
  if (row.row.key == path) return Found{&row, &row, nullptr};
  for (const GroupMember& member : row.row.members) {
    if (member.listed < 0) continue;
    const PictureRow& joined = row.joined[static_cast<size_t>(member.listed)];
    if (joined.row.key == path) return Found{&row, &joined, &member};
  }
  return std::nullopt;
}

// What info says of a file's group: the other files of its row, or the row it belongs to.
QString groupNote(const Found& found) {
  if (found.member) return QStringLiteral("même prise que « %1 »").arg(found.row->row.text);
  QStringList names;
  for (const GroupMember& member : found.row->row.members) names.append(member.name);
  return names.isEmpty() ? QString() : QStringLiteral("avec %1").arg(names.join(QStringLiteral(", ")));
}

QString joined(const QString& a, const QString& b) {
  return a.isEmpty() ? b : b.isEmpty() ? a : a + QStringLiteral(" ; ") + b;
}

// Each row's file as given and its name now, followed by each file of its group likewise.
void printMoves(const Listed& listed, const std::vector<RenameRow>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    printLine(tabbed({listed.given[static_cast<qsizetype>(i)], rows[i].text}));
    const std::vector<GroupMember>& before = listed.list.rows()[i].row.members;
    for (size_t m = 0; m < before.size() && m < rows[i].members.size(); ++m)
      printLine(tabbed({listed.shown(i, before[m].name), rows[i].members[m].name}));
  }
}

void reportFailure(const RenameFailure& failure) {
  markFailed();
  printError(RenameFailureReport(failure));
}

}  // namespace

int runInfo(const Options& options) {
  const Listed listed = buildList(options.files);
  for (const QString& path : options.files) {
    const std::optional<Found> found = find(listed.list, path);
    if (!found) continue;
    const JpegInfosClass& info = found->file->info;
    printLine(tabbed({path, dateField(info.CreateDate()), dateField(info.ModifDate()),
                      dateField(info.FileDate()), QString::number(info.ImgWidth()),
                      QString::number(info.ImgHeight()), QString::number(info.DataBits()),
                      QString::number(info.Layers()), joined(info.Message(), groupNote(*found))}));
  }
  return exitStatus();
}

// One line per file given, and one for each file of its group that was not given.
int runNames(const Options& options) {
  if (!applySettings(options)) return 2;
  const Listed listed = buildList(options.files);
  for (const QString& path : options.files) {
    const std::optional<Found> found = find(listed.list, path);
    if (!found) continue;
    const RenameRow& row = found->row->row;
    const QString future = FutureName(row.key, found->row->info, row.dateKey, row.exifMark);
    if (found->member) {
      printLine(tabbed({path, found->file->row.dateKey, FutureMemberName(future, row.text, *found->member)}));
      continue;
    }
    printLine(tabbed({path, row.dateKey, future}));
    const size_t index = static_cast<size_t>(listed.list.indexOf(row.key));
    for (const GroupMember& member : row.members)
      if (member.listed < 0) printLine(tabbed({listed.shown(index, member.name), QString(), FutureMemberName(future, row.text, member)}));
  }
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
  if (simulate) engine.setListedFolders(&simulated);
  else engine.setJournal(&journal);
  // Every picture was read while the list was built, a moment ago: the engine takes that
  // reading instead of opening each file again.
  engine.setPictureReader(listed.list.readings());
  try {
    const RenameSummary summary = simulate ? engine.plan(rows) : engine.run(rows);
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
    printMoves(listed, rows);
    reportFailure(failure);
    return 1;
  }
  printMoves(listed, rows);
  return exitStatus();
}

}  // namespace cli
