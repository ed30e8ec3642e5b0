#include "app/naming/RenameEngine.h"

#include "app/naming/FutureName.h"
#include "app/naming/JournalStore.h"
#include "app/naming/NameComposition.h"
#include "app/naming/SimulatedFileSystem.h"
#include "app/picture/PictureInfos.h"

#include <QHash>
#include <QSet>

#include <limits>
#include <new>
#include <optional>

RenameOffsets RenameOffsets::fromConfig(const ConfigClass& config) {
  RenameOffsets offsets;
  if (config.OffsetApply() && config.DateReal() != config.DateExif()) {
    offsets.offset = config.DateReal() - config.DateExif();
    if (config.OffsetNoDate()) offsets.undatedOffset = offsets.offset;
  }
  return offsets;
}

RenameEngine::RenameEngine(rt::FileSystem& fs, const ConfigClass& config, RenameOffsets offsets,
                           RenameQuestions& questions)
    : fs_(fs), config_(config), offsets_(offsets), questions_(questions) {}

namespace {

enum class Place { Original, Temporary, Final };

// A file the operation moves, and where it stands.
struct Move {
  size_t row = 0;
  QString baseName;
  QString originalKey;
  QString originalText;
  Place place = Place::Original;
};

QString joinPath(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

// The exception in flight as a run-time error: itself, 7 for a lack of memory, 5 otherwise.
rt::RuntimeError currentError() {
  try {
    throw;
  } catch (const rt::RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return rt::RuntimeError(rt::ErrOutOfMemory);
  } catch (...) {
    return rt::RuntimeError(rt::ErrInvalidArgument);
  }
}

// One run of the operation over a list of rows.
class Run {
 public:
  Run(rt::FileSystem& fs, const ConfigClass& config, RenameOffsets offsets, RenameQuestions& questions,
      std::vector<RenameRow>& rows, JournalWriter* journal)
      : fs_(fs), config_(config), offsets_(offsets), questions_(questions), rows_(rows), journal_(journal) {}

  RenameSummary execute();

 private:
  // Reading
  void chooseNames();
  std::optional<QString> chooseBaseName(const RenameRow& row);
  std::optional<QString> undatedBaseName(const RenameRow& row);
  QString bodyFor(rt::DateValue date) const;

  // Moving
  void moveToTemporaryNames();
  void moveToTemporaryName(Move& move);
  void giveFinalNames();
  void giveFinalName(Move& move, QString& lastBase, int32_t& counter);
  bool taken(const QString& path) const;
  bool tryRename(RenameRow& row, const QString& folderName, const QString& name);

  // Afterwards
  QStringList restoreOriginalNames();
  bool restoreOne(Move& move, QList<Move*>& pending, QSet<Move*>& enlisted);
  void rebuildKeys();
  void progress(RenamePhase phase, int done) { questions_.progress(phase, done, total_); }

  // Journal
  void writeJournal();
  void endJournal(JournalOutcome outcome, const QStringList& left);

  rt::FileSystem& fs_;
  const ConfigClass& config_;
  RenameOffsets offsets_;
  RenameQuestions& questions_;
  std::vector<RenameRow>& rows_;

  std::vector<Move> moves_;
  QSet<QString> keys_;           // every row's current key
  QHash<QString, Move*> finals_;  // files of this run under their final names, by path
  int total_ = 0;
  RenameSummary summary_;
  QString failingFrom_;
  QString failingTo_;
  JournalWriter* journal_;
  std::vector<QString> plannedFinals_;  // by move, when journaled
};

RenameSummary Run::execute() {
  for (const RenameRow& row : rows_) keys_.insert(row.key);
  try {
    chooseNames();
    if (journal_ && !moves_.empty()) writeJournal();
  } catch (...) {
    throw RenameFailure(currentError(), failingFrom_, QString(), {});
  }
  try {
    moveToTemporaryNames();
    giveFinalNames();
  } catch (...) {
    const rt::RuntimeError error = currentError();
    const QStringList notRestored = restoreOriginalNames();
    rebuildKeys();
    endJournal(JournalOutcome::RolledBack, notRestored);
    throw RenameFailure(error, failingFrom_, failingTo_, notRestored);
  }
  rebuildKeys();
  endJournal(JournalOutcome::Complete, {});
  return summary_;
}

// ---- Reading ----

void Run::chooseNames() {
  std::vector<size_t> checked;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].checked) checked.push_back(i);
  total_ = static_cast<int>(checked.size());
  progress(RenamePhase::Reading, 0);
  int done = 0;
  for (size_t i : checked) {
    failingFrom_ = rows_[i].key;
    if (std::optional<QString> base = chooseBaseName(rows_[i])) {
      // A body holding "/" (or NUL) would move the file elsewhere: not a file name.
      if (base->contains(QLatin1Char('/')) || base->contains(QChar(0))) rt::raise(52);
      moves_.push_back(Move{i, *base, rows_[i].key, rows_[i].text, Place::Original});
    } else {
      ++summary_.skipped;
    }
    progress(RenamePhase::Reading, ++done);
  }
  failingFrom_.clear();
}

