#include "app/naming/RenameEngine.h"

#include "app/common/ErrorNumbers.h"
#include "app/naming/BaseName.h"
#include "app/naming/CaseFolding.h"
#include "app/naming/FolderListings.h"
#include "app/naming/FutureName.h"
#include "app/naming/JournalStore.h"
#include "app/naming/NameIndex.h"
#include "app/naming/NameComposition.h"
#include "app/picture/PictureInfos.h"
#include "runtime/FileIdentity.h"
#include "runtime/PathCodec.h"
#include "runtime/SystemError.h"

#include <QHash>
#include <QSet>

#include <cerrno>
#include <limits>
#include <new>
#include <optional>

RenameOffsets RenameOffsets::fromConfig(const ConfigClass& config) {
  RenameOffsets offsets;
  if (config.OffsetApply() && config.DateReal() != config.DateExif()) {
    offsets.offset = DaysBetween(config.DateExif(), config.DateReal());
    if (config.OffsetNoDate()) offsets.undatedOffset = offsets.offset;
  }
  return offsets;
}

RenameEngine::RenameEngine(rt::FileSystem& fs, const ConfigClass& config, RenameOffsets offsets,
                           RenameQuestions& questions)
    : fs_(fs), config_(config), offsets_(offsets), questions_(questions) {}

namespace {

enum class Place { Original, Temporary, Final };

// A file the operation moves, and where it stands: a row's own file, or one of the other
// files of its group (member). The files of a group follow each other in the run's moves.
struct Move {
  size_t row = 0;
  QString baseName;
  QString originalKey;
  QString originalText;
  Place place = Place::Original;
  QString extension;  // of every final name: ".jpg", as the settings case it (a row's own file)
  int member = -1;    // index in the row's members; -1 for the row's own file
  size_t folder = 0;  // index of its folder's view
  qsizetype name = 0;  // the number of its present name in its folder's view
  bool named = false;  // it took a final name (its group may not have all of its names yet)
  bool listed = false;  // planning from listings: its folder's listing holds its old name as it is
};

// The texts one after the other, in one allocation.
QString concatenated(std::initializer_list<QStringView> parts) {
  qsizetype size = 0;
  for (QStringView part : parts) size += part.size();
  QString text(size, Qt::Uninitialized);
  QChar* out = text.data();
  for (QStringView part : parts) out = std::copy(part.begin(), part.end(), out);
  return text;
}

using rt::joinPath;

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

// How many entries of a folder (as listed, followed through the run's own moves) and how
// many files of the list bear one case-folded name: counts, since a folder that does not
// ignore case may hold "a.jpg" and "A.JPG" both.
struct NameUse {
  int entries = 0;
  int rows = 0;
};

// A folder as the run sees it: the names its entries and the list's files hold, ignoring case.
struct FolderView {
  QString path;  // as in the rows: "" for the root
  NameIndex names{NameIndex::Case::Ignored};
  std::vector<NameUse> uses;  // by name number
  qsizetype maxNameLength = 255;
  bool listed = false;

  // The number of name, given it when new.
  qsizetype numberOf(QStringView name) {
    const qsizetype number = names.insert(name);
    if (static_cast<size_t>(number) >= uses.size()) uses.resize(static_cast<size_t>(number) + 1);
    return number;
  }
  bool taken(qsizetype number) const {
    const NameUse& use = uses[static_cast<size_t>(number)];
    return use.entries > 0 || use.rows > 0;
  }
};

// The length of the name on disk, in bytes; a name of n UTF-16 units takes at most 3n.
bool longerThan(const QString& name, qsizetype limit) {
  return name.size() * 3 > limit && rt::encodePath(name).size() > limit;
}
qsizetype byteLength(const QString& name) { return rt::encodePath(name).size(); }

// Renames that succeed unless the name is the folder itself: in a planning run, the run's own
// view of the folders decides alone, as on disk while nothing else changes them.
class PlanningFileSystem : public rt::FileSystem {
 public:
  explicit PlanningFileSystem(const rt::FileSystem& real) : real_(real) {}
  bool exists(const QString& path) const override { return real_.exists(path); }
  bool renameNoReplace(const QString&, const QString& to) override {
    return !rt::namesFolderItself(QStringView(to).mid(to.lastIndexOf(QLatin1Char('/')) + 1));
  }
  bool renameInFolder(const QString&, QStringView, QStringView to) override { return !rt::namesFolderItself(to); }
  QStringList entryNames(const QString& folder) const override { return real_.entryNames(folder); }
  qsizetype maxNameLength(const QString& folder) const override { return real_.maxNameLength(folder); }

