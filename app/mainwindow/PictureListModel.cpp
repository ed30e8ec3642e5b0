#include "app/mainwindow/PictureListModel.h"

#include "app/common/ErrorNumbers.h"
#include "app/naming/ConfigClass.h"
#include "runtime/DateValue.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <exception>

namespace {

const QString kCaptions[PictureListModel::kColumnCount] = {
    QStringLiteral("Conv. | Nom fichier"), QStringLiteral("Chemin source"), QStringLiteral("GDH"),
    QStringLiteral("EXIF"),                QStringLiteral("Nom futur"),     QStringLiteral("Date retenue")};

bool isPlanColumn(int column) {
  return column == PictureListModel::kFutureName || column == PictureListModel::kDateUsed;
}

}  // namespace

QString FutureNameText(const RowPlan& plan) {
  switch (plan.outcome) {
    case RowPlan::Outcome::Rename: return plan.newName;
    case RowPlan::Outcome::KeepsName: return QStringLiteral("(inchangé)");
    case RowPlan::Outcome::Unchecked: return QStringLiteral("(non coché)");
    case RowPlan::Outcome::NotRenamed: return QStringLiteral("(non renommé)");
    case RowPlan::Outcome::AsksDate: return QStringLiteral("(date demandée)");
    case RowPlan::Outcome::Impossible: return QStringLiteral("(impossible : %1)").arg(plan.reason);
  }
  return QString();
}

QString MemberFutureNameText(const RowPlan& plan, size_t k, const QString& present) {
  const bool named = plan.outcome == RowPlan::Outcome::Rename || plan.outcome == RowPlan::Outcome::KeepsName;
  if (!named || k >= static_cast<size_t>(plan.memberNames.size())) return QString();
  const QString& name = plan.memberNames[static_cast<qsizetype>(k)];
  return name == present ? QStringLiteral("(inchangé)") : name;
}

QString DateUsedText(const DateChoice& date) {
  QString source;
  switch (date.source) {
    case DateSource::None: return QString();
    case DateSource::ExifCapture: source = QStringLiteral("(EXIF)"); break;
    case DateSource::ExifModif: source = QStringLiteral("(EXIF modif.)"); break;
    case DateSource::File: source = QStringLiteral("(fichier)"); break;
    case DateSource::Typed: source = QStringLiteral("(saisie)"); break;
  }
  return rt::generalDateText(date.date) + QLatin1Char(' ') + source;
}

PictureListModel::PictureListModel(QObject* parent) : QAbstractItemModel(parent) {}

QModelIndex PictureListModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return QModelIndex();
  return createIndex(row, column, parent.isValid() ? static_cast<quintptr>(parent.row()) + 1 : 0);
}

QModelIndex PictureListModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return QModelIndex();
  return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr(0));
}

int PictureListModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return shown_;
  const int row = topRow(parent);
  if (row < 0 || row >= shown_ || static_cast<size_t>(row) >= list_.size() || parent.column() != 0) return 0;
  return static_cast<int>(list_.rows()[static_cast<size_t>(row)].row.members.size());
}

int PictureListModel::columnCount(const QModelIndex&) const { return kColumnCount; }

const GroupMember* PictureListModel::memberAt(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == 0) return nullptr;
  const size_t row = static_cast<size_t>(index.internalId() - 1);
  if (row >= static_cast<size_t>(shown_) || row >= list_.size()) return nullptr;
  const std::vector<GroupMember>& members = list_.rows()[row].row.members;
  return index.row() >= 0 && static_cast<size_t>(index.row()) < members.size() ? &members[static_cast<size_t>(index.row())]
                                                                                : nullptr;
}

QVariant PictureListModel::memberData(const QModelIndex& index, int role) const {
  const GroupMember* member = memberAt(index);
  if (!member || role != Qt::DisplayRole) return QVariant();
  if (index.column() == kName) return member->name;
  if (index.column() != kFutureName || planHeld_) return QVariant();
  return MemberFutureNameText(plan()[static_cast<size_t>(index.internalId() - 1)], static_cast<size_t>(index.row()),
                              member->name);
}

QVariant PictureListModel::data(const QModelIndex& index, int role) const {
  if (index.isValid() && topRow(index) < 0) return memberData(index, role);
  if (!index.isValid() || index.row() >= shown_ || static_cast<size_t>(index.row()) >= list_.size()) return QVariant();
  const RenameRow& row = list_.rows()[static_cast<size_t>(index.row())].row;
  const int column = index.column();
  if (role == Qt::CheckStateRole && column == kName) return row.checked ? Qt::Checked : Qt::Unchecked;
  if (role == Qt::TextAlignmentRole && column == kExif) return int(Qt::AlignCenter);
  if (role != Qt::DisplayRole && !(role == Qt::ToolTipRole && isPlanColumn(column))) return QVariant();
  switch (column) {
    case kName: return row.text;
    case kFolder: return row.folder;
    case kDateKey: return row.dateKey;
    case kExif: return row.exifMark ? QStringLiteral("X") : QString();
    case kFutureName:
      if (planHeld_) return QVariant();
      return FutureNameText(plan()[static_cast<size_t>(index.row())]);
    case kDateUsed:
      if (planHeld_) return QVariant();
      return DateUsedText(plan()[static_cast<size_t>(index.row())].date);
    default: return QVariant();
  }
}

