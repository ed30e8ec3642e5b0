#pragma once
// The file list lvwFiles: a report view over the window's picture list (PictureListModel),
// a check box in front of each row, several rows selectable at once. Rows are addressed by
// their place in the list (0 = first; -1 = none) and found by their file's full path. Files
// dropped on it come out as a signal. The other files of a group show under its row, always
// expanded (they tell what the rename will do with them); they are no rows here: they are
// never current nor selected, and every command acts on their group's row.

#include "app/mainwindow/PictureListModel.h"

#include <QList>
#include <QStringList>
#include <QTreeView>

class FileListView : public QTreeView {
  Q_OBJECT

 public:
  enum Column {
    kName = PictureListModel::kName,
    kFolder = PictureListModel::kFolder,
    kDateKey = PictureListModel::kDateKey,
    kExif = PictureListModel::kExif,
    kFutureName = PictureListModel::kFutureName,
    kDateUsed = PictureListModel::kDateUsed,
    kColumnCount = PictureListModel::kColumnCount
  };

  explicit FileListView(PictureListModel* model, QWidget* parent = nullptr);

  PictureListModel& pictures() const { return *model_; }

  // Rows shown.
  int rowCount() const { return model_->rowCount(); }
  // The row whose file has that full path, or -1.
  int row(const QString& key) const;
  bool contains(const QString& key) const { return row(key) >= 0; }
  QString key(int row) const;
  // The text a row shows in a column.
  QString text(int row, int column) const;
  QString headerText(int column) const;
  bool isChecked(int row) const;
  // Checks or unchecks the row as a click on its check box does.
  void setChecked(int row, bool checked);

  int currentRow() const;
  // Makes row current and the only selected row (-1: no current row).
  void setCurrentRow(int row);
  // Makes row current and leaves the selection as it is (-1: no current row).
  void setCurrentRowOnly(int row);
  // Selected rows, in list order.
  std::vector<size_t> selectedRows() const;
  void setRowSelected(int row, bool selected);
  std::vector<size_t> allRows() const;

 signals:
  // Paths of the files dropped on the list (local files only).
  void filesDropped(const QStringList& paths);
  // The current row changed (-1: none).
  void currentRowChanged(int row);
  void rowDoubleClicked(int row);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The list row an index shows or, for a member of a group, its group's row; -1 for none.
  static int groupRow(const QModelIndex& index);
  // Expands the rows first..last that hold a group.
  void expandGroups(int first, int last);

  PictureListModel* model_;
};