 private:
  const rt::FileSystem& real_;
};

// The final names files of one body took so far, each file on its own, as the choices that
// made them: a candidate one of them holds is known to be taken (the view says so) without
// being written and looked up again. Within a body every file tries the name the file before
// took, and the name without suffix when that is tried first.
struct BodyNames {
  QString extension;     // of the files counted: another extension makes other names
  bool plain = false;    // the name without suffix is held
  bool numbered = false;  // the name with suffix number counter is held
  int32_t counter = 0;
  bool holds(bool suffixOn, int32_t number, const QString& ending) const {
    if (ending != extension) return false;
    return suffixOn ? numbered && number == counter : plain;
  }
  void took(bool suffixOn, int32_t number, const QString& ending) {
    if (ending != extension) *this = BodyNames{ending};
    if (suffixOn) {
      numbered = true;
      counter = number;
    } else {
      plain = true;
    }
  }
};

// One run of the operation over a list of rows.
class Run {
 public:
  Run(rt::FileSystem& fs, const ConfigClass& config, RenameOffsets offsets, RenameQuestions& questions,
      const RenameEngine::PictureReader& reader, std::vector<RenameRow>& rows, JournalWriter* journal,
      const std::vector<ChosenDate>* dates = nullptr, bool planning = false, const ListedFolders* listed = nullptr)
      : fs_(fs), config_(config), offsets_(offsets), questions_(questions), reader_(reader), rows_(rows),
        journal_(journal), dates_(dates), planning_(planning), listed_(listed),
        suffixPattern_(SuffixPattern(config.Digits(), config.SuffixType())) {}

  RenameSummary execute();

 private:
  void indexFolders();

  // Reading
  void chooseNames();
  void chooseName(size_t i);
  std::optional<QString> chooseBaseName(size_t i);
  const QString& extensionOf(const QString& name);

  // Before moving
  void listFolders();
  void countListing(FolderView& view, size_t folder, const FolderListings::Listing& listing);
  bool present(const Move& move) const;
  void dropVanishedMembers();
  void leaveAloneNamesTooLong();
  std::optional<QString> nameTooLong(const Move& move);
  std::optional<QString> namesClash(size_t first, size_t end) const;
  QString finalName(const Move& move, bool suffixOn, int32_t counter) const;

  // Moving
  void moveToTemporaryNames();
  void moveToTemporaryName(Move& move);
  void giveFinalNames();
  void giveFinalNames(size_t first, size_t end, QString& lastBase, int32_t& counter);
  bool groupFree(size_t first, size_t end, bool suffixOn, int32_t counter) const;
  bool taken(const Move& move, QStringView name) const;
  bool tryRename(Move& move, QString& name);
  void moved(Move& move, QString text, qsizetype number);
  void moved(Move& move, const QString& text);

  // The present name and path of a move's file (the rows' keys follow only once the run
  // ends); the end of the group that starts at first.
  QString& textOf(const Move& move);
  const QString& textOf(const Move& move) const { return const_cast<Run*>(this)->textOf(move); }
  QString pathOf(const Move& move) const { return joinPath(rows_[move.row].folder, textOf(move)); }
  size_t groupEnd(size_t first) const;

