#pragma once
// Context help: every window (or tab page) carries a help topic number in its "HelpContextID"
// property; F1 anywhere in the program opens the help window at the topic of the widget that
// has the focus, or of the nearest parent that has one. The help "file" is a folder of French
// HTML pages beside the program: <topic>.html, and index.html for topic 0.

#include <QString>

class QWidget;

namespace help {

// Topic numbers of the program's windows and pages.
enum Topic : int {
  kContents = 0,
  kMainWindow = 100,
  kParamsNames = 200,   // parameters dialog, page "Noms des fichiers"
  kParamsOffset = 210,  // parameters dialog, page "Décalage horaire"
  kInputDate = 300,
  kAbout = 400,
};

// Sets / reads a widget's own topic (0: none, the parent's applies).
void SetTopic(QWidget* widget, int topic);
// The topic that applies to widget: its own, else the nearest parent's; 0 when none has one.
int TopicOf(const QWidget* widget);
// The topic of the active window of the program (focus widget first).
int ActiveTopic();

// The help folder; set at start-up (program folder + "/" + file name + ".help").
void SetHelpFile(const QString& path);
QString HelpFile();
// The page shown for a topic (it may not exist).
QString PagePath(int topic);

// Makes F1 open the help in every window of the program (installed once).
void InstallF1Handler();

// Opens (or raises) the help window at the topic; usable above a modal dialog.
void ShowHelpWindow(int topic);

}  // namespace help
