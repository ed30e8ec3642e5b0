#pragma once
// The main window: menus, toolbar, the file list on the left, a movable splitter, the preview
// of the selected picture on the right and the status bar. It runs the program's start-up and
// shutdown, fills the list (by dialog, by drop, from the command line and from later
// instances) and shows the details of the current row. Menu items and toolbar buttons reach
// the slots named <menu item>_Click; every handler reports its failures as wMain.<handler>.

#include "app/common/ErrorHandling.h"
#include "app/ui/UiServices.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QQueue>

#include <functional>

class FileListView;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class PictureList;
class SplitterBar;
class StatusPanels;

class wMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit wMain(QWidget* parent = nullptr);
  ~wMain() override;

  // Controls, with the names the rest of the program uses.
  QToolBar* tbrTools = nullptr;
  QHash<QString, QIcon> imlTools;
  FileListView* lvwFiles = nullptr;
  SplitterBar* frmCursor = nullptr;
  QLabel* imgSample = nullptr;
  StatusPanels* sbrStatus = nullptr;
  QTimer* tmrLoadFiles = nullptr;

  QMenu* mnuFile = nullptr;
  QAction* mnuFileAdd = nullptr;
  QAction* mnuFileDelete = nullptr;
  QAction* mnuFileDeleteAll = nullptr;
  QAction* mnuFileSep1 = nullptr;
  QAction* mnuFileSave = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuFileSep2 = nullptr;
  QAction* mnuFileQuit = nullptr;
  QMenu* mnuEdit = nullptr;
  QAction* mnuEditCheck = nullptr;
  QAction* mnuEditUncheck = nullptr;
  QAction* mnuEditSep1 = nullptr;
  QAction* mnuEditCheckAll = nullptr;
  QAction* mnuEditUncheckAll = nullptr;
  QAction* mnuEditSep2 = nullptr;
  QAction* mnuEditSelectAll = nullptr;
  QAction* mnuEditSep3 = nullptr;
  QAction* mnuEditProperties = nullptr;
  QMenu* mnuAction = nullptr;
  QAction* mnuActionRename = nullptr;
  QAction* mnuEditUndo = nullptr;  // "Annuler le dernier renommage"
  QAction* mnuEditSep0 = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpIndex = nullptr;
  QAction* mnuHelpAbout = nullptr;

  // The window's inner area (between menu bar and window border; toolbar and status bar lie
  // inside it), in logical pixels.
  int innerWidth() const;
  int innerHeight() const;

  // Start-up, in its fixed order. Returns false when the window unloaded itself (files handed
  // to the instance already running, or no library to work with); the window is then closed
  // and must not be shown, and the program ends with exitCode().
  bool Form_Load();
  // The program's exit status after a start-up that returned false: 0 after a hand-over, 1
  // when the program cannot work.
  int exitCode() const { return exitCode_; }

  // Adds the paths (separated by CR LF) whose extension is a picture's and that are not listed
  // yet, then sorts the list on the date key.
  void AddFiles(const QString& paths);
  // True when a row has that key; a failed look-up is false.
  bool ExistItem(const QString& key);

  // The parameters dialog and the rename operation come with their own modules: they register
  // here what their menu items do. Until a command is registered its menu item and toolbar
  // button stay disabled.
  using Command = std::function<void()>;
  void setCommand(const QString& menuItem, Command command);

  // True while a long addition runs (commands are disabled, drops are queued).
  bool isAdding() const { return adding_; }
  // How often (milliseconds) a long addition lets pending events run.
  void setEventsInterval(int milliseconds) { eventsInterval_ = milliseconds; }

 public slots:
  // File list (commands and events).
  void mnuFileAdd_Click();
  void mnuFileDelete_Click();
  void mnuFileDeleteAll_Click();
  void mnuEditCheck_Click();
  void mnuEditUncheck_Click();
  void mnuEditCheckAll_Click();
  void mnuEditUncheckAll_Click();
  void mnuEditSelectAll_Click();
  // Shows the details of the row (its place in the list; -1 or a row that is not the current
  // one clears them).
  void lvwFiles_ItemClick(int row);
  void lvwFiles_DblClick();
  void lvwFiles_OLEDragDrop(const QStringList& paths);

  // Settings files, help, about, quit.
  void mnuFileOpen_Click();
  void mnuFileSave_Click();
  void mnuFileQuit_Click();
  void mnuHelpIndex_Click();
  void mnuHelpAbout_Click();

  // Registered commands.
  void mnuEditProperties_Click();
  void mnuActionRename_Click();
  void mnuEditUndo_Click();

  // Layout.
  void Form_Resize();
  void frmCursor_MouseMove(Qt::MouseButtons buttons, int x);
  void frmCursor_MouseUp();
  void tbrTools_ButtonClick(QAction* button);

  // The hand-off pick-up, every second.
  void tmrLoadFiles_Timer();

 public:
  // Close prompt: true allows the close.
  bool Form_QueryUnload();
  // Shutdown: stores columns, splitter and placement.
  void Form_Unload();

  // The take-over of old-version settings with its message and save dialog.
  void RecoverOldParams();

  // The rename settings or the clock correction changed: the list's plan and the details of
  // the current row follow them.
  void SettingsChanged();

  // The pictures of the list, in list order; lvwFiles shows them.
  const PictureList& pictures() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  void buildToolbar();
  void buildClientArea();
  QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});
  QAction* addSeparator(QMenu* menu, const char* name);
  void dispatch(const QString& handler);
  void alignBars();
  void updateCommandStates();
  void returnFocusToList();

  // File list internals.
  void queuePaths(const QStringList& paths, bool testExtension);
  void runAdditions();
  void clearDetails();
  void showPreview(const QString& path);

  // Start-up steps.
  void restoreColumns();
  void assignToolbarImages();
  void restoreSplitter();
  void showSplash();
  void startFiles(const QString& commandLine);
  void storeColumnsAndSplitter();

  QWidget* client_ = nullptr;
  QHash<QString, Command> commands_;
  QQueue<QString> pending_;
  bool adding_ = false;
  bool closeRequested_ = false;
  bool unloaded_ = false;
  bool loaded_ = false;  // the start-up has shown the window
  int exitCode_ = 0;
  double cursorPercent_ = 40;
  int eventsInterval_ = 80;
  ErrorHandling::Presenter previousPresenter_;
};