  // Afterwards
  RenameFailure failure(const rt::RuntimeError& error, const QString& reason, QStringList notRestored) const;
  void gatherFinals();
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
  const RenameEngine::PictureReader& reader_;
  std::vector<RenameRow>& rows_;

  std::vector<Move> moves_;
  std::vector<FolderView> folders_;  // every folder of a row; listed when a file of it is to move
  std::vector<size_t> rowFolders_;   // by row, its folder's view
  std::vector<qsizetype> rowNames_;  // by row, the number of its name as the run found it
  QHash<QString, Move*> finals_;     // files of this run under their final names, by path (gathered when restoring)
  QHash<const Move*, QString> notRestoredWhy_;  // why each file left under a temporary name is there
  QStringList vanished_;
  int restored_ = 0;
  int total_ = 0;
  RenameSummary summary_;
  QString failingFrom_;
  QString failingToFolder_;  // the rename being made goes to failingToFolder_ + "/" + failingToName_
  QString failingToName_;
  JournalWriter* journal_;
  const std::vector<ChosenDate>* dates_;
  bool planning_;  // fs_ renames whatever the view allows: each file is looked for before it first moves
  const ListedFolders* listed_;  // when planning, the listings the folders are counted from (or none)
  std::vector<QString> plannedFinals_;  // by move, when journaled
  QString lastEnding_;     // the ending of the last name extensionOf worked out ("." onwards)
  QString lastExtension_;  // and its extension text
  bool extensionKnown_ = false;
  QString suffixPattern_;
  BodyNames bodyNames_;  // of the body the last group took its names under
};

QString& Run::textOf(const Move& move) {
  RenameRow& row = rows_[move.row];
  return move.member < 0 ? row.text : row.members[static_cast<size_t>(move.member)].name;
}

size_t Run::groupEnd(size_t first) const {
  size_t end = first + 1;
  while (end < moves_.size() && moves_[end].row == moves_[first].row) ++end;
  return end;
}

RenameSummary Run::execute() {
  indexFolders();
  rowNames_.reserve(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) {
    FolderView& view = folders_[rowFolders_[i]];
    rowNames_.push_back(view.numberOf(rows_[i].text));
    ++view.uses[static_cast<size_t>(rowNames_.back())].rows;
    for (const GroupMember& member : rows_[i].members) ++view.uses[static_cast<size_t>(view.numberOf(member.name))].rows;
  }
  try {
    chooseNames();
    listFolders();
    dropVanishedMembers();
    leaveAloneNamesTooLong();
    if (journal_ && !planning_ && !moves_.empty()) writeJournal();
  } catch (...) {
    throw failure(currentError(), rt::currentSystemReason(), {});
  }
  try {
    moveToTemporaryNames();
    giveFinalNames();
  } catch (...) {
    const rt::RuntimeError error = currentError();
    const QString reason = rt::currentSystemReason();
    const QStringList notRestored = restoreOriginalNames();
    rebuildKeys();
    endJournal(JournalOutcome::RolledBack, notRestored);
    throw failure(error, reason, notRestored);
  }
  if (!planning_) rebuildKeys();  // a plan is read for its names
  endJournal(JournalOutcome::Complete, {});
  return summary_;
}

// The view of every row's folder, rows of one folder sharing one.
void Run::indexFolders() {
  QHash<QString, size_t> byPath;
  rowFolders_.reserve(rows_.size());
  for (const RenameRow& row : rows_) {
    if (folders_.empty() || row.folder != folders_[rowFolders_.back()].path) {
      auto it = byPath.constFind(row.folder);
      if (it == byPath.cend()) {
        it = byPath.insert(row.folder, folders_.size());
        folders_.emplace_back().path = row.folder;
      }
      rowFolders_.push_back(*it);
    } else {
      rowFolders_.push_back(rowFolders_.back());
    }
  }
  std::vector<qsizetype> rowsIn(folders_.size(), 0);
  for (size_t folder : rowFolders_) ++rowsIn[folder];
  for (size_t f = 0; f < folders_.size(); ++f) {
    folders_[f].names.reserve(rowsIn[f]);
    folders_[f].uses.reserve(static_cast<size_t>(rowsIn[f]));
  }
}

RenameFailure Run::failure(const rt::RuntimeError& error, const QString& reason, QStringList notRestored) const {
  const QString to = failingToName_.isEmpty() ? QString() : joinPath(failingToFolder_, failingToName_);
  RenameFailure thrown(error, failingFrom_, to, notRestored);
  RenameFailure::Outcome outcome;
  outcome.reason = reason;
  outcome.restored = restored_;
  for (const Move& move : moves_) {
    if (move.place != Place::Temporary) continue;
    const QString held = QStringLiteral("nom d'origine « %1 » déjà pris").arg(move.originalText);
    outcome.notRestored.push_back(RenameNotice{pathOf(move), notRestoredWhy_.value(&move, held)});
  }
  outcome.vanished = vanished_;
  outcome.leftAlone = summary_.leftAlone;
  thrown.setOutcome(std::move(outcome));
  return thrown;
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
    try {
      chooseName(i);
    } catch (...) {
      failingFrom_ = rows_[i].key;  // the file whose name could not be chosen
      throw;
    }
    progress(RenamePhase::Reading, ++done);
  }
}