QVariant PictureListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return QVariant();
  if (role == Qt::DisplayRole) return kCaptions[section];
  if (role == Qt::TextAlignmentRole && section == kExif) return int(Qt::AlignCenter);
  return QVariant();
}

Qt::ItemFlags PictureListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // A member's row is shown only: keyboard, mouse and selection pass it by.
  if (topRow(index) < 0) return Qt::ItemNeverHasChildren;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kName) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool PictureListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || topRow(index) < 0 || index.row() >= shown_ || static_cast<size_t>(index.row()) >= list_.size() ||
      index.column() != kName || role != Qt::CheckStateRole)
    return false;
  setChecked({static_cast<size_t>(index.row())}, value.toInt() == Qt::Checked);
  return true;
}

QString PictureListModel::add(const QString& path) { return list_.add(path); }

void PictureListModel::attach() {
  const int count = static_cast<int>(list_.size());
  if (count <= shown_) return;
  beginInsertRows(QModelIndex(), shown_, count - 1);
  shown_ = count;
  endInsertRows();
  invalidatePlan();
}

void PictureListModel::setPlanHeld(bool held) {
  if (planHeld_ == held) return;
  planHeld_ = held;
  invalidatePlan();
}

void PictureListModel::sort() {
  attach();
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const std::vector<MemberAnchor> members = memberAnchors();
  QModelIndexList before;
  QStringList keys;
  for (const QModelIndex& index : persistentIndexList()) {
    if (topRow(index) < 0) continue;
    before.append(index);
    keys.append(list_.rows()[static_cast<size_t>(index.row())].row.key);
  }
  // Sorting forms or splits the groups of a shot's files (Companions): the rows may become
  // fewer or more. A file that joined a group is found at its group's row.
  list_.setCompanions(CurrentConfig().Companions());
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i) {
    const qsizetype row = keys[i].isEmpty() ? -1 : list_.indexOf(keys[i]);
    after.append(row < 0 ? QModelIndex() : index(static_cast<int>(row), before[i].column()));
  }
  for (const MemberAnchor& member : members) before.append(member.index);
  after += anchoredIndexes(members);
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  const int count = static_cast<int>(list_.size());
  if (count < shown_) {
    beginRemoveRows(QModelIndex(), count, shown_ - 1);
    shown_ = count;
    endRemoveRows();
  }
  attach();  // the rows a group split into
  invalidatePlan();
}

void PictureListModel::remove(std::vector<size_t> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  while (!rows.empty() && rows.back() >= static_cast<size_t>(shown_)) rows.pop_back();
  // Contiguous runs from the last, so that the view keeps the selection and current row of
  // the rows that stay.
  while (!rows.empty()) {
    size_t first = rows.size() - 1;
    while (first > 0 && rows[first - 1] + 1 == rows[first]) --first;
    std::vector<size_t> run(rows.begin() + static_cast<std::ptrdiff_t>(first), rows.end());
    const std::vector<MemberAnchor> members = memberAnchors();
    beginRemoveRows(QModelIndex(), static_cast<int>(run.front()), static_cast<int>(run.back()));
    list_.remove(run);
    shown_ -= static_cast<int>(run.size());
    endRemoveRows();
    // The members of the rows below moved up with them.
    QModelIndexList from;
    for (const MemberAnchor& member : members) from.append(member.index);
    changePersistentIndexList(from, anchoredIndexes(members));
    rows.resize(first);
  }
  invalidatePlan();
}

void PictureListModel::clear() {
  beginResetModel();
  list_.clear();
  shown_ = 0;
  endResetModel();
  invalidatePlan();
}

void PictureListModel::setChecked(const std::vector<size_t>& rows, bool checked) {
  if (rows.empty()) return;
  int first = shown_;
  int last = -1;
  for (size_t row : rows) {
    if (row >= static_cast<size_t>(shown_)) continue;
    list_.setChecked(row, checked);
    first = std::min(first, static_cast<int>(row));
    last = std::max(last, static_cast<int>(row));
  }
  if (last >= first) emit dataChanged(index(first, kName), index(last, kName), {Qt::CheckStateRole});
  invalidatePlan();
}

