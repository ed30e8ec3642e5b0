#pragma once
// The item model the file list shows: a table over the window's PictureList (held here, so
// that it lives as long as the views of it), one row per picture in list order. It keeps no data of its own beyond the plan of the rows, which it
// computes from the list, the current settings and the clock correction (PictureList::plan)
// the first time a plan column is read after a change.
//
// Columns: name (with the check box), folder, date key, EXIF mark ("X"), the future name
// ("Nom futur") and the date the name is made from with its source ("Date retenue").

#include "app/naming/PictureList.h"

#include <QAbstractTableModel>

#include <utility>
#include <vector>

class PictureListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kName = 0, kFolder, kDateKey, kExif, kFutureName, kDateUsed, kColumnCount };

  explicit PictureListModel(QObject* parent = nullptr);

  const PictureList& list() const { return list_; }

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
  PictureList list_;
  int shown_ = 0;  // rows the view knows of (the first shown_ of the list)
  bool planHeld_ = false;
  mutable std::vector<RowPlan> plan_;
  mutable bool planValid_ = false;
};

// The "Nom futur" text of a row's plan: the final name, or what happens to the row in
// brackets ("(inchangé)", "(non coché)", "(non renommé)", "(date demandée)", "(impossible : ...)").
QString FutureNameText(const RowPlan& plan);
// The "Date retenue" text: "05/08/2014 01:45:01 (EXIF)", "(EXIF modif.)", "(fichier)",
// "(saisie)"; "" when the row is not named after a date.
QString DateUsedText(const DateChoice& date);