void Run::chooseName(size_t i) {
  std::optional<QString> base = chooseBaseName(i);
  if (!base) {
    ++summary_.skipped;
    return;
  }
  // A body holding "/" (or NUL) would move the file elsewhere: not a file name.
  if (base->contains(QLatin1Char('/')) || base->contains(QChar(0))) rt::raise(errors::kBadFileName);
  const RenameRow& row = rows_[i];
  moves_.push_back(Move{i, row.members.empty() ? std::move(*base) : *base, row.key, row.text, Place::Original,
                        extensionOf(row.text), -1, rowFolders_[i], rowNames_[i]});
  // The other files of the group follow it, under the same base name.
  for (size_t m = 0; m < row.members.size(); ++m) {
    const QString& name = row.members[m].name;
    moves_.push_back(Move{i, *base, joinPath(row.folder, name), name, Place::Original, QString(),
                          static_cast<int>(m), rowFolders_[i], folders_[rowFolders_[i]].numberOf(name)});
  }
}

// The extension text of a file's new names (NewExtensionText). The extension is read from the
// name's ending, from its last "." on, and the files of a list share a few endings: the text
// of the last ending is kept. Names no file system holds go the whole way.
const QString& Run::extensionOf(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const QStringView ending = dot < 0 ? QStringView() : QStringView(name).mid(dot);
  if (!extensionKnown_ || name.size() > 1024 || ending != lastEnding_) {
    lastExtension_ = NewExtensionText(name, config_.Extension());
    lastEnding_ = ending.toString();
    extensionKnown_ = true;
  }
  return lastExtension_;
}

// A symbolic link is never moved: renamed apart from its target, one of them would dangle.
std::optional<JpegInfosClass> readPicture(const RenameRow& row) {
  if (rt::files::examineEntry(row.key).kind == rt::files::EntryKind::SymbolicLink) return std::nullopt;
  return PictureInfos(row.key);
}

std::optional<QString> Run::chooseBaseName(size_t i) {
  const RenameRow& row = rows_[i];
  DateChoice date;
  if (dates_) {
    const ChosenDate& chosen = (*dates_)[i];
    if (chosen.error) std::rethrow_exception(chosen.error);
    date = chosen.choice;
  } else {
    const std::optional<JpegInfosClass> read = reader_ ? reader_(i) : readPicture(row);
    if (!read) return std::nullopt;
    date = ChooseDate(config_, offsets_, *read, row.dateKey, row.exifMark);
  }
  const BaseNameChoice& choice = date.name;
  if (choice.kind == BaseNameChoice::Kind::Body) return choice.body;
  if (choice.kind == BaseNameChoice::Kind::Keep) return std::nullopt;
  summary_.asked.push_back(i);
  const QString key = questions_.askDate(row.dateKey, row.text);
  if (!rt::fromDateKey(key)) return std::nullopt;
  return config_.FormatName(key);
}

