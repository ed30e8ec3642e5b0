// wMain: start-up, the hand-off pick-up, settings files, help and about, the close prompt and
// shutdown.
#include "app/common/AppSettings.h"
#include "app/common/InstallLayout.h"
#include "app/common/Orvofonctions2.h"
#include "app/dialogs/SettingsFileDialog.h"
#include "app/dialogs/wSplash.h"
#include "app/naming/FileListRules.h"
#include "app/mainwindow/FileListView.h"
#include "app/common/HandOff.h"
#include "app/ui/HelpSystem.h"
#include "app/mainwindow/SplitterBar.h"
#include "app/ui/ToolIcons.h"
#include "app/ui/Twips.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/SettingsFile.h"
#include "app/naming/SpecialFolders.h"
#include "app/naming/Takeover.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <functional>
#include <optional>

using ui::Ui;

namespace {

QString roundedText(double value) { return rt::numberToText(rt::roundHalfEven(value)); }

// Beyond this a stored width (twips) or splitter position (percent) is no layout.
constexpr double kLargestStoredLength = 1e6;

const QString kStartUp = QStringLiteral("wMain.Form_Load");

const QString kNoLibrary = QStringLiteral(
    "La bibliothèque OrvoLib22 est introuvable ou n'est pas enregistrée : Tindra ne peut pas "
    "fonctionner sans elle.\r\n");

// A number of the layout stored in the application settings file. A stored text that is no
// usable number is reported and the default is used instead, so the window still shows; the
// value is written again at closing.
double storedLength(const QString& section, const QString& key, double defaultValue) {
  const QString text = GetParam(section, key, roundedText(defaultValue));
  try {
    const double value = rt::toDouble(text);
    if (!std::isfinite(value) || std::abs(value) > kLargestStoredLength) rt::raise(rt::ErrOverflow);
    return value;
  } catch (...) {
    ErrorHandling::ShowCurrentException(kStartUp);
    return defaultValue;
  }
}

}  // namespace

void wMain::restoreColumns() {
  for (int column = 0; column < FileListView::kColumnCount; ++column) {
    const double current = twips::fromPixels(lvwFiles->columnWidth(column));
    const double width = storedLength(QStringLiteral("Columns"), QString::number(column + 1), current);
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
  cursorPercent_ = storedLength(QStringLiteral("Layout"), QStringLiteral("Cursor"), 40);
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

// The files of the start. An instance started with files while another runs hands them over
// and unloads. The instance that holds the instance lock lists its own files together with
// whatever the hand-off file holds: lists handed over while no instance ran, or to one that
// ended before its next tick, are never thrown away unread. An instance started without files
// while another runs lists nothing yet (its timer claims once the other has ended).
void wMain::startFiles(const QString& commandLine) {
  const QString own = commandLine.isEmpty()
                          ? QString()
                          : FileListRules::AbsolutePaths(FileListRules::CommandLineToList(commandLine), QDir::currentPath());
  if (Ui().anotherInstanceRuns()) {
    if (own.isEmpty()) return;
    // A list that cannot be handed over is listed here instead, so that no file is lost.
    if (ErrorHandling::Guarded(kStartUp, [&] { handoff::Append(own); })) {
      unloaded_ = true;
      close();
      return;
    }
  } else if (const std::optional<QString> handedOver = handoff::Claim()) {
    AddFiles(handedOver->trimmed() + QStringLiteral("\r\n") + own);
    return;
  }
  if (!own.isEmpty()) AddFiles(own);
}

// Every step of the start-up reports its own failure (wMain.Form_Load) and the start-up goes
// on with the defaults of what failed: a window that has started is always shown, unless it
// handed its files over. Only a program without its library ends here, before it could take
// the instance lock.
bool wMain::Form_Load() {
  try {
    Orvofonctions2::CreateObjects();
  } catch (const rt::RuntimeError& error) {
    ErrorHandling::ShowError(kStartUp, error.number(), error.description() + QStringLiteral("\r\n\r\n") + kNoLibrary +
                                                 Orvofonctions2::LibraryRemedy());
    exitCode_ = 1;
    unloaded_ = true;
    return false;
  }
  const auto step = [](const std::function<void()>& body) { ErrorHandling::Guarded(kStartUp, body); };
  step([&] { restoreColumns(); });
  step([&] { assignToolbarImages(); });
  step([&] {
    RestoreWindowPlace(this);
    Ui().doEvents();
  });
  step([&] { restoreSplitter(); });
  Form_Resize();
  const QString commandLine = Ui().commandLine();
  step([&] {
    if (commandLine.isEmpty()) showSplash();
  });
  step([&] {
    help::SetHelpFile(InstallLayout::HelpFolder());
  });
  step([&] { startFiles(commandLine); });
  if (unloaded_) return false;
  const int widthBefore = innerWidth();
  show();
  raise();
  activateWindow();
  if (innerWidth() != widthBefore) {
    frmCursor->move(static_cast<int>(std::lround(cursorPercent_ * innerWidth() / 100)), frmCursor->y());
    Form_Resize();
  }
  loaded_ = true;
  step([&] { CurrentConfig().Load(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString())); });
  step([&] { RecoverOldParams(); });
  // The plan and the details of the current row follow the settings just loaded.
  SettingsChanged();
  return true;
}

void wMain::RecoverOldParams() {
  if (!TakeOverOldSettings(CurrentConfig())) return;
  Ui().messageBox(QStringLiteral("Attention ! Les paramètres de l'ancienne version ont été récupérés \r\n"
                                 "mais NON SAUVEGARDÉS.\r\n\r\nVeuillez l'enregistrer maintenant."),
                  ui::Buttons::Ok, ui::Icon::Exclamation);
  const QString path = SettingsFileDialog::Ask(this, true, QString(), GetPersonalFolder());
  if (path.isEmpty()) return;
  CurrentConfig().Save(path);
  SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
}

void wMain::tmrLoadFiles_Timer() {
  // The start-up claims on its own; a window that never finished starting (or that hands its
  // files over) never claims, so no list ever lands in a window nobody sees.
  if (!loaded_) return;
  // Failures while reading are not reported: the next tick tries again.
  std::optional<QString> list;
  try {
    // Only the holder of the instance lock claims. An instance started while another ran
    // takes the lock over once that one ended.
    if (Ui().anotherInstanceRuns()) return;
    list = handoff::Claim();
  } catch (...) {
    return;
  }
  if (list) AddFiles(list->trimmed());
}

void wMain::mnuFileOpen_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileOpen_Click"), [&] {
    const QString last = GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString());
    const QString path = SettingsFileDialog::Ask(this, false, Orvofonctions2::GetFilenameFromPath(last),
                                                 Orvofonctions2::GetDirectoryFromPath(last));
    if (path.isEmpty()) return;
    OpenSettingsFile(CurrentConfig(), path);
    SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
  });
  SettingsChanged();  // the plan and the future name follow the settings, whatever was loaded
}

void wMain::mnuFileSave_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuFileSave_Click"), [&] {
    const QString last = GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString());
    const QString path = SettingsFileDialog::Ask(this, true, Orvofonctions2::GetFilenameFromPath(last),
                                                 Orvofonctions2::GetDirectoryFromPath(last));
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
