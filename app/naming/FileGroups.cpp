#include "app/naming/FileGroups.h"

#include "app/naming/CaseFolding.h"
#include "app/naming/NameComposition.h"
#include "app/picture/FileKinds.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// The last `count` extensions of name with their dots ("IMG_1.CR2.xmp", 2 -> ".CR2.xmp").
QString tailOf(const QString& name, int count) {
  qsizetype dot = name.size();
  for (int i = 0; i < count; ++i) {
    const qsizetype before = dot > 0 ? name.lastIndexOf(QLatin1Char('.'), dot - 1) : -1;
    if (before < 0) break;
    dot = before;
  }
  return name.mid(dot);
}

// One folder being grouped.
class Grouping {
 public:
  Grouping(const QStringList& listing, const std::vector<GroupedFile>& listed);
  FolderGroups result();

 private:
  void indexEntries(const QStringList& listing);
  void pairPictures();
  void attachCompanions();
  void attach(const QString& name, int extensions, qsizetype row);
  void dropCaseTwins();
  qsizetype rowOfOwner(const QString& name) const;

  const std::vector<GroupedFile>& listed_;
  QHash<QString, qsizetype> listedIndex_;     // listed name -> its index
  QHash<QString, QStringList> ownersByBase_;  // folded base name -> owners
  QStringList owners_;                        // in the order met
  QHash<QString, QStringList> ownersByName_;  // folded name -> owners (made when companions need it)
  QStringList companions_;
  std::vector<qsizetype> rowOf_;              // by listed file: the row of its group, -1 none yet
  QHash<QString, qsizetype> unlistedRowOf_;   // unlisted member (a live photo's movie) -> its row
  std::vector<std::vector<GroupMember>> members_;  // by row
  QStringList unclaimed_;
};

Grouping::Grouping(const QStringList& listing, const std::vector<GroupedFile>& listed)
    : listed_(listed), rowOf_(listed.size(), -1), members_(listed.size()) {
  for (size_t i = 0; i < listed.size(); ++i) listedIndex_.insert(listed[i].name, static_cast<qsizetype>(i));
  indexEntries(listing);
}

void Grouping::indexEntries(const QStringList& listing) {
  QStringList names = listing;
  const QSet<QString> present(listing.begin(), listing.end());
  for (const GroupedFile& file : listed_)
    if (!present.contains(file.name)) names.append(file.name);
  for (const QString& name : names) {
    const QString ext = FileKinds::ExtensionOf(name);
    if (FileKinds::IsCompanion(ext)) {
      companions_.append(name);
      continue;
    }
    const qsizetype index = listedIndex_.value(name, -1);
    if (index >= 0) rowOf_[static_cast<size_t>(index)] = index;
    if (index < 0 && !FileKinds::IsListable(ext)) continue;
    ownersByBase_[CaseFolded(FileKinds::BaseOf(name))].append(name);
    owners_.append(name);
  }
}

// Raw + JPEG/HEIC of one second, and a live photo's movie, base name by base name.
void Grouping::pairPictures() {
  for (auto it = ownersByBase_.cbegin(); it != ownersByBase_.cend(); ++it) {
    // A lone owner pairs with nothing (a raw, a viewable and a movie never share an extension).
    if (it.value().size() < 2) continue;
    QStringList raws, viewables, movies;
    for (const QString& name : it.value()) {
      const QString ext = FileKinds::ExtensionOf(name);
      if (FileKinds::IsRaw(ext)) raws.append(name);
      if (FileKinds::IsViewable(ext)) viewables.append(name);
      if (FileKinds::IsLiveMovie(ext)) movies.append(name);
    }
    if (viewables.size() != 1) continue;
    const qsizetype row = listedIndex_.value(viewables.first(), -1);
    if (row < 0) continue;
    const QString& second = listed_[static_cast<size_t>(row)].captureSecond;
    if (raws.size() == 1) {
      const qsizetype raw = listedIndex_.value(raws.first(), -1);
      if (raw >= 0 && !second.isEmpty() && listed_[static_cast<size_t>(raw)].captureSecond == second)
        attach(raws.first(), 1, row);
    }
    if (movies.size() == 1) attach(movies.first(), 1, row);
  }
}