// ---- Before moving ----

// Lists every folder of a file to rename, once, before anything moves.
void Run::listFolders() {
  // Room for the entries, and for the temporary and final names of the files to move.
  std::vector<qsizetype> movesIn(folders_.size(), 0);
  for (const Move& move : moves_) ++movesIn[move.folder];
  for (const Move& move : moves_) {
    FolderView& view = folders_[move.folder];
    if (view.listed) continue;
    failingFrom_ = rows_[move.row].key;
    const QString folder = view.path.isEmpty() ? QStringLiteral("/") : view.path;  // keys are folder + "/" + text
    std::shared_ptr<const FolderListings::Listing> listing;
    QStringList entries;
    if (planning_ && listed_) listing = listed_->listing(folder);
    else entries = fs_.entryNames(folder);
    const qsizetype room = view.names.size() + (listing ? listing->index.size() : entries.size()) + 2 * movesIn[move.folder];
    view.names.reserve(room);
    view.uses.reserve(static_cast<size_t>(room));
    if (listing) countListing(view, move.folder, *listing);
    for (const QString& name : entries) ++view.uses[static_cast<size_t>(view.numberOf(name))].entries;
    view.maxNameLength = fs_.maxNameLength(folder);
    view.listed = true;
  }
  failingFrom_.clear();
}

// The entries of the folder's listing, counted in its view: the files to move first, each
// looked up as it is in the listing's index (most entries are such files, and the lookup also
// tells whether the file is there), then the entries none of them matched, by name.
void Run::countListing(FolderView& view, size_t folder, const FolderListings::Listing& listing) {
  std::vector<uint8_t> matched(static_cast<size_t>(listing.index.size()), 0);
  for (Move& move : moves_) {
    if (move.folder != folder) continue;
    const qsizetype entry = listing.index.find(textOf(move));
    if (entry < 0 || matched[static_cast<size_t>(entry)]) continue;
    matched[static_cast<size_t>(entry)] = 1;
    ++view.uses[static_cast<size_t>(move.name)].entries;
    move.listed = true;
  }
  for (qsizetype entry = 0; entry < listing.index.size(); ++entry)
    if (!matched[static_cast<size_t>(entry)]) ++view.uses[static_cast<size_t>(view.numberOf(listing.index.name(entry)))].entries;
}

// A member of a group that is no longer in its folder (a sidecar deleted since the list was
// made) has nothing to move: the rest of its group goes on without it.
void Run::dropVanishedMembers() {
  std::erase_if(moves_, [this](const Move& move) {
    return move.member >= 0 && folders_[move.folder].uses[static_cast<size_t>(move.name)].entries == 0;
  });
}

QString Run::finalName(const Move& move, bool suffixOn, int32_t counter) const {
  if (move.member < 0) {
    IndiceText suffix;
    if (suffixOn) AppendIndice(suffix, counter, suffixPattern_);
    return concatenated({move.baseName, QStringView(suffix.constData(), suffix.size()), move.extension});
  }
  const QString body = suffixOn ? move.baseName + FormatIndice(counter, suffixPattern_) : move.baseName;
  const GroupMember& member = rows_[move.row].members[static_cast<size_t>(move.member)];
  return MemberNewName(GroupMember{move.originalText, member.extensions, member.listed}, body, config_.Extension());
}