QString Run::bodyFor(rt::DateValue date) const { return config_.FormatName(rt::toDateKey(date)); }

std::optional<QString> Run::chooseBaseName(const RenameRow& row) {
  const JpegInfosClass info = PictureInfos(row.key);
  QString base;
  bool hasBase = true;
  if (info.CreateDate() > 0)
    base = bodyFor(info.CreateDate() + offsets_.offset);
  else if (info.ModifDate() > 0)
    base = bodyFor(info.ModifDate() + offsets_.offset);
  else if (row.exifMark && info.FileDate() > 0)
    base = bodyFor(info.FileDate() + offsets_.undatedOffset);  // its EXIF date became unreadable
  else
    hasBase = false;
  const bool undated = !row.exifMark || !hasBase || base.startsWith(QLatin1Char('*'));
  if (!undated) return base;
  return undatedBaseName(row);
}

std::optional<QString> Run::undatedBaseName(const RenameRow& row) {
  switch (config_.NotExif()) {
    case 0: {
      const std::optional<rt::DateValue> date = rt::fromDateKey(row.dateKey);
      if (!date) return std::nullopt;  // no date to name it after: it keeps its name
      return bodyFor(*date + offsets_.undatedOffset);
    }
    case 2: {
      const QString key = questions_.askDate(row.dateKey, row.text);
      if (!rt::fromDateKey(key)) return std::nullopt;
      return config_.FormatName(key);
    }
    default:  // 1, and codes no setting defines: the file keeps its name
      return std::nullopt;
  }
}

// ---- Moving ----

bool Run::taken(const QString& path) const { return keys_.contains(path) || fs_.exists(path); }

// Renames the row's file to folder/name unless that name is taken; false when it is (also
// when the entry appeared between the test and the rename).
bool Run::tryRename(RenameRow& row, const QString& folderName, const QString& name) {
  const QString target = joinPath(folderName, name);
  failingFrom_ = row.key;
  failingTo_ = target;
  if (taken(target)) return false;
  if (!fs_.renameNoReplace(row.key, target)) return false;
  failingFrom_.clear();
  failingTo_.clear();
  keys_.remove(row.key);
  keys_.insert(target);
  row.key = target;
  row.text = name;
  return true;
}

void Run::moveToTemporaryNames() {
  total_ = static_cast<int>(moves_.size());
  progress(RenamePhase::TemporaryNames, 0);
  int done = 0;
  for (Move& move : moves_) {
    moveToTemporaryName(move);
    progress(RenamePhase::TemporaryNames, ++done);
  }
}

void Run::moveToTemporaryName(Move& move) {
  RenameRow& row = rows_[move.row];
  QString name = kTemporaryPrefix + row.text;
  while (!tryRename(row, row.folder, name)) name = kTemporaryPrefix + name;
  move.place = Place::Temporary;
}

void Run::giveFinalNames() {
  progress(RenamePhase::FinalNames, 0);
  QString lastBase;
  int32_t counter = 0;
  int done = 0;
  for (Move& move : moves_) {
    giveFinalName(move, lastBase, counter);
    progress(RenamePhase::FinalNames, ++done);
  }
}

void Run::giveFinalName(Move& move, QString& lastBase, int32_t& counter) {
  RenameRow& row = rows_[move.row];
  if (move.baseName != lastBase) counter = config_.IsSuffix() ? config_.StartNum() : 1;
  lastBase = move.baseName;
  const QString extension = NewExtensionText(move.originalText, config_.Extension());
  const QString pattern = SuffixPattern(config_.Digits(), config_.SuffixType());
  bool suffixOn = config_.IsSuffix();
  for (;;) {
    const QString suffix = suffixOn ? FormatIndice(counter, pattern) : QString();
    if (tryRename(row, row.folder, move.baseName + suffix + extension)) break;
    if (!suffixOn) {
      suffixOn = true;
    } else {
      if (counter == std::numeric_limits<int32_t>::max()) rt::raise(rt::ErrOverflow);
      ++counter;
    }
  }
  const size_t index = static_cast<size_t>(&move - moves_.data());
  if (!plannedFinals_.empty() && row.text != plannedFinals_[index]) journal_->recordFinal(index, row.text);
  row.checked = false;
  move.place = Place::Final;
  finals_.insert(row.key, &move);
  ++summary_.renamed;
}

