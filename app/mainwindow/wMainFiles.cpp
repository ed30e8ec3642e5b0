// wMain: the file list — adding files, checking, selecting, removing, and the details of the
// current row (preview, size, dates, future name).
#include "app/common/AppSettings.h"
#include "app/common/ErrorNumbers.h"
#include "app/common/Orvofonctions2.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/PicturePreview.h"
#include "app/mainwindow/SplitterBar.h"
#include "app/mainwindow/StatusPanels.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/FileListRules.h"
#include "app/naming/FutureName.h"
#include "app/naming/PictureList.h"
#include "app/picture/PictureInfos.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QBuffer>

#include <algorithm>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QToolBar>

using ui::Ui;

namespace {

// Files read at once while adding: about kReadBatchTime of reading at the pace of the batch
// before, so that pending events still run often when the files come slowly (a network share,
// a card) and the reading threads start seldom when they come fast. The first batch is small.
constexpr qsizetype kFirstReadBatch = 256;
constexpr qsizetype kSmallestReadBatch = 16;
constexpr qsizetype kLargestReadBatch = 16384;
constexpr qint64 kReadBatchTime = 50'000'000;  // nanoseconds

qsizetype nextReadBatch(qsizetype files, qint64 nanoseconds) {
  if (files <= 0) return kFirstReadBatch;
  const qint64 perFile = std::max<qint64>(1, nanoseconds / files);
  return static_cast<qsizetype>(std::clamp<qint64>(kReadBatchTime / perFile, kSmallestReadBatch, kLargestReadBatch));
}

QString pictureFilter() {
  return QStringLiteral("Photos et vidéos|") + FileListRules::AcceptedPatterns() +
         QStringLiteral("|Fichiers JPEG (*.jpg)|*.jpg|Fichiers BMP (*.bmp)|*.bmp|Tous les fichiers (*.*)|*.*");
}

// The message that names the paths an addition refused; a long list is cut short.
QString refusedFilesText(const QStringList& refusals) {
  constexpr qsizetype kShown = 10;
  QString text = QStringLiteral("Ces fichiers n'ont pas été ajoutés à la liste :\n") +
                 refusals.mid(0, kShown).join(QLatin1Char('\n'));
  if (refusals.size() > kShown) text += QStringLiteral("\n... et %1 autres").arg(refusals.size() - kShown);
  return text;
}

}  // namespace

bool wMain::ExistItem(const QString& key) {
  bool exists = false;
  ErrorHandling::Guarded(QStringLiteral("wMain.ExistItem"), [&] { exists = pictures().indexOf(key) >= 0; });
  return exists;
}

void wMain::queuePaths(const QStringList& paths, bool testExtension) {
  for (const QString& path : paths) {
    if (path.isEmpty()) continue;
    if (testExtension && !FileListRules::IsAcceptedExtension(path)) continue;
    pending_.enqueue(path);
  }
}