// Why the move cannot be made in its folder, when its temporary name or its first final name
// is longer than the folder takes.
std::optional<QString> Run::nameTooLong(const Move& move) {
  const qsizetype limit = folders_[move.folder].maxNameLength;
  // Most names are far too short for a doubt: a suffix has at most 11 characters more than
  // its pattern, and a character at most 3 bytes.
  const qsizetype suffix = config_.IsSuffix() ? suffixPattern_.size() + 11 : 0;
  const qsizetype longest = move.member < 0 ? std::max(move.baseName.size() + suffix + move.extension.size(),
                                                        kTemporaryPrefix.size() + textOf(move).size())
                                            : -1;
  if (longest >= 0 && longest * 3 <= limit) return std::nullopt;
  const int32_t first = config_.IsSuffix() ? config_.StartNum() : 1;
  const std::pair<QString, QString> names[] = {
      {QStringLiteral("nouveau nom"), finalName(move, config_.IsSuffix(), first)},
      {QStringLiteral("nom provisoire"), kTemporaryPrefix + textOf(move)}};
  for (const auto& [what, name] : names) {
    if (!longerThan(name, limit)) continue;
    const qsizetype length = byteLength(name);
    return QStringLiteral("%1 « %2 » trop long pour le dossier (%3 octets, %4 au plus), fichier laissé tel quel")
        .arg(what, name)
        .arg(length)
        .arg(limit);
  }
  return std::nullopt;
}

// Two files of a group whose new names differ only in letter case would each find the
// other's name taken, for every number: the group is left alone.
std::optional<QString> Run::namesClash(size_t first, size_t end) const {
  QSet<QString> names;
  for (size_t i = first; i < end; ++i) {
    const QString name = finalName(moves_[i], config_.IsSuffix(), 1);
    if (names.contains(CaseFolded(name)))
      return QStringLiteral("deux fichiers du groupe recevraient le même nom « %1 », fichiers laissés tels quels")
          .arg(name);
    names.insert(CaseFolded(name));
  }
  return std::nullopt;
}

// A group is renamed whole or not at all: when one of its files cannot take its names, all
// of them stay.
void Run::leaveAloneNamesTooLong() {
  std::vector<bool> left(rows_.size(), false);  // by row: its group stays
  bool any = false;
  for (size_t first = 0; first < moves_.size();) {
    const size_t end = groupEnd(first);
    std::optional<QString> problem;
    for (size_t i = first; i < end && !problem; ++i) problem = nameTooLong(moves_[i]);
    if (!problem && end - first > 1) problem = namesClash(first, end);
    if (problem) {
      summary_.leftAlone.push_back(RenameNotice{rows_[moves_[first].row].key, *problem});
      ++summary_.skipped;
      left[moves_[first].row] = any = true;
    }
    first = end;
  }
  if (any) std::erase_if(moves_, [&](const Move& move) { return left[move.row]; });
}

// ---- Moving ----

bool Run::taken(const Move& move, QStringView name) const {
  const FolderView& view = folders_[move.folder];
  const qsizetype number = view.names.find(name);
  return number >= 0 && view.taken(number);
}

// The move's file now is named text (number in its folder's view): the folder's view and the
// list's names follow.
void Run::moved(Move& move, QString text, qsizetype number) {
  std::vector<NameUse>& uses = folders_[move.folder].uses;
  NameUse& left = uses[static_cast<size_t>(move.name)];
  left.entries = std::max(left.entries - 1, 0);
  left.rows = std::max(left.rows - 1, 0);
  NameUse& use = uses[static_cast<size_t>(number)];
  ++use.entries;
  ++use.rows;
  move.name = number;
  textOf(move) = std::move(text);
}

void Run::moved(Move& move, const QString& text) {
  moved(move, text, folders_[move.folder].numberOf(text));
}

