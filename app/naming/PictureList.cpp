#include "app/naming/PictureList.h"

#include "app/common/ErrorHandling.h"
#include "app/common/Parallel.h"
#include "app/naming/FileGroups.h"
#include "app/naming/FutureName.h"
#include "app/naming/SimulatedFileSystem.h"
#include "app/picture/ListableFile.h"
#include "app/picture/PictureInfos.h"
#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// Whether a comes before b among pictures taken in the same second: their fractions of a
// second compared as fractions ("5" after "45").
bool earlierFraction(const QString& a, const QString& b) {
  const qsizetype width = std::max(a.size(), b.size());
  return a.leftJustified(width, QLatin1Char('0')) < b.leftJustified(width, QLatin1Char('0'));
}

// The date key as a number when it is "" or 14 digits (all but keys of years beyond 0-9999):
// "" as 0, a key as its value + 1. Compared as numbers they keep the order of the texts, at a
// fraction of the cost.
std::optional<uint64_t> keyNumber(const QString& key) {
  if (key.isEmpty()) return 0;
  if (key.size() != 14) return std::nullopt;
  uint64_t number = 0;
  for (const QChar c : key) {
    if (c.unicode() < u'0' || c.unicode() > u'9') return std::nullopt;
    number = number * 10 + (c.unicode() - u'0');
  }
  return number + 1;
}

// The list order of count rows whose date keys and fractions of a second key(i) and
// fraction(i) give (see ListOrder).
template <typename Key, typename Fraction>
std::vector<size_t> listOrder(size_t count, const Key& key, const Fraction& fraction) {
  std::vector<size_t> order(count);
  // The keys as numbers, each with its row: sorted on both, rows of one key keep their order.
  std::vector<std::pair<uint64_t, size_t>> numbered;
  numbered.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const std::optional<uint64_t> number = keyNumber(key(i));
    if (!number) break;
    numbered.emplace_back(*number, i);
  }
  const bool byNumber = numbered.size() == count;
  if (byNumber) {
    std::sort(numbered.begin(), numbered.end());
    for (size_t i = 0; i < count; ++i) order[i] = numbered[i].second;
  } else {
    for (size_t i = 0; i < count; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  }
  const auto sameKey = [&](size_t a, size_t b) {
    return byNumber ? numbered[a].first == numbered[b].first : key(order[a]) == key(order[b]);
  };
  // Within a run of equal keys, the rows with a fraction of a second take the places they
  // hold, in shooting order; the others stay where they are.
  std::vector<size_t> places;
  std::vector<size_t> timed;
  for (size_t start = 0; start < count;) {
    size_t end = start + 1;
    while (end < count && sameKey(end, start)) ++end;
    if (end - start > 1) {
      places.clear();
      for (size_t i = start; i < end; ++i)
        if (!fraction(order[i]).isEmpty()) places.push_back(i);
      if (places.size() > 1) {
        timed.clear();
        for (size_t i : places) timed.push_back(order[i]);
        std::stable_sort(timed.begin(), timed.end(),
                         [&](size_t a, size_t b) { return earlierFraction(fraction(a), fraction(b)); });
        for (size_t k = 0; k < places.size(); ++k) order[places[k]] = timed[k];
      }
    }
    start = end;
  }
  return order;
}

}  // namespace

std::vector<size_t> ListOrder(const QStringList& dateKeys, const QStringList& subSecs) {
  return listOrder(
      static_cast<size_t>(dateKeys.size()),
      [&](size_t i) -> const QString& { return dateKeys[static_cast<qsizetype>(i)]; },
      [&](size_t i) -> const QString& { return subSecs[static_cast<qsizetype>(i)]; });
}

namespace {

// Reads the file at path.path and makes its row, checked.
void readRow(PictureList::ReadPath& path) {
  path.read = true;
  std::optional<ListedPicture> read = ReadListableFile(path.path, path.refusal);
  if (!read) return;
  PictureRow& added = path.row.emplace();
  added.info = std::move(read->info);
  added.identity = read->identity;
  RenameRow& row = added.row;
  row.key = path.path;
  row.folder = row.key.left(row.key.lastIndexOf(QLatin1Char('/')));
  row.text = row.key.mid(row.folder.size() + 1);
  row.dateKey = RowDateKey(added.info);
  row.exifMark = HasExifDate(added.info);
  row.checked = true;
  // The date key is the shooting date's whenever there is one (RowDateKey).
  added.shotSecond = added.info.CreateDate() > 0 ? row.dateKey : QString();
}

}  // namespace

QString PictureList::add(const QString& given) {
  ReadPath path;
  path.path = rt::absolutePath(given);
  if (byPath_.contains(path.path)) return QString();
  readRow(path);
  return add(std::move(path));
}

