// wMain: construction of the window, its layout, the splitter and the toolbar dispatch.
#include "app/mainwindow/wMain.h"

#include "app/common/ErrorNumbers.h"
#include "app/common/Orvofonctions2.h"
#include "app/mainwindow/FileListView.h"
#include "app/mainwindow/SplitterBar.h"
#include "app/mainwindow/StatusPanels.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/PictureList.h"
#include "app/ui/HelpSystem.h"
#include "app/ui/ToolIcons.h"
#include "app/ui/Twips.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QVariant>

using ui::Ui;

namespace {

constexpr int kListLeft = 1;           // 15 twips
constexpr int kSplitterWidth = 6;      // 90 twips
constexpr int kDesignWidth = 870;      // the designed window, in pixels
constexpr int kDesignHeight = 480;

// The largest of two lengths, through the library's Maxi.
int maxi(int a, int b) { return Orvofonctions2::Maxi(QVariant(a), QVariant(b)).toInt(); }

const char* const kToolbarKeys[] = {"mnuFileAdd",      "mnuFileDelete",   "mnuFileDeleteAll",
                                    nullptr,           "mnuEditCheck",    "mnuEditUncheck",
                                    "mnuEditCheckAll", "mnuEditUncheckAll", nullptr,
                                    "mnuEditProperties", "mnuActionRename"};
const char* const kToolbarTips[] = {"Ajouter des fichiers",
                                    "Retirer des fichiers de la liste",
                                    "Vider la liste",
                                    nullptr,
                                    "Valider les fichiers sélectionnés",
                                    "Dévalider les fichiers sélectionnés",
                                    "Valider tous les fichiers",
                                    "Dévalider tous les fichiers",
                                    nullptr,
                                    "Paramètres",
                                    "Exécuter le changement de nom"};

}  // namespace

wMain::wMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("wMain"));
  setWindowTitle(QStringLiteral("Tindra"));
  setWindowIcon(ToolIcons::ProgramIcon());
  help::SetTopic(this, help::kMainWindow);
  help::InstallF1Handler();
  previousPresenter_ = ErrorHandling::SetPresenter([](const QString& title, const QString& message) {
    Ui().setMousePointer(ui::Pointer::Default);
    Ui().messageBox(message, ui::Buttons::Ok, ui::Icon::Critical, title);
  });
  buildMenus();
  buildClientArea();
  buildToolbar();
  resize(kDesignWidth, kDesignHeight);
  tmrLoadFiles = new QTimer(this);
  tmrLoadFiles->setObjectName(QStringLiteral("tmrLoadFiles"));
  tmrLoadFiles->setInterval(1000);
  connect(tmrLoadFiles, &QTimer::timeout, this, &wMain::tmrLoadFiles_Timer);
  tmrLoadFiles->start();
  updateCommandStates();
  // Closing dialogs is watched program-wide: the keys go back to the list afterwards.
  qApp->installEventFilter(this);
}

wMain::~wMain() {
  qApp->removeEventFilter(this);
  ErrorHandling::SetPresenter(previousPresenter_);
}

QAction* wMain::addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut) {
  auto* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  const QString handler = QString::fromLatin1(name) + QStringLiteral("_Click");
  connect(action, &QAction::triggered, this, [this, handler] { dispatch(handler); });
  return action;
}

QAction* wMain::addSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(QString::fromLatin1(name));
  return separator;
}