// ---- Journal ----

class SilentQuestions : public RenameQuestions {
 public:
  QString askDate(const QString&, const QString&) override { return QString(); }
  void progress(RenamePhase, int, int) override {}
};

// Works the moves out on a simulated copy of the folders (as the dry run does) and writes them
// with each file's identity before the first move.
void Run::writeJournal() {
  std::vector<RenameRow> rows = rows_;
  SimulatedFileSystem simulated(fs_);
  SilentQuestions silent;
  Run dry(simulated, config_, offsets_, silent, rows, nullptr);
  dry.moves_ = moves_;
  dry.keys_ = keys_;
  dry.moveToTemporaryNames();
  JournalRun run;
  for (const Move& move : dry.moves_) {
    const RenameRow& row = rows_[move.row];
    run.files.push_back(JournalFile{row.folder, row.text, rows[move.row].text, QString(), {}});
  }
  readIdentities(run.files);
  dry.giveFinalNames();
  for (size_t i = 0; i < dry.moves_.size(); ++i) {
    run.files[i].finalName = rows[dry.moves_[i].row].text;
    plannedFinals_.push_back(run.files[i].finalName);
  }
  failingFrom_ = QString();
  journal_->begin(run);
}

// The outcome; a journal left without one reads as interrupted, which recovery handles, so a
// failure here is only reported.
void Run::endJournal(JournalOutcome outcome, const QStringList& left) {
  if (plannedFinals_.empty()) return;
  try {
    journal_->end(outcome, left);
  } catch (const rt::RuntimeError& error) {
    summary_.journalProblem = error.description();
  }
}

// ---- Afterwards ----

// Gives every file still under a temporary name its old name back. When a file of this run
// took that name meanwhile, it goes back to its own old name first (such chains always end:
// old names are all different). Returns the paths of the files left under temporary names.
QStringList Run::restoreOriginalNames() {
  QList<Move*> pending;
  for (Move& move : moves_)
    if (move.place == Place::Temporary) pending.append(&move);
  QSet<Move*> enlisted(pending.begin(), pending.end());
  bool progressed = true;
  while (progressed && !pending.isEmpty()) {
    progressed = false;
    const QList<Move*> round = pending;
    for (Move* move : round) progressed |= restoreOne(*move, pending, enlisted);
  }
  QStringList left;
  for (const Move& move : moves_)
    if (move.place == Place::Temporary) left.append(rows_[move.row].key);
  return left;
}

// One attempt for one pending file; true when something changed: the file went back, the
// file of this run holding its old name was enlisted, or the file stays where it is (its old
// name is held by something else, or the rename failed).
bool Run::restoreOne(Move& move, QList<Move*>& pending, QSet<Move*>& enlisted) {
  RenameRow& row = rows_[move.row];
  try {
    if (fs_.renameNoReplace(row.key, move.originalKey)) {
      finals_.remove(row.key);
      keys_.remove(row.key);
      keys_.insert(move.originalKey);
      if (move.place == Place::Final) --summary_.renamed;
      row.key = move.originalKey;
      row.text = move.originalText;
      row.checked = true;
      move.place = Place::Original;
      pending.removeOne(&move);
      return true;
    }
    Move* holder = finals_.value(move.originalKey, nullptr);
    if (holder && !enlisted.contains(holder)) {
      enlisted.insert(holder);
      pending.append(holder);
      return true;
    }
    if (holder && pending.contains(holder)) return false;  // wait until the holder has moved
  } catch (...) {
    // Fall through: this file stays where it is; nothing is lost.
  }
  pending.removeOne(&move);
  return true;
}

void Run::rebuildKeys() {
  for (RenameRow& row : rows_) row.key.clear();
  for (RenameRow& row : rows_) row.key = joinPath(row.folder, row.text);
}

}  // namespace

RenameSummary RenameEngine::run(std::vector<RenameRow>& rows) {
  return Run(fs_, config_, offsets_, questions_, rows, journal_).execute();
}