// The folders of paths whose listings are not kept yet, each once ("/" for the root).
QStringList PictureList::foldersToList(const QStringList& paths) const {
  QStringList folders;
  QSet<QStringView> seen;
  QStringView last;
  for (const QString& path : paths) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringView part = slash < 0 ? QStringView(u".") : slash == 0 ? QStringView(u"/") : QStringView(path).left(slash);
    if (part == last) continue;
    last = part;
    if (seen.contains(part)) continue;
    seen.insert(part);
    const QString folder = rt::absolutePath(part.toString());
    if (!listings_.keeps(rt::localFileSystem(), folder)) folders.append(folder);
  }
  return folders;
}

std::vector<PictureList::ReadPath> PictureList::read(const QStringList& paths) const {
  std::vector<ReadPath> read(static_cast<size_t>(paths.size()));
  // Not ready: add() reads each file itself.
  const bool reading = PrepareConcurrentReading();
  // The listings the sort and the plan take next, read first, while the other threads start
  // on the files.
  const QStringList folders = foldersToList(paths);
  std::vector<std::optional<FolderListings::Ahead>> listed(static_cast<size_t>(folders.size()));
  // The jobs only look the list up: it does not change while they run.
  RunInParallel(listed.size() + read.size(), [&](size_t job) {
    if (job < listed.size()) {
      listed[job] = FolderListings::readAhead(rt::localFileSystem(), folders[static_cast<qsizetype>(job)]);
      return;
    }
    ReadPath& path = read[job - listed.size()];
    ErrorHandling::HeldReports held;
    try {
      path.path = rt::absolutePath(paths[static_cast<qsizetype>(job - listed.size())]);
      if (reading && !byPath_.contains(path.path)) readRow(path);
    } catch (...) {
      path.read = true;
      path.failure = std::current_exception();
    }
    path.reports = held.take();
  });
  for (std::optional<FolderListings::Ahead>& ahead : listed)
    if (ahead) listings_.keep(rt::localFileSystem(), std::move(*ahead));
  return read;
}

QString PictureList::add(ReadPath&& path) {
  if (byPath_.contains(path.path)) return QString();
  if (!path.read) readRow(path);
  ErrorHandling::Present(path.reports);
  if (path.failure) std::rethrow_exception(path.failure);
  if (!path.row) return path.refusal;
  const qsizetype files = files_.size();
  files_.insert(path.row->identity);
  if (files_.size() == files) return QString();  // listed under another path
  byPath_.emplace(std::move(path.path), static_cast<qsizetype>(rows_.size()));
  rows_.push_back(std::move(*path.row));
  return QString();
}

void PictureList::reserve(size_t more) {
  // A table rehashes whenever asked to reserve, even for no more room than it has.
  const qsizetype files = byPath_.size() + static_cast<qsizetype>(more);
  if (byPath_.capacity() < files) byPath_.reserve(files);
  if (files_.capacity() < files) files_.reserve(files);
  // Twice the rows at least, so that batch after batch does not move the rows each time.
  const size_t rows = rows_.size() + more;
  if (rows_.capacity() < rows) rows_.reserve(std::max(rows, 2 * rows_.capacity()));
}

namespace {

// The names in folder; none when it cannot be listed (the groups then hold listed files only).
// The listing is the one the next plan reads, while the folder stays as it is.
QStringList folderNames(FolderListings& listings, const QString& folder) {
  try {
    return listings.read(rt::localFileSystem(), folder.isEmpty() ? QStringLiteral("/") : folder)->names;
  } catch (const rt::RuntimeError&) {
    return {};
  }
}

// A member found in the folder moves only when it is a regular file: a folder or a symbolic
// link of that name stays (a link renamed apart from its target would dangle).
bool regularFile(const QString& path) {
  return rt::files::examineEntry(path).kind == rt::files::EntryKind::RegularFile;
}

}  // namespace

void PictureList::setCompanions(bool on) {
  companions_ = on;
  sort();
}

