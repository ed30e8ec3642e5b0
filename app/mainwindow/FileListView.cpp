#include "app/mainwindow/FileListView.h"

#include "runtime/PathCodec.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>

namespace {

bool carriesFiles(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

// Draws a group's members, which the model leaves disabled so that keyboard, mouse and
// selection pass them by, in the colours of the rows: their future names are read like the
// rows' own.
class MemberDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.parent().isValid() && option->widget && option->widget->isEnabled()) option->state |= QStyle::State_Enabled;
  }
};

}  // namespace

FileListView::FileListView(PictureListModel* model, QWidget* parent) : QTreeView(parent), model_(model) {
  setObjectName(QStringLiteral("lvwFiles"));
  setModel(model_);
  setItemDelegate(new MemberDelegate(this));
  header()->setSectionsClickable(false);
  header()->setSectionsMovable(false);
  // The plan is read beside the names it changes: the future name and the date it comes from
  // show right after the file name, ahead of the folder, date key and EXIF mark (which keep
  // their order and their column numbers).
  header()->moveSection(kFutureName, kFolder);
  header()->moveSection(kDateUsed, kFolder + 1);
  header()->setStretchLastSection(false);
  header()->setMinimumSectionSize(0);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { emit currentRowChanged(groupRow(current)); });
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit rowDoubleClicked(groupRow(index));
  });
  // Groups form when the list is sorted (a layout change) and come with rows attached.
  connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { expandGroups(0, rowCount() - 1); });
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent, int first, int last) {
    if (!parent.isValid()) expandGroups(first, last);
  });
}

int FileListView::groupRow(const QModelIndex& index) {
  if (!index.isValid()) return -1;
  return index.parent().isValid() ? index.parent().row() : index.row();
}

void FileListView::expandGroups(int first, int last) {
  bool scheduled = false;
  for (int row = std::max(first, 0); row <= last; ++row) {
    const QModelIndex group = model_->index(row, 0);
    if (isExpanded(group) || model_->rowCount(group) == 0) continue;
    // One layout of the whole list afterwards, rather than one per group expanded.
    if (!scheduled) scheduleDelayedItemsLayout();
    scheduled = true;
    expand(group);
  }
}

int FileListView::row(const QString& key) const {
  const qsizetype found = model_->list().indexOf(key);
  return found >= 0 && found < rowCount() ? static_cast<int>(found) : -1;
}

QString FileListView::key(int row) const {
  if (row < 0 || row >= rowCount()) return QString();
  return model_->list().rows()[static_cast<size_t>(row)].row.key;
}

QString FileListView::text(int row, int column) const { return model_->index(row, column).data().toString(); }

QString FileListView::headerText(int column) const {
  return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

bool FileListView::isChecked(int row) const {
  return model_->index(row, kName).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void FileListView::setChecked(int row, bool checked) {
  model_->setData(model_->index(row, kName), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

int FileListView::currentRow() const { return groupRow(currentIndex()); }

void FileListView::setCurrentRow(int row) { setCurrentIndex(model_->index(row, 0)); }

void FileListView::setCurrentRowOnly(int row) {
  selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

std::vector<size_t> FileListView::selectedRows() const {
  std::vector<size_t> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows())
    if (!index.parent().isValid()) rows.push_back(static_cast<size_t>(index.row()));
  std::sort(rows.begin(), rows.end());
  return rows;
}

void FileListView::setRowSelected(int row, bool selected) {
  selectionModel()->select(model_->index(row, 0), (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                                       QItemSelectionModel::Rows);
}

std::vector<size_t> FileListView::allRows() const {
  std::vector<size_t> rows(static_cast<size_t>(rowCount()));
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = i;
  return rows;
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
