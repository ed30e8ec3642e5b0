// wMain: start-up, the hand-off pick-up, settings files, help and about, the close prompt and
// shutdown.
#include "app/common/AppSettings.h"
#include "app/common/InstallLayout.h"
#include "app/common/Orvofonctions2.h"
#include "app/dialogs/wSplash.h"
#include "app/mainwindow/FileListRules.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/HandOff.h"
#include "app/mainwindow/HelpSystem.h"
#include "app/mainwindow/SplitterBar.h"
#include "app/mainwindow/ToolIcons.h"
#include "app/mainwindow/Twips.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/SpecialFolders.h"
#include "app/naming/Takeover.h"
#include "runtime/Conversions.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

using ui::Ui;

namespace {

const QString kSettingsFilter = QStringLiteral("Fichiers de configuration Tindra (*.tdc)|*.tdc|Tous les fichiers|*.*");

QString roundedText(double value) { return rt::numberToText(rt::roundHalfEven(value)); }

}  // namespace

void wMain::restoreColumns() {
  for (int column = 0; column < FileListView::kColumnCount; ++column) {
    const QString current = roundedText(twips::fromPixels(lvwFiles->columnWidth(column)));
    const double width = rt::toDouble(GetParam(QStringLiteral("Columns"), QString::number(column + 1), current));
    lvwFiles->setColumnWidth(column, std::max(0, twips::toPixels(width)));
  }
}

void wMain::assignToolbarImages() {
  imlTools = ToolIcons::ImageList();
  for (QAction* button : tbrTools->actions()) {
    const QString key = button->data().toString();
    if (!key.isEmpty()) button->setIcon(imlTools.value(key));
  }
}

// The stored percentage refers to the restored window's width; the position is not clamped.
void wMain::restoreSplitter() {
  cursorPercent_ = rt::toDouble(GetParam(QStringLiteral("Layout"), QStringLiteral("Cursor"), QStringLiteral("40")));
  frmCursor->move(static_cast<int>(std::lround(cursorPercent_ * innerWidth() / 100)), frmCursor->y());
}

void wMain::showSplash() {
  QPointer<wSplash> splash = new wSplash(this);
  splash->setAttribute(Qt::WA_DeleteOnClose, false);
  splash->setModal(false);
  splash->show();
  splash->tmrClose->start();
  while (splash && splash->tmrClose->isActive()) Ui().doEvents(true);
  delete splash.data();
}

// A second instance hands its files to the running one and unloads; otherwise they are added.
void wMain::handOverOrAdd(const QString& commandLine) {
  const QString list = FileListRules::CommandLineToList(commandLine);
  if (Ui().anotherInstanceRuns()) {
    handoff::Append(list);
    unloaded_ = true;
    close();
    return;
  }
  handoff::Remove();
  AddFiles(list);
}

bool wMain::Form_Load() {
  ErrorHandling::Guarded(QStringLiteral("wMain.Form_Load"), [&] {
    restoreColumns();
    assignToolbarImages();
    RestoreWindowPlace(this);
    Ui().doEvents();
    restoreSplitter();
    Form_Resize();
    const QString commandLine = Ui().commandLine();
    if (commandLine.isEmpty()) showSplash();
    help::SetHelpFile(InstallLayout::HelpFolder());
    // Only the instance that holds the instance lock may throw away a hand-off file: another
    // running instance may not have claimed it yet.
    if (!Ui().anotherInstanceRuns()) handoff::Remove();
    if (!commandLine.isEmpty()) {
      handOverOrAdd(commandLine);
      if (unloaded_) return;
    }
    const int widthBefore = innerWidth();
    show();
    raise();
    activateWindow();
    if (innerWidth() != widthBefore) {
      frmCursor->move(static_cast<int>(std::lround(cursorPercent_ * innerWidth() / 100)), frmCursor->y());
      Form_Resize();
    }
    CurrentConfig().Load(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString()));
    RecoverOldParams();
  });
  return !unloaded_;
}