// Every added file on its own again, then, companions on, the groups of each folder.
bool PictureList::regroup() {
  bool grouped = false;
  for (PictureRow& picture : rows_) {
    picture.row.members.clear();
    grouped |= !picture.joined.empty();
  }
  if (grouped) {
    std::vector<PictureRow> files;
    files.reserve(rows_.size());
    for (PictureRow& picture : rows_) {
      std::vector<PictureRow> joined = std::move(picture.joined);
      picture.joined.clear();
      const bool checked = picture.row.checked;
      files.push_back(std::move(picture));
      for (PictureRow& member : joined) {
        member.row.checked = checked;
        files.push_back(std::move(member));
      }
    }
    rows_ = std::move(files);
  }
  unclaimed_.clear();
  if (!companions_) return grouped;
  // The files of each folder, folders in the order first met. Files of one folder mostly
  // follow each other: the last folder is tried before the table.
  struct FolderFiles {
    QString folder;
    std::vector<size_t> indices;
  };
  std::vector<FolderFiles> folders;
  QHash<QString, size_t> folderIndex;
  size_t current = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const QString& folder = rows_[i].row.folder;
    if (folders.empty() || folders[current].folder != folder) {
      const auto found = folderIndex.constFind(folder);
      if (found != folderIndex.cend()) {
        current = *found;
      } else {
        current = folders.size();
        folderIndex.insert(folder, current);
        folders.push_back(FolderFiles{folder, {}});
      }
    }
    folders[current].indices.push_back(i);
  }
  std::vector<bool> joinedAway(rows_.size(), false);
  bool joinedAny = false;
  for (const FolderFiles& files : folders) {
    const QString& folder = files.folder;
    const std::vector<size_t>& indices = files.indices;
    const QStringList names = folderNames(listings_, folder);
    // Each file a row of its own, as already: the files' names need not be copied for that.
    if (std::none_of(names.begin(), names.end(), MayJoinGroup) &&
        std::none_of(indices.begin(), indices.end(), [&](size_t i) { return MayJoinGroup(rows_[i].row.text); }))
      continue;
    std::vector<GroupedFile> listed;
    listed.reserve(indices.size());
    for (size_t i : indices) listed.push_back(GroupedFile{rows_[i].row.text, rows_[i].shotSecond});
    const FolderGroups groups = GroupFolder(names, listed);
    for (const FileGroup& group : groups.groups) {
      PictureRow& picture = rows_[indices[static_cast<size_t>(group.row)]];
      for (GroupMember member : group.members) {
        if (member.listed >= 0) {
          const size_t from = indices[static_cast<size_t>(member.listed)];
          member.listed = static_cast<qsizetype>(picture.joined.size());
          picture.joined.push_back(std::move(rows_[from]));
          joinedAway[from] = true;
          joinedAny = true;
        } else if (!regularFile(folder + QLatin1Char('/') + member.name)) {
          continue;
        }
        picture.row.members.push_back(member);
      }
    }
    for (const QString& name : groups.unclaimed) unclaimed_.append(folder + QLatin1Char('/') + name);
  }
  if (!joinedAny) return grouped;
  // The files that joined a group leave their places; the others close up in order.
  size_t kept = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (joinedAway[i]) continue;
    if (kept != i) rows_[kept] = std::move(rows_[i]);
    ++kept;
  }
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(kept), rows_.end());
  return true;
}

void PictureList::sort() {
  const bool regrouped = regroup();
  const std::vector<size_t> order = listOrder(
      rows_.size(), [&](size_t i) -> const QString& { return rows_[i].row.dateKey; },
      [&](size_t i) -> const QString& { return rows_[i].info.SubSecOriginal(); });
  // Row order[k] goes to place k, cycle by cycle: each row moves once, plus once per cycle.
  std::vector<bool> placed(rows_.size(), false);
  for (size_t start = 0; start < rows_.size(); ++start) {
    if (placed[start] || order[start] == start) continue;
    PictureRow first = std::move(rows_[start]);
    size_t place = start;
    while (order[place] != start) {
      rows_[place] = std::move(rows_[order[place]]);
      placed[place] = true;
      place = order[place];
    }
    rows_[place] = std::move(first);
    placed[place] = true;
  }
  if (regrouped) {
    renumber();
    return;
  }
  // Every file is in the row it was in, which only moved: the table follows the moves
  // without looking a path up.
  std::vector<qsizetype> placeOf(rows_.size());
  for (size_t k = 0; k < order.size(); ++k) placeOf[order[k]] = static_cast<qsizetype>(k);
  for (qsizetype& index : byPath_) index = placeOf[static_cast<size_t>(index)];
}

void PictureList::remove(const std::vector<size_t>& indices) {
  std::vector<bool> gone(rows_.size(), false);
  for (size_t i : indices)
    if (i < rows_.size()) gone[i] = true;
  std::vector<PictureRow> kept;
  kept.reserve(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i)
    if (!gone[i]) kept.push_back(std::move(rows_[i]));
  rows_ = std::move(kept);
  reindex();
}

void PictureList::clear() {
  rows_.clear();
  listings_.clear();
  reindex();
}