void PictureListModel::takeBack(const std::vector<RenameRow>& rows) {
  // A key is one file's path: two rows never hold the same one.
  QSet<QString> keys;
  keys.reserve(static_cast<qsizetype>(rows.size()));
  for (const RenameRow& row : rows) {
    if (row.key.isEmpty()) continue;
    if (keys.contains(row.key))
      rt::raise(errors::kKeyNotUnique, rt::defaultErrorSource(),
                QStringLiteral("Cette clé est déjà associée à un élément de cette collection"));
    keys.insert(row.key);
  }
  // A rename gives back the rows it was given, names changed: a group that gained or lost a
  // member nonetheless is shown anew.
  bool reshaped = false;
  for (size_t i = 0; i < rows.size() && i < list_.size(); ++i)
    reshaped = reshaped || rows[i].members.size() != list_.rows()[i].row.members.size();
  if (reshaped) emit layoutAboutToBeChanged();
  list_.takeBack(rows);
  if (reshaped) {
    for (const QModelIndex& index : persistentIndexList())
      if (topRow(index) < 0 && !memberAt(index)) changePersistentIndex(index, QModelIndex());
    emit layoutChanged();
  }
  if (shown_ > 0) emit dataChanged(index(0, 0), index(shown_ - 1, kColumnCount - 1));
  membersChanged(0, kColumnCount - 1);
  invalidatePlan();
}

void PictureListModel::followMoves(const std::vector<std::pair<QString, QString>>& moved) {
  std::vector<RenameRow> rows = list_.renameRows();
  // The other files of the rows' groups, by path.
  QHash<QString, GroupMember*> members;
  for (RenameRow& row : rows)
    for (GroupMember& member : row.members) members.insert(row.folder + QLatin1Char('/') + member.name, &member);
  for (const auto& [from, to] : moved) {
    const QString name = to.mid(to.lastIndexOf(QLatin1Char('/')) + 1);
    if (GroupMember* member = members.value(from, nullptr)) {
      member->name = name;
      continue;
    }
    const qsizetype i = list_.indexOf(from);
    if (i < 0) continue;
    RenameRow& row = rows[static_cast<size_t>(i)];
    row.key = to;
    row.text = name;
    row.checked = true;
  }
  takeBack(rows);
}

void PictureListModel::invalidatePlan() {
  planValid_ = false;
  if (shown_ > 0) emit dataChanged(index(0, kFutureName), index(shown_ - 1, kDateUsed), {Qt::DisplayRole});
  membersChanged(kFutureName, kFutureName);
  emit planInvalidated();
}

void PictureListModel::membersChanged(int first, int last) {
  const int rows = std::min(shown_, static_cast<int>(list_.size()));
  for (int row = 0; row < rows; ++row) {
    const int count = static_cast<int>(list_.rows()[static_cast<size_t>(row)].row.members.size());
    if (count == 0) continue;
    const QModelIndex group = index(row, 0);
    emit dataChanged(index(0, first, group), index(count - 1, last, group), {Qt::DisplayRole});
  }
}

std::vector<PictureListModel::MemberAnchor> PictureListModel::memberAnchors() const {
  std::vector<MemberAnchor> anchors;
  for (const QModelIndex& index : persistentIndexList()) {
    if (topRow(index) >= 0) continue;
    const GroupMember* member = memberAt(index);
    if (!member) {
      anchors.push_back({index, QString(), QString()});
      continue;
    }
    anchors.push_back({index, list_.rows()[static_cast<size_t>(index.internalId() - 1)].row.key, member->name});
  }
  return anchors;
}

QModelIndexList PictureListModel::anchoredIndexes(const std::vector<MemberAnchor>& anchors) const {
  QModelIndexList indexes;
  for (const MemberAnchor& anchor : anchors) {
    QModelIndex to;
    const qsizetype row = anchor.rowKey.isEmpty() ? -1 : list_.indexOf(anchor.rowKey);
    if (row >= 0 && row < shown_) {
      const std::vector<GroupMember>& members = list_.rows()[static_cast<size_t>(row)].row.members;
      for (size_t k = 0; k < members.size(); ++k)
        if (members[k].name == anchor.name)
          to = createIndex(static_cast<int>(k), anchor.index.column(), static_cast<quintptr>(row) + 1);
    }
    indexes.append(to);
  }
  return indexes;
}

const std::vector<RowPlan>& PictureListModel::plan() const {
  if (planValid_ && plan_.size() == list_.size()) return plan_;
  const ConfigClass& config = CurrentConfig();
  try {
    plan_ = list_.plan(config, RenameOffsets::fromConfig(config), rt::localFileSystem());
  } catch (const rt::RuntimeError& error) {
    // A folder that cannot be read: every row says so rather than showing a guess.
    plan_.assign(list_.size(), RowPlan{});
    for (size_t i = 0; i < plan_.size(); ++i) {
      if (!list_.rows()[i].row.checked) continue;
      plan_[i].outcome = RowPlan::Outcome::Impossible;
      plan_[i].reason = error.description();
    }
  }
  planValid_ = true;
  return plan_;
}