void wMain::RecoverOldParams() {
  if (!TakeOverOldSettings(CurrentConfig())) return;
  Ui().messageBox(QStringLiteral("Attention ! Les paramètres de l'ancienne version ont été récupérés \r\n"
                                 "mais NON SAUVEGARDÉS.\r\n\r\nVeuillez l'enregistrer maintenant."),
                  ui::Buttons::Ok, ui::Icon::Exclamation);
  ui::FileDialogRequest request;
  request.owner = this;
  request.filter = kSettingsFilter;
  request.save = true;
  request.initDir = GetPersonalFolder();
  const QString path = Ui().getFileName(request);
  if (path.isEmpty()) return;
  CurrentConfig().Save(path);
  SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
}

void wMain::tmrLoadFiles_Timer() {
  // Failures while reading are not reported: the next tick tries again.
  std::optional<QString> list;
  try {
    // An instance started while another ran takes the instance lock over once that one ended.
    Ui().anotherInstanceRuns();
    list = handoff::Claim();
  } catch (...) {
    return;
  }
  if (list) AddFiles(list->trimmed());
}

void wMain::mnuFileOpen_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileOpen_Click"), [&] {
    const QString last = GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString());
    ui::FileDialogRequest request;
    request.owner = this;
    request.filter = kSettingsFilter;
    request.fileName = Orvofonctions2::GetFilenameFromPath(last);
    request.initDir = Orvofonctions2::GetDirectoryFromPath(last);
    const QString path = Ui().getFileName(request);
    if (path.isEmpty()) return;
    CurrentConfig().Load(path);
    SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
  });
}

void wMain::mnuFileSave_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileSave_Click"), [&] {
    const QString last = GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString());
    ui::FileDialogRequest request;
    request.owner = this;
    request.filter = kSettingsFilter;
    request.save = true;
    request.fileName = Orvofonctions2::GetFilenameFromPath(last);
    request.initDir = Orvofonctions2::GetDirectoryFromPath(last);
    const QString path = Ui().getFileName(request);
    if (path.isEmpty()) return;
    CurrentConfig().Save(path);
    SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
  });
}

void wMain::mnuFileQuit_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileQuit_Click"), [&] { close(); });
}

void wMain::mnuHelpIndex_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuHelpIndex_Click"), [&] { Ui().sendHelpKey(); });
}

void wMain::mnuHelpAbout_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuHelpAbout_Click"), [&] {
    wSplash splash(this);
    splash.setModal(true);
    splash.exec();
  });
}

bool wMain::Form_QueryUnload() {
  bool allow = true;
  ErrorHandling::Guarded(QStringLiteral("wMain.Form_QueryUnload"), [&] {
    if (!CurrentConfig().Modified()) return;
    const ui::Answer answer = Ui().messageBox(
        QStringLiteral("La configuration courante n'est pas sauvegardée.\r\nVoulez-vous l'enregistrer maintenant ?"),
        ui::Buttons::YesNoCancel, ui::Icon::Exclamation);
    if (answer == ui::Answer::Cancel) {
      allow = false;
    } else if (answer == ui::Answer::Yes) {
      mnuFileSave_Click();
      allow = !CurrentConfig().Modified();
    }
  });
  return allow;
}

void wMain::storeColumnsAndSplitter() {
  for (int column = 0; column < FileListView::kColumnCount; ++column) {
    SetParam(QStringLiteral("Columns"), QString::number(column + 1),
             roundedText(twips::fromPixels(lvwFiles->columnWidth(column))));
  }
  // A window without width (minimised) keeps the position stored before.
  if (innerWidth() > 0) {
    SetParam(QStringLiteral("Layout"), QStringLiteral("Cursor"),
             roundedText(static_cast<double>(frmCursor->x()) / innerWidth() * 100));
  }
}

void wMain::Form_Unload() {
  ErrorHandling::Guarded(QStringLiteral("wMain.Form_Unload"), [&] {
    storeColumnsAndSplitter();
    SaveWindowPlace(this);
  });
}

void wMain::closeEvent(QCloseEvent* event) {
  if (adding_) {
    // The addition stops at its next file; the close is asked again afterwards.
    closeRequested_ = true;
    event->ignore();
    return;
  }
  closeRequested_ = false;
  if (!Form_QueryUnload()) {
    event->ignore();
    return;
  }
  Form_Unload();
  tmrLoadFiles->stop();
  event->accept();
}