// Adds every queued file. Long additions let pending events run every few milliseconds, so
// the window keeps painting and shows the progress; files dropped or handed over meanwhile
// join the queue and are added by this same loop. The list is sorted in every case, also
// when an addition fails, since the rename operation relies on its order.
void wMain::runAdditions() {
  if (adding_) return;
  adding_ = true;
  const ui::Pointer pointer = Ui().mousePointer();
  Ui().setMousePointer(ui::Pointer::Busy);
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  int done = 0;
  bool showing = false;
  QStringList refused;
  // Ends the additions, whether they all ran or one failed.
  const auto finish = [&] {
    pending_.clear();
    lvwFiles->pictures().sort();
    lvwFiles->pictures().setPlanHeld(false);
    sbrStatus->hideProgress();
    adding_ = false;
    updateCommandStates();
    Ui().setMousePointer(pointer);
    if (!refused.isEmpty()) Ui().messageBox(refusedFilesText(refused), ui::Buttons::Ok, ui::Icon::Exclamation);
  };
  try {
    lvwFiles->pictures().setPlanHeld(true);
    qsizetype batchSize = kFirstReadBatch;
    while (!pending_.isEmpty() && !closeRequested_) {
      // The files of a batch are read at once, on several threads, then added in order.
      QStringList batch;
      while (!pending_.isEmpty() && batch.size() < batchSize) batch.append(pending_.dequeue());
      QElapsedTimer reading;
      reading.start();
      std::vector<PictureList::ReadPath> read = lvwFiles->pictures().read(batch);
      batchSize = nextReadBatch(batch.size(), reading.nsecsElapsed());
      lvwFiles->pictures().reserve(read.size() + static_cast<size_t>(pending_.size()));
      for (size_t i = 0; i < read.size() && !closeRequested_; ++i) {
        if (QString refusal = lvwFiles->pictures().add(std::move(read[i])); !refusal.isEmpty()) refused.append(refusal);
        ++done;
        if (sinceEvents.elapsed() >= eventsInterval_) {
          if (!showing) {
            showing = true;
            updateCommandStates();
          }
          const int left = static_cast<int>(read.size() - i - 1 + static_cast<size_t>(pending_.size()));
          sbrStatus->showProgress(done, done + left);
          lvwFiles->pictures().attach();  // handlers that run now see every row added so far
          Ui().doEvents();
          sinceEvents.restart();
        }
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (closeRequested_) QTimer::singleShot(0, this, &wMain::close);
}

void wMain::AddFiles(const QString& paths) {
  ErrorHandling::Guarded(QStringLiteral("wMain.AddFiles"), [&] {
    queuePaths(paths.split(QStringLiteral("\r\n")), true);
    runAdditions();
  });
}

void wMain::lvwFiles_OLEDragDrop(const QStringList& paths) {
  ErrorHandling::Guarded(QStringLiteral("wMain.lvwFiles_OLEDragDrop"), [&] {
    queuePaths(paths, true);
    runAdditions();
  });
}

void wMain::mnuFileAdd_Click() {
  const ui::Pointer pointer = Ui().mousePointer();
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileAdd_Click"), [&] {
    ui::FileDialogRequest request;
    request.owner = this;
    request.filter = pictureFilter();
    request.multi = true;
    request.initDir = GetParam(QStringLiteral("Files"), QStringLiteral("LastPath"), QString());
    const QString result = Ui().getFileName(request);
    if (result.isEmpty()) return;
    QString folder;
    QStringList names;
    if (result.contains(QChar(0))) {
      names = result.split(QChar(0));
      folder = names.takeFirst();
    } else {
      folder = Orvofonctions2::GetDirectoryFromPath(result);
      names = QStringList{Orvofonctions2::GetFilenameFromPath(result)};
    }
    SetParam(QStringLiteral("Files"), QStringLiteral("LastPath"), folder);
    for (const QString& name : names) {
      if (!name.isEmpty()) pending_.enqueue(folder + QStringLiteral("/") + name);
    }
    runAdditions();
    if (lvwFiles->currentRow() < 0 && lvwFiles->rowCount() > 0) {
      const QSignalBlocker quiet(lvwFiles);  // the details are shown once, just below
      lvwFiles->setCurrentRow(lvwFiles->rowCount() - 1);
    }
    lvwFiles_ItemClick(lvwFiles->currentRow());
    Ui().setMousePointer(pointer);
  });
}

void wMain::mnuFileDelete_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileDelete_Click"), [&] {
    const std::vector<size_t> selected = lvwFiles->selectedRows();
    {
      const QSignalBlocker quiet(lvwFiles);
      // The list would pass the current row on to a neighbour: a removed current row leaves
      // no row current, so the preview never shows a picture that is no longer listed.
      const int current = lvwFiles->currentRow();
      const bool currentRemoved =
          current >= 0 && std::binary_search(selected.begin(), selected.end(), static_cast<size_t>(current));
      lvwFiles->pictures().remove(selected);
      if (currentRemoved) lvwFiles->setCurrentRowOnly(-1);
    }
    // No panel describes a file that is no longer listed.
    if (lvwFiles->currentRow() < 0) clearDetails();
  });
}

void wMain::mnuFileDeleteAll_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileDeleteAll_Click"), [&] {
    {
      const QSignalBlocker quiet(lvwFiles);
      lvwFiles->pictures().clear();
    }
    clearDetails();
  });
}

void wMain::mnuEditCheck_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditCheck_Click"), [&] {
    lvwFiles->pictures().setChecked(lvwFiles->selectedRows(), true);
  });
}

void wMain::mnuEditUncheck_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditUncheck_Click"), [&] {
    lvwFiles->pictures().setChecked(lvwFiles->selectedRows(), false);
  });
}

void wMain::mnuEditCheckAll_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditCheckAll_Click"), [&] {
    lvwFiles->pictures().setChecked(lvwFiles->allRows(), true);
  });
}

void wMain::mnuEditUncheckAll_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditUncheckAll_Click"), [&] {
    lvwFiles->pictures().setChecked(lvwFiles->allRows(), false);
  });
}

