#pragma once
// The file list lvwFiles: a report view with four columns, a check box in front of each row,
// several rows selectable at once, rows keyed by the file's full path (look-up through a hash)
// and kept sorted on the date key by the caller. Files dropped on it come out as a signal.

#include "runtime/FileIdentity.h"

#include <QHash>
#include <QStringList>
#include <QTreeWidget>

class FileListView : public QTreeWidget {
  Q_OBJECT

 public:
  enum Column { kName = 0, kFolder = 1, kDateKey = 2, kExif = 3, kColumnCount = 4 };

  explicit FileListView(QWidget* parent = nullptr);

  // Appends a checked row. Raises run-time error 457 when key is already a row's key. Between
  // beginBatch() and attachBatch() the new rows are keyed at once but shown only when the batch
  // is attached: inserting thousands of rows one by one into a visible view costs more than
  // reading their pictures.
  QTreeWidgetItem* addRow(const QString& key, const QString& name, const QString& folder,
                          const QString& dateKey, bool exifMark);
  // The row with that key, or nullptr.
  QTreeWidgetItem* row(const QString& key) const { return rows_.value(key, nullptr); }
  bool contains(const QString& key) const { return rows_.contains(key); }
  static QString key(const QTreeWidgetItem* item);
  // Changes a row's key; "" leaves the row without key. Raises 457 when another row holds it.
  void setKey(QTreeWidgetItem* item, const QString& key);

  // The file a row reaches (device and inode), so that a file named by several paths (a linked
  // folder, a hard link) is listed once. A row without one is matched by its key only.
  void setFile(QTreeWidgetItem* item, const rt::files::FileIdentity& file);
  bool containsFile(const rt::files::FileIdentity& file) const { return rowsByFile_.contains(file); }

  void removeRow(QTreeWidgetItem* item);
  void removeAllRows();

  static bool isChecked(const QTreeWidgetItem* item);
  static void setChecked(QTreeWidgetItem* item, bool checked);

  void beginBatch() { batching_ = true; }
  // Shows the rows added since beginBatch() and ends the batch (nothing to do outside one).
  void attachBatch();

  // The digits of the fraction of a second of the row's shooting time (SubSecTimeOriginal).
  static void setFraction(QTreeWidgetItem* item, const QString& digits);

  // Rows in list order.
  QList<QTreeWidgetItem*> allRows() const;
  // Sorts in the list order (ListOrder): on the date key, ascending; rows with equal keys keep
  // their order, except pictures that both carry a fraction of a second, in shooting order.
  void sortOnDateKey();

 signals:
  // Paths of the files dropped on the list (local files only).
  void filesDropped(const QStringList& paths);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QHash<QString, QTreeWidgetItem*> rows_;
  QHash<rt::files::FileIdentity, QTreeWidgetItem*> rowsByFile_;
  QHash<const QTreeWidgetItem*, rt::files::FileIdentity> fileOfRow_;
  QList<QTreeWidgetItem*> batch_;
  bool batching_ = false;
};