void wMain::buildMenus() {
  mnuFile = menuBar()->addMenu(QStringLiteral("&Fichier"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFileAdd = addMenuItem(mnuFile, "mnuFileAdd", QStringLiteral("&Ajouter..."), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
  mnuFileDelete = addMenuItem(mnuFile, "mnuFileDelete", QStringLiteral("&Retirer"), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
  mnuFileDeleteAll = addMenuItem(mnuFile, "mnuFileDeleteAll", QStringLiteral("&Tout retirer"));
  mnuFileSep1 = addSeparator(mnuFile, "mnuFileSep1");
  mnuFileSave = addMenuItem(mnuFile, "mnuFileSave", QStringLiteral("&Enregistrer la configuration"));
  mnuFileOpen = addMenuItem(mnuFile, "mnuFileOpen", QStringLiteral("Recharger une configuration"));
  mnuFileSep2 = addSeparator(mnuFile, "mnuFileSep2");
  mnuFileQuit = addMenuItem(mnuFile, "mnuFileQuit", QStringLiteral("&Quitter"));

  mnuEdit = menuBar()->addMenu(QStringLiteral("&Edition"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  mnuEditUndo = addMenuItem(mnuEdit, "mnuEditUndo", QStringLiteral("&Annuler le dernier renommage"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  mnuEditSep0 = addSeparator(mnuEdit, "mnuEditSep0");
  mnuEditCheck = addMenuItem(mnuEdit, "mnuEditCheck", QStringLiteral("&Valider"));
  mnuEditUncheck = addMenuItem(mnuEdit, "mnuEditUncheck", QStringLiteral("&Dévalider"));
  mnuEditSep1 = addSeparator(mnuEdit, "mnuEditSep1");
  mnuEditCheckAll = addMenuItem(mnuEdit, "mnuEditCheckAll", QStringLiteral("Tout &Valider"), QKeySequence(Qt::Key_F3));
  mnuEditUncheckAll = addMenuItem(mnuEdit, "mnuEditUncheckAll", QStringLiteral("Tout Déva&lider"), QKeySequence(Qt::Key_F4));
  mnuEditSep2 = addSeparator(mnuEdit, "mnuEditSep2");
  mnuEditSelectAll = addMenuItem(mnuEdit, "mnuEditSelectAll", QStringLiteral("&Tout sélectionner"), QKeySequence(Qt::CTRL | Qt::Key_A));
  mnuEditSep3 = addSeparator(mnuEdit, "mnuEditSep3");
  mnuEditProperties = addMenuItem(mnuEdit, "mnuEditProperties", QStringLiteral("&Paramètres"), QKeySequence(Qt::Key_F2));

  mnuAction = menuBar()->addMenu(QStringLiteral("&Action"));
  mnuAction->setObjectName(QStringLiteral("mnuAction"));
  mnuActionRename = addMenuItem(mnuAction, "mnuActionRename", QStringLiteral("&Renommer"), QKeySequence(Qt::Key_F5));

  mnuHelp = menuBar()->addMenu(QStringLiteral("&?"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  // F1 is part of the caption, not a shortcut of the item: the F1 key reaches the help of
  // whatever window is active.
  mnuHelpIndex = addMenuItem(mnuHelp, "mnuHelpIndex", QStringLiteral("&Aide") + QString(22, QLatin1Char(' ')) + QStringLiteral("F1"));
  mnuHelpAbout = addMenuItem(mnuHelp, "mnuHelpAbout", QStringLiteral("Au &Sujet de ..."));
}

void wMain::buildToolbar() {
  tbrTools = new QToolBar(client_);
  tbrTools->setObjectName(QStringLiteral("tbrTools"));
  tbrTools->setMovable(false);
  tbrTools->setFloatable(false);
  tbrTools->setIconSize(QSize(20, 20));
  tbrTools->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (size_t i = 0; i < std::size(kToolbarKeys); ++i) {
    if (!kToolbarKeys[i]) {
      tbrTools->addSeparator();
      continue;
    }
    const QString key = QString::fromLatin1(kToolbarKeys[i]);
    QAction* button = tbrTools->addAction(QString());
    button->setObjectName(QStringLiteral("tbr_") + key);
    button->setData(key);
    button->setToolTip(QString::fromUtf8(kToolbarTips[i]));
  }
  connect(tbrTools, &QToolBar::actionTriggered, this, &wMain::tbrTools_ButtonClick);
  tbrTools->ensurePolished();
  tbrTools->setFixedHeight(tbrTools->sizeHint().height());
  tbrTools->setGeometry(0, 0, innerWidth(), tbrTools->height());
  lvwFiles->move(kListLeft, tbrTools->height());
}

void wMain::buildClientArea() {
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  setCentralWidget(client_);
  client_->installEventFilter(this);

  // The model (and its list) is a child of the window, made after the client area, so it
  // outlives the view that shows it.
  lvwFiles = new FileListView(new PictureListModel(this), client_);
  const int designWidths[FileListView::kColumnCount] = {4075, 3863, 0, 979, 3600, 3600};
  for (int column = 0; column < FileListView::kColumnCount; ++column)
    lvwFiles->setColumnWidth(column, twips::toPixels(designWidths[column]));
  connect(lvwFiles, &FileListView::currentRowChanged, this,
          [this](int current) { if (!adding_ || current >= 0) lvwFiles_ItemClick(current); });
  connect(lvwFiles, &FileListView::rowDoubleClicked, this, [this] { lvwFiles_DblClick(); });
  connect(lvwFiles, &FileListView::filesDropped, this, &wMain::lvwFiles_OLEDragDrop);

  frmCursor = new SplitterBar(client_);
  frmCursor->resize(kSplitterWidth, 0);
  connect(frmCursor, &SplitterBar::mouseMoved, this, &wMain::frmCursor_MouseMove);
  connect(frmCursor, &SplitterBar::mouseReleased, this, &wMain::frmCursor_MouseUp);

  imgSample = new QLabel(client_);
  imgSample->setObjectName(QStringLiteral("imgSample"));
  imgSample->setScaledContents(true);
  imgSample->hide();

  sbrStatus = new StatusPanels(client_);
  sbrStatus->ensurePolished();
  sbrStatus->setFixedHeight(std::max(sbrStatus->sizeHint().height(), twips::toPixels(360)));
}

int wMain::innerWidth() const { return client_ ? client_->width() : 0; }
int wMain::innerHeight() const { return client_ ? client_->height() : 0; }

bool wMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) Form_Resize();
  if (event->type() == QEvent::Hide && watched != this) {
    const auto* dialog = qobject_cast<const QDialog*>(watched);
    if (dialog && dialog->isWindow()) QTimer::singleShot(0, this, &wMain::returnFocusToList);
  }
  return QMainWindow::eventFilter(watched, event);
}

// Once the last dialog has closed, the window is active again with the list holding the focus,
// so its keys (F3, F4...) work without a click.
void wMain::returnFocusToList() {
  if (!isVisible() || QApplication::activeModalWidget() || QApplication::activePopupWidget()) return;
  activateWindow();
  lvwFiles->setFocus(Qt::OtherFocusReason);
}

void wMain::alignBars() {
  tbrTools->setGeometry(0, 0, innerWidth(), tbrTools->height());
  sbrStatus->setGeometry(0, innerHeight() - sbrStatus->height(), innerWidth(), sbrStatus->height());
}

void wMain::Form_Resize() {
  ErrorHandling::Guarded(QStringLiteral("wMain.Form_Resize"), [&] {
    if (!tbrTools || !sbrStatus) return;
    alignBars();
    const int top = tbrTools->height();
    frmCursor->setGeometry(frmCursor->x(), top, kSplitterWidth, maxi(0, innerHeight() - top - sbrStatus->height()));
    const QPoint listPos = lvwFiles->pos();
    lvwFiles->setGeometry(listPos.x(), listPos.y(), maxi(0, frmCursor->x() - listPos.x()),
                          maxi(0, innerHeight() - listPos.y() - sbrStatus->height()));
    lvwFiles_ItemClick(lvwFiles->currentRow());
  });
}

const PictureList& wMain::pictures() const { return lvwFiles->pictures().list(); }

void wMain::SettingsChanged() {
  // Companions turned on or off: the list forms or splits its groups.
  if (pictures().companions() != CurrentConfig().Companions()) lvwFiles->pictures().sort();
  lvwFiles->pictures().invalidatePlan();
  lvwFiles_ItemClick(lvwFiles->currentRow());
}

void wMain::frmCursor_MouseMove(Qt::MouseButtons buttons, int x) {
  ErrorHandling::Guarded(QStringLiteral("wMain.frmCursor_MouseMove"), [&] {
    if (!(buttons & Qt::LeftButton)) return;
    int left = frmCursor->x() + x;
    if (left < 0) left = 0;
    if (left > innerWidth() - kSplitterWidth) left = innerWidth() - kSplitterWidth;
    frmCursor->move(left, frmCursor->y());
  });
}

void wMain::frmCursor_MouseUp() {
  ErrorHandling::Guarded(QStringLiteral("wMain.frmCursor_MouseUp"), [&] { Form_Resize(); });
}

void wMain::tbrTools_ButtonClick(QAction* button) {
  ErrorHandling::Guarded(QStringLiteral("wMain.tbrTools_ButtonClick"), [&] {
    const QString key = button ? button->data().toString() : QString();
    if (key.isEmpty()) return;
    const QByteArray handler = (key + QStringLiteral("_Click")).toLatin1();
    if (!QMetaObject::invokeMethod(this, handler.constData(), Qt::DirectConnection)) {
      rt::raise(errors::kNoSuchMethod, rt::defaultErrorSource(), QStringLiteral("Propriété ou méthode non gérée par cet objet"));
    }
  });
}

void wMain::dispatch(const QString& handler) {
  const QByteArray name = handler.toLatin1();
  QMetaObject::invokeMethod(this, name.constData(), Qt::DirectConnection);
}

void wMain::setCommand(const QString& menuItem, Command command) {
  commands_.insert(menuItem, std::move(command));
  updateCommandStates();
}

// While a long addition runs every command is off (its shortcuts too); the two commands of
// other modules are on only once registered.
void wMain::updateCommandStates() {
  const bool idle = !adding_;
  const auto available = [&](const QString& name) {
    if (name == QLatin1String("mnuEditProperties") || name == QLatin1String("mnuActionRename") ||
        name == QLatin1String("mnuEditUndo")) {
      return idle && commands_.contains(name);
    }
    return idle;
  };
  for (QMenu* menu : {mnuFile, mnuEdit, mnuAction, mnuHelp}) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) action->setEnabled(available(action->objectName()));
    }
  }
  if (!tbrTools) return;
  for (QAction* button : tbrTools->actions()) {
    if (!button->isSeparator()) button->setEnabled(available(button->data().toString()));
  }
}

void wMain::mnuEditProperties_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditProperties_Click"), [&] {
    if (const Command command = commands_.value(QStringLiteral("mnuEditProperties"))) command();
  });
}

void wMain::mnuEditUndo_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuEditUndo_Click"), [&] {
    if (const Command command = commands_.value(QStringLiteral("mnuEditUndo"))) command();
  });
}

void wMain::mnuActionRename_Click() {
  ErrorHandling::Guarded(QStringLiteral("wMain.mnuActionRename_Click"), [&] {
    if (const Command command = commands_.value(QStringLiteral("mnuActionRename"))) command();
  });
}