// Renames the move's file to name in its folder unless that name is taken; false when it is
// (also when the entry appeared after the folder was listed: it counts as taken from then on).
// On success the row holds name, which is taken from the caller.
bool Run::tryRename(Move& move, QString& name) {
  const QString& folder = rows_[move.row].folder;
  try {
    FolderView& view = folders_[move.folder];
    const qsizetype number = view.numberOf(name);
    if (view.taken(number)) return false;
    // A candidate longer than the folder takes would fail on disk: say so in the system's words.
    if (longerThan(name, view.maxNameLength)) {
      throw rt::SystemError(ENAMETOOLONG);
    }
    // A file missing from its folder fails its first rename on disk.
    if (planning_ && move.place == Place::Original && !present(move)) rt::raise(rt::ErrFileNotFound);
    if (!fs_.renameInFolder(folder, textOf(move), name)) {
      ++view.uses[static_cast<size_t>(number)].entries;
      return false;
    }
    moved(move, std::move(name), number);
    return true;
  } catch (...) {
    // The rename being made, for the failure's report.
    failingFrom_ = pathOf(move);
    failingToFolder_ = folder;
    failingToName_ = name;
    throw;
  }
}

// Planning: whether the move's file is in its folder under its old name, as a rename on disk
// would find it.
bool Run::present(const Move& move) const { return listed_ ? move.listed : fs_.exists(move.originalKey); }

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
  QString name = concatenated({kTemporaryPrefix, textOf(move)});
  while (!tryRename(move, name)) name = concatenated({kTemporaryPrefix, name});
  move.place = Place::Temporary;
}

void Run::giveFinalNames() {
  progress(RenamePhase::FinalNames, 0);
  QString lastBase;
  int32_t counter = 0;
  for (size_t first = 0; first < moves_.size();) {
    const size_t end = groupEnd(first);
    giveFinalNames(first, end, lastBase, counter);
    progress(RenamePhase::FinalNames, static_cast<int>(end));
    first = end;
  }
}

// Whether every file of the group can take its candidate for this number.
bool Run::groupFree(size_t first, size_t end, bool suffixOn, int32_t counter) const {
  for (size_t i = first; i < end; ++i)
    if (taken(moves_[i], finalName(moves_[i], suffixOn, counter))) return false;
  return true;
}

// Gives the files of one group (a row and its members; a row alone is a group of one) their
// final names, all with the same number: a number whose names are not all free is skipped
// before any file moves. When an entry appears meanwhile, the files already moved go on with
// the next number. Until the whole group has its names, its files count as under temporary
// names: a failure puts them all back under their old names.
void Run::giveFinalNames(size_t first, size_t end, QString& lastBase, int32_t& counter) {
  if (moves_[first].baseName != lastBase) {
    counter = config_.IsSuffix() ? config_.StartNum() : 1;
    bodyNames_ = BodyNames{};
  }
  lastBase = moves_[first].baseName;
  bool suffixOn = config_.IsSuffix();
  const bool single = end - first == 1;
  for (;;) {
    bool done = single ? !bodyNames_.holds(suffixOn, counter, moves_[first].extension)
                       : groupFree(first, end, suffixOn, counter);
    for (size_t i = first; done && i < end; ++i) {
      Move& move = moves_[i];
      QString name = finalName(move, suffixOn, counter);
      if (!tryRename(move, name)) {
        done = false;
        break;
      }
      move.named = true;
    }
    if (done) break;
    if (!suffixOn) {
      suffixOn = true;
    } else {
      if (counter == std::numeric_limits<int32_t>::max()) rt::raise(rt::ErrOverflow);
      ++counter;
    }
  }
  for (size_t i = first; i < end; ++i) {
    Move& move = moves_[i];
    if (!plannedFinals_.empty() && textOf(move) != plannedFinals_[i]) journal_->recordFinal(i, textOf(move));
    move.place = Place::Final;
    ++summary_.renamed;
  }
  rows_[moves_[first].row].checked = false;
  if (single) bodyNames_.took(suffixOn, counter, moves_[first].extension);
  else bodyNames_ = BodyNames{};
}

