#include "app/mainwindow/FileListView.h"

#include "app/common/ErrorNumbers.h"
#include "app/naming/PictureList.h"
#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kFractionRole = Qt::UserRole + 2;

[[noreturn]] void raiseKeyNotUnique() {
  rt::raise(errors::kKeyNotUnique, rt::defaultErrorSource(),
            QStringLiteral("Cette clé est déjà associée à un élément de cette collection"));
}

// A row that keeps its date key beside the displayed text, so sorting compares plain texts
// instead of going through the item's variant data (the sort of a long list costs as much as
// reading its pictures otherwise). The list sorts stably, so equal keys keep their order.
class FileRow : public QTreeWidgetItem {
 public:
  explicit FileRow(const QStringList& texts)
      : QTreeWidgetItem(texts), dateKey_(texts.value(FileListView::kDateKey)) {}

  void setData(int column, int role, const QVariant& value) override {
    QTreeWidgetItem::setData(column, role, value);
    if (column == FileListView::kDateKey && (role == Qt::DisplayRole || role == Qt::EditRole))
      dateKey_ = value.toString();
  }

  // The list is only ever sorted on the date key (its headers do not sort).
  bool operator<(const QTreeWidgetItem& other) const override {
    if (const auto* row = dynamic_cast<const FileRow*>(&other)) return dateKey_ < row->dateKey_;
    return QTreeWidgetItem::operator<(other);
  }

 private:
  QString dateKey_;
};

bool carriesFiles(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

}  // namespace

FileListView::FileListView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("lvwFiles"));
  setColumnCount(kColumnCount);
  setHeaderLabels({QStringLiteral("Conv. | Nom fichier"), QStringLiteral("Chemin source"),
                   QStringLiteral("GDH"), QStringLiteral("EXIF")});
  headerItem()->setTextAlignment(kExif, Qt::AlignCenter);
  header()->setSectionsClickable(false);
  header()->setStretchLastSection(false);
  header()->setMinimumSectionSize(0);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

QTreeWidgetItem* FileListView::addRow(const QString& key, const QString& name, const QString& folder,
                                      const QString& dateKey, bool exifMark) {
  if (!key.isEmpty() && rows_.contains(key)) raiseKeyNotUnique();
  auto* item = new FileRow({name, folder, dateKey, exifMark ? QStringLiteral("X") : QString()});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setTextAlignment(kExif, Qt::AlignCenter);
  item->setData(kName, kKeyRole, key);
  item->setCheckState(kName, Qt::Checked);
  if (batching_) {
    batch_.append(item);
  } else {
    addTopLevelItem(item);
  }
  if (!key.isEmpty()) rows_.insert(key, item);
  return item;
}

void FileListView::attachBatch() {
  batching_ = false;
  if (batch_.isEmpty()) return;
  addTopLevelItems(batch_);
  batch_.clear();
}

QString FileListView::key(const QTreeWidgetItem* item) { return item ? item->data(kName, kKeyRole).toString() : QString(); }

void FileListView::setKey(QTreeWidgetItem* item, const QString& newKey) {
  const QString old = key(item);
  if (old == newKey) return;
  if (!newKey.isEmpty() && rows_.contains(newKey)) raiseKeyNotUnique();
  if (!old.isEmpty()) rows_.remove(old);
  item->setData(kName, kKeyRole, newKey);
  if (!newKey.isEmpty()) rows_.insert(newKey, item);
}

void FileListView::setFile(QTreeWidgetItem* item, const rt::files::FileIdentity& file) {
  if (const auto old = fileOfRow_.constFind(item); old != fileOfRow_.cend()) rowsByFile_.remove(*old);
  fileOfRow_.insert(item, file);
  rowsByFile_.insert(file, item);
}

void FileListView::removeRow(QTreeWidgetItem* item) {
  if (!item) return;
  const QString k = key(item);
  if (!k.isEmpty()) rows_.remove(k);
  if (const auto file = fileOfRow_.constFind(item); file != fileOfRow_.cend()) {
    rowsByFile_.remove(*file);
    fileOfRow_.erase(file);
  }
  delete item;
}

void FileListView::removeAllRows() {
  rows_.clear();
  rowsByFile_.clear();
  fileOfRow_.clear();
  clear();
}

bool FileListView::isChecked(const QTreeWidgetItem* item) { return item && item->checkState(kName) == Qt::Checked; }

void FileListView::setChecked(QTreeWidgetItem* item, bool checked) {
  if (item) item->setCheckState(kName, checked ? Qt::Checked : Qt::Unchecked);
}

QList<QTreeWidgetItem*> FileListView::allRows() const {
  QList<QTreeWidgetItem*> list;
  const int count = topLevelItemCount();
  list.reserve(count);
  for (int i = 0; i < count; ++i) list.append(topLevelItem(i));
  return list;
}

void FileListView::setFraction(QTreeWidgetItem* item, const QString& digits) {
  item->setData(kName, kFractionRole, digits);
}

void FileListView::sortOnDateKey() {
  QStringList keys;
  QStringList fractions;
  bool timed = false;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = topLevelItem(i);
    keys.append(item->text(kDateKey));
    fractions.append(item->data(kName, kFractionRole).toString());
    timed |= !fractions.back().isEmpty();
  }
  if (!timed) {  // the same order, without taking the rows out
    sortItems(kDateKey, Qt::AscendingOrder);
    return;
  }
  const std::vector<size_t> order = ListOrder(keys, fractions);
  QTreeWidgetItem* current = currentItem();
  const QList<QTreeWidgetItem*> selected = selectedItems();
  const QSignalBlocker quiet(this);
  const QList<QTreeWidgetItem*> rows = invisibleRootItem()->takeChildren();
  QList<QTreeWidgetItem*> sorted;
  sorted.reserve(rows.size());
  for (size_t i : order) sorted.append(rows[static_cast<qsizetype>(i)]);
  addTopLevelItems(sorted);
  if (current) setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
  for (QTreeWidgetItem* item : selected) item->setSelected(true);
}

void FileListView::dragEnterEvent(QDragEnterEvent* event) {
  if (carriesFiles(event->mimeData())) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void FileListView::dragMoveEvent(QDragMoveEvent* event) {
  if (carriesFiles(event->mimeData())) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void FileListView::dropEvent(QDropEvent* event) {
  if (!carriesFiles(event->mimeData()) || !(event->possibleActions() & Qt::CopyAction)) {
    event->ignore();
    return;
  }
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    // The path's bytes as the file manager gave them, so that no name is decoded lossily.
    if (url.isLocalFile()) paths.append(rt::decodePath(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  emit filesDropped(paths);
}
