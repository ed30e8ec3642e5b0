#pragma once
// The item model the file list shows over the window's PictureList (held here, so that it
// lives as long as the views of it): one top-level row per picture in list order, and under
// a group's row one child row per other file of the group (RenameRow::members, in their
// order). It keeps no data of its own beyond the plan of the rows, which it computes from the
// list, the current settings and the clock correction (PictureList::plan) the first time a
// plan column is read after a change.
//
// Columns: name (with the check box), folder, date key, EXIF mark ("X"), the future name
// ("Nom futur") and the date the name is made from with its source ("Date retenue").
// A member's row shows its name and its future name only: it has no check box and can be
// neither selected nor made current, as every command acts on whole groups (its group's row).
// Rows are addressed by their place in the list: the int and size_t rows of the methods below
// are top-level rows.

#include "app/naming/PictureList.h"

#include <QAbstractItemModel>

#include <utility>
#include <vector>

class PictureListModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Column { kName = 0, kFolder, kDateKey, kExif, kFutureName, kDateUsed, kColumnCount };

  explicit PictureListModel(QObject* parent = nullptr);

  const PictureList& list() const { return list_; }

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Adds the file at path to the list (PictureList::add: "" or the refusal). The rows added
  // are shown by the next attach(): inserting thousands of rows one by one into a shown view
  // costs more than reading their pictures. Until then the plan columns stay blank.
  QString add(const QString& path);
  // The same for many paths: read() them at once, then add() each (PictureList::read).
  std::vector<PictureList::ReadPath> read(const QStringList& paths) const { return list_.read(paths); }
  QString add(PictureList::ReadPath&& path) { return list_.add(std::move(path)); }
  void reserve(size_t more) { list_.reserve(more); }
  void attach();
  // While held (a long addition runs) the plan columns stay blank and the plan is not computed.
  void setPlanHeld(bool held);
  // Sorts the list (PictureList::sort) with its groups as the Companions setting says now;
  // selection and current row follow their pictures (a file that joined a group, its group).
  void sort();
  void remove(std::vector<size_t> rows);
  void clear();
  void setChecked(const std::vector<size_t>& rows, bool checked);
  // The rows after a rename or a journal run: names, paths and check boxes (PictureList::takeBack).
  // Raises run-time error 457, changing nothing, when two rows would hold the same path.
  void takeBack(const std::vector<RenameRow>& rows);
  // The rows whose files moved (from, to) take their new paths and names, and are checked;
  // a file of a row's group (PictureRow members) takes its new name in the group.
  void followMoves(const std::vector<std::pair<QString, QString>>& moved);

  // The plan is recomputed when next read: the settings or the correction changed, or the
  // folders did.
  void invalidatePlan();
  // The plan of every row under CurrentConfig(), computed now if out of date.
  const std::vector<RowPlan>& plan() const;

 signals:
  // The rows, their check boxes or the settings changed: the plan columns are out of date.
  void planInvalidated();

 private:
  // A row's index for a top-level index, -1 for a member's; members' internal ids are their
  // row's index + 1.
  static int topRow(const QModelIndex& index) { return index.internalId() == 0 ? index.row() : -1; }
  // The member shown at index, nullptr when index is no member of a shown row.
  const GroupMember* memberAt(const QModelIndex& index) const;
  QVariant memberData(const QModelIndex& index, int role) const;
  // dataChanged for the members' rows of every shown group, columns first..last.
  void membersChanged(int first, int last);
  // Where the persistent indexes of members (a view's hover, pressed item...) go when rows
  // are removed or reordered: memberAnchors() before the change tells each one's row by path
  // and its name, anchoredIndexes() after it their indexes now (invalid when gone).
  struct MemberAnchor {
    QModelIndex index;
    QString rowKey;
    QString name;
  };
  std::vector<MemberAnchor> memberAnchors() const;
  QModelIndexList anchoredIndexes(const std::vector<MemberAnchor>& anchors) const;

  PictureList list_;
  int shown_ = 0;  // rows the view knows of (the first shown_ of the list)
  bool planHeld_ = false;
  mutable std::vector<RowPlan> plan_;
  mutable bool planValid_ = false;
};

// The "Nom futur" text of a row's plan: the final name, or what happens to the row in
// brackets ("(inchangé)", "(non coché)", "(non renommé)", "(date demandée)", "(impossible : ...)").
QString FutureNameText(const RowPlan& plan);
// The "Nom futur" text of a group's member k, whose name is now present: its final name,
// "(inchangé)" when it keeps it, "" when the row is not renamed (the row's own text says why).
QString MemberFutureNameText(const RowPlan& plan, size_t k, const QString& present);
// The "Date retenue" text: "05/08/2014 01:45:01 (EXIF)", "(EXIF modif.)", "(fichier)",
// "(saisie)"; "" when the row is not named after a date.
QString DateUsedText(const DateChoice& date);