void wMain::mnuEditSelectAll_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditSelectAll_Click"), [&] {
    {
      const QSignalBlocker quiet(lvwFiles);
      lvwFiles->selectAll();
      lvwFiles->setCurrentRowOnly(lvwFiles->rowCount() == 1 ? 0 : -1);
    }
    lvwFiles_ItemClick(lvwFiles->currentRow());
  });
}

void wMain::lvwFiles_DblClick() {
  ErrorHandling::Guarded(QStringLiteral("wMain.lvwFiles_DblClick"), [&] {
    const int row = lvwFiles->currentRow();
    if (row >= 0) lvwFiles->pictures().setChecked({static_cast<size_t>(row)}, !lvwFiles->isChecked(row));
  });
}

void wMain::clearDetails() {
  imgSample->clear();
  imgSample->hide();
  for (const char* key : {"NewName", "ImgSize", "CreateDate", "ModifDate", "FileDate"}) {
    sbrStatus->setText(QString::fromLatin1(key), QString());
  }
}

void wMain::lvwFiles_ItemClick(int index) {
  ErrorHandling::Guarded(QStringLiteral("wMain.lvwFiles_ItemClick"), [&] {
    clearDetails();
    if (index < 0 || index != lvwFiles->currentRow()) return;
    const RenameRow& row = pictures().rows()[static_cast<size_t>(index)].row;
    const QString path = row.folder + QStringLiteral("/") + row.text;
    showPreview(path);
    const JpegInfosClass info = PictureInfos(path);
    sbrStatus->setText(QStringLiteral("NewName"), FutureName(path, info, row.dateKey, row.exifMark));
    sbrStatus->setText(QStringLiteral("ImgSize"), FileListRules::SizeText(info));
    sbrStatus->panel(QStringLiteral("ImgSize"))->setVisible(true);
    sbrStatus->setText(QStringLiteral("FileDate"), FileListRules::DateText(info.FileDate()));
    sbrStatus->setText(QStringLiteral("ModifDate"), FileListRules::DateText(info.ModifDate()));
    sbrStatus->setText(QStringLiteral("CreateDate"), FileListRules::DateText(info.CreateDate()));
  });
}

// Fits and centres the picture in the area right of the splitter. The picture is decoded at
// the size it is shown, not at its own size. A raw file shows its own JPEG preview; a file of
// the other formats that cannot be decoded (a video, say) shows a placeholder with its name.
void wMain::showPreview(const QString& path) {
  const int left = frmCursor->x() + frmCursor->width();
  const int top = tbrTools->height();
  const QRect area(left, top, std::max(0, innerWidth() - left), std::max(0, innerHeight() - top - sbrStatus->height()));
  if (area.width() <= 0 || area.height() <= 0) return;
  imgSample->hide();
  const bool mustDecode = !FileListRules::IsOtherFormat(path);
  QBuffer embedded;
  if (FileListRules::IsRawFormat(path)) embedded.setData(PicturePreview::EmbeddedJpeg(path));
  // The file is opened through the runtime, which keeps every byte of its name.
  QFile file;
  QImageReader reader;
  if (embedded.size() > 0) {
    reader.setDevice(&embedded);
  } else {
    try {
      if (file.open(rt::openForReading(path), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) reader.setDevice(&file);
    } catch (const rt::RuntimeError&) {
      // A file that cannot be opened is a picture that cannot be shown: reported just below.
    }
  }
  reader.setAutoTransform(true);
  QSize own = reader.size();
  const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
  if (turned) own.transpose();
  const QRect target = FileListRules::FitInArea(own, area);
  const qreal ratio = imgSample->devicePixelRatioF();
  QImage image;
  if (!target.isEmpty()) {
    QSize decoded = target.size() * ratio;
    if (turned) decoded.transpose();
    reader.setScaledSize(decoded);
    image = reader.read();
  }
  if (image.isNull()) {
    if (mustDecode) rt::raise(errors::kInvalidPicture, rt::defaultErrorSource(), QStringLiteral("Image incorrecte"));
    imgSample->setPixmap(PicturePreview::Placeholder(Orvofonctions2::GetFilenameFromPath(path), area.size() * ratio, ratio));
    imgSample->setGeometry(area);
    imgSample->show();
    return;
  }
  QPixmap pixmap = QPixmap::fromImage(std::move(image));
  pixmap.setDevicePixelRatio(ratio);
  imgSample->setPixmap(pixmap);
  imgSample->setGeometry(target);
  imgSample->show();
}