// ---- Journal ----

// Works the final names out in memory, from the folders as listed (what the dry run shows),
// and writes the moves with each file's identity before the first move.
void Run::writeJournal() {
  std::vector<RenameRow> rows = rows_;
  PlanningFileSystem planning(fs_);
  SilentQuestions silent;
  Run dry(planning, config_, offsets_, silent, reader_, rows, nullptr);
  dry.moves_ = moves_;
  dry.folders_ = folders_;
  dry.rowFolders_ = rowFolders_;
  // Each file under its usual temporary name: where the run picks another (that name was
  // taken), recovery still finds the file by its identity.
  JournalRun run;
  for (Move& move : dry.moves_) {
    const QString temporary = kTemporaryPrefix + dry.textOf(move);
    run.files.push_back(JournalFile{rows[move.row].folder, dry.textOf(move), temporary, QString(), {}});
    dry.moved(move, temporary);
    move.place = Place::Temporary;
  }
  readIdentities(run.files);
  dry.giveFinalNames();
  for (size_t i = 0; i < dry.moves_.size(); ++i) {
    run.files[i].finalName = dry.textOf(dry.moves_[i]);
    plannedFinals_.push_back(run.files[i].finalName);
  }
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
// The files of this run under final names, by path: a file to put back may find one of them
// under its old name.
void Run::gatherFinals() {
  for (Move& move : moves_)
    if (move.named) finals_.insert(pathOf(move), &move);
}

QStringList Run::restoreOriginalNames() {
  gatherFinals();
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
    if (move.place == Place::Temporary) left.append(pathOf(move));
  return left;
}

// One attempt for one pending file; true when something changed: the file went back, the
// file of this run holding its old name was enlisted, or the file stays where it is (its old
// name is held by something else, the rename failed, or the file vanished), with the reason.
bool Run::restoreOne(Move& move, QList<Move*>& pending, QSet<Move*>& enlisted) {
  RenameRow& row = rows_[move.row];
  try {
    if (fs_.renameNoReplace(pathOf(move), move.originalKey)) {
      finals_.remove(pathOf(move));
      if (move.place == Place::Final) --summary_.renamed;
      moved(move, move.originalText);
      row.checked = true;
      move.place = Place::Original;
      notRestoredWhy_.remove(&move);
      ++restored_;
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
    const rt::RuntimeError error = currentError();
    if (error.number() == rt::ErrFileNotFound) {
      // Moved or deleted by another program: it is under no name this run knows. Its row
      // keeps its old name, like a file never moved.
      vanished_.append(move.originalKey);
      finals_.remove(pathOf(move));
      if (move.place == Place::Final) --summary_.renamed;
      move.place = Place::Original;
      row.checked = true;
      moved(move, move.originalText);
    } else {
      const QString reason = rt::currentSystemReason();
      notRestoredWhy_.insert(&move, reason.isEmpty() ? error.description() : reason);
    }
  }
  pending.removeOne(&move);
  return true;
}

// Whether path is folder + "/" + name.
bool joins(const QString& path, const QString& folder, const QString& name) {
  return path.size() == folder.size() + 1 + name.size() && path.at(folder.size()) == QLatin1Char('/') &&
         path.startsWith(folder) && path.endsWith(name);
}

void Run::rebuildKeys() {
  for (RenameRow& row : rows_)
    if (!joins(row.key, row.folder, row.text)) row.key = joinPath(row.folder, row.text);
}

}  // namespace

RenameSummary RenameEngine::run(std::vector<RenameRow>& rows) {
  return Run(fs_, config_, offsets_, questions_, reader_, rows, journal_, dates_).execute();
}

RenameSummary RenameEngine::plan(std::vector<RenameRow>& rows) {
  PlanningFileSystem planning(fs_);
  return Run(planning, config_, offsets_, questions_, reader_, rows, nullptr, dates_, true, listedFolders_).execute();
}