void PictureList::reindex() {
  byPath_.clear();
  files_.clear();
  for (size_t i = 0; i < rows_.size(); ++i) {
    byPath_.insert(rows_[i].row.key, static_cast<qsizetype>(i));
    files_.insert(rows_[i].identity);
    for (const PictureRow& member : rows_[i].joined) {
      byPath_.insert(member.row.key, static_cast<qsizetype>(i));
      files_.insert(member.identity);
    }
  }
}

void PictureList::renumber() {
  for (size_t i = 0; i < rows_.size(); ++i) {
    byPath_[rows_[i].row.key] = static_cast<qsizetype>(i);
    for (const PictureRow& member : rows_[i].joined) byPath_[member.row.key] = static_cast<qsizetype>(i);
  }
}

std::vector<RenameRow> PictureList::renameRows() const {
  std::vector<RenameRow> rows;
  rows.reserve(rows_.size());
  for (const PictureRow& picture : rows_) rows.push_back(picture.row);
  return rows;
}

void PictureList::takeBack(const std::vector<RenameRow>& renamed) {
  for (size_t i = 0; i < rows_.size() && i < renamed.size(); ++i) {
    PictureRow& picture = rows_[i];
    picture.row = renamed[i];
    // The added files of the group follow their members' new names.
    for (const GroupMember& member : picture.row.members) {
      if (member.listed < 0 || static_cast<size_t>(member.listed) >= picture.joined.size()) continue;
      RenameRow& joined = picture.joined[static_cast<size_t>(member.listed)].row;
      joined.text = member.name;
      joined.key = joined.folder + QLatin1Char('/') + member.name;
      joined.checked = picture.row.checked;
    }
  }
  reindex();
}

RenameEngine::PictureReader PictureList::readings() const {
  return [this](size_t i) -> std::optional<JpegInfosClass> { return rows_[i].info; };
}

std::vector<RowPlan> PictureList::plan(const ConfigClass& config, const RenameOffsets& offsets,
                                       const rt::FileSystem& fs) const {
  std::vector<RowPlan> plans(rows_.size());
  std::vector<RenameRow> rows = renameRows();
  // Each row's date does not depend on the others: they are chosen on several threads first.
  std::vector<ChosenDate> dates(rows_.size());
  RunInParallel(rows_.size(), [&](size_t i) {
    const PictureRow& picture = rows_[i];
    if (!picture.row.checked) return;
    try {
      dates[i].choice = ChooseDate(config, offsets, picture.info, picture.row.dateKey, picture.row.exifMark);
    } catch (...) {
      dates[i].error = std::current_exception();
    }
  });
  SimulatedFileSystem simulated(fs, &listings_);
  SilentQuestions questions;
  RenameEngine engine(simulated, config, offsets, questions);
  engine.setChosenDates(&dates);
  engine.setListedFolders(&simulated);
  RenameSummary summary;
  QString failure;
  try {
    summary = engine.plan(rows);
  } catch (const RenameFailure& error) {
    failure = error.description();
  }
  QHash<QString, QString> leftAlone;
  for (const RenameNotice& notice : summary.leftAlone) leftAlone.insert(notice.path, notice.reason);
  QSet<size_t> asked(summary.asked.begin(), summary.asked.end());
  for (size_t i = 0; i < rows_.size(); ++i) {
    const RenameRow& before = rows_[i].row;
    RowPlan& plan = plans[i];
    if (!before.checked) continue;  // Unchecked
    if (dates[i].error) {
      try {
        std::rethrow_exception(dates[i].error);
      } catch (const rt::RuntimeError& error) {
        plan.outcome = RowPlan::Outcome::Impossible;
        plan.reason = error.description();
        continue;
      }
    }
    plan.date = std::move(dates[i].choice);
    if (plan.date.name.kind != BaseNameChoice::Kind::Body) plan.date = DateChoice{};
    if (!failure.isEmpty()) {
      plan.outcome = RowPlan::Outcome::Impossible;
      plan.reason = failure;
    } else if (asked.contains(i)) {
      plan.outcome = RowPlan::Outcome::AsksDate;
    } else if (leftAlone.contains(before.key)) {
      plan.outcome = RowPlan::Outcome::Impossible;
      plan.reason = leftAlone.value(before.key);
    } else if (rows[i].checked) {
      plan.outcome = RowPlan::Outcome::NotRenamed;  // the run left it checked: it was not moved
      plan.date = DateChoice{};
    } else {
      plan.newName = std::move(rows[i].text);
      for (GroupMember& member : rows[i].members) plan.memberNames.append(std::move(member.name));
      plan.outcome = plan.newName == before.text ? RowPlan::Outcome::KeepsName : RowPlan::Outcome::Rename;
    }
  }
  return plans;
}