void Grouping::attach(const QString& name, int extensions, qsizetype row) {
  const qsizetype index = listedIndex_.value(name, -1);
  if (index >= 0)
    rowOf_[static_cast<size_t>(index)] = row;
  else
    unlistedRowOf_.insert(name, row);
  members_[static_cast<size_t>(row)].push_back(GroupMember{name, extensions, index});
}

// The row of the group an owner is in; -1 when it is in none (not listed).
qsizetype Grouping::rowOfOwner(const QString& name) const {
  const qsizetype index = listedIndex_.value(name, -1);
  return index >= 0 ? rowOf_[static_cast<size_t>(index)] : unlistedRowOf_.value(name, -1);
}

void Grouping::attachCompanions() {
  if (companions_.isEmpty()) return;
  for (const QString& owner : owners_) ownersByName_[CaseFolded(owner)].append(owner);
  for (const QString& companion : companions_) {
    const QString base = CaseFolded(FileKinds::BaseOf(companion));
    const QStringList byBase = ownersByBase_.value(base);
    const QStringList owners = byBase + ownersByName_.value(base);
    if (owners.isEmpty()) continue;
    qsizetype row = rowOfOwner(owners.first());
    bool oneGroup = true;
    bool ownedByListed = false;
    for (const QString& owner : owners) {
      const qsizetype ownerRow = rowOfOwner(owner);
      ownedByListed |= ownerRow >= 0;
      oneGroup &= ownerRow == row;
    }
    if (oneGroup && row >= 0)
      attach(companion, byBase.isEmpty() ? 2 : 1, row);
    else if (ownedByListed)
      unclaimed_.append(companion);
  }
}

// Members whose new names would differ only in letter case from another file of the group
// would make every number of the group look taken: they stay where they are.
void Grouping::dropCaseTwins() {
  for (size_t row = 0; row < members_.size(); ++row) {
    std::vector<GroupMember>& members = members_[row];
    if (members.empty()) continue;
    QHash<QString, int> tails;
    ++tails[CaseFolded(tailOf(listed_[row].name, 1))];
    for (const GroupMember& member : members) ++tails[CaseFolded(tailOf(member.name, member.extensions))];
    std::vector<GroupMember> kept;
    for (const GroupMember& member : members) {
      if (tails.value(CaseFolded(tailOf(member.name, member.extensions))) == 1) {
        kept.push_back(member);
        continue;
      }
      unclaimed_.append(member.name);
      if (member.listed >= 0) rowOf_[static_cast<size_t>(member.listed)] = member.listed;
    }
    members = std::move(kept);
  }
}

FolderGroups Grouping::result() {
  pairPictures();
  attachCompanions();
  dropCaseTwins();
  FolderGroups groups;
  for (size_t i = 0; i < listed_.size(); ++i) {
    const qsizetype row = rowOf_[i];
    if (row >= 0 && row != static_cast<qsizetype>(i)) continue;  // in another file's group
    FileGroup group{static_cast<qsizetype>(i), std::move(members_[i])};
    std::sort(group.members.begin(), group.members.end(),
              [](const GroupMember& a, const GroupMember& b) { return a.name < b.name; });
    groups.groups.push_back(std::move(group));
  }
  unclaimed_.sort();
  groups.unclaimed = unclaimed_;
  return groups;
}

}  // namespace

bool MayJoinGroup(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  const QStringView ext = QStringView(name).mid(dot + 1);
  return FileKinds::IsRaw(ext) || FileKinds::IsLiveMovie(ext) || FileKinds::IsCompanion(ext);
}

FolderGroups GroupFolder(const QStringList& listing, const std::vector<GroupedFile>& listed) {
  const bool alone = std::none_of(listing.begin(), listing.end(), MayJoinGroup) &&
                     std::none_of(listed.begin(), listed.end(), [](const GroupedFile& file) { return MayJoinGroup(file.name); });
  if (!alone) return Grouping(listing, listed).result();
  FolderGroups groups;
  groups.groups.reserve(listed.size());
  for (size_t i = 0; i < listed.size(); ++i) groups.groups.push_back(FileGroup{static_cast<qsizetype>(i), {}});
  return groups;
}

QString MemberNewName(const GroupMember& member, const QString& newBase, uint8_t extension) {
  QString name = newBase;
  const QStringList pieces = tailOf(member.name, member.extensions).split(QLatin1Char('.'), Qt::SkipEmptyParts);
  for (const QString& piece : pieces) name += ExtensionText(piece, extension);
  return name;
}
