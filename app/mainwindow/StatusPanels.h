#pragma once
// The status bar sbrStatus: nine panels side by side, addressed by key (or by 1-based index),
// each with a fixed text or a text set by the file list, a tooltip and a designed width. A
// progress bar shows at the right during long additions.
//
// Sharing the width: the captions (panels 1, 4, 6 and 8) always get the width of their whole
// text, at the window's first size (870 pixels) and at any larger one. The value panels share
// what is left: each wants its designed width or its text's, whichever is wider (a full date
// for the date panels, so they keep their width as rows change); when they do not all fit,
// the narrow ones stay whole and the widest are cut to a common width, their text elided and
// whole in the panel's tooltip. Width to spare goes to the NewName panel.

#include <QHash>
#include <QList>
#include <QWidget>

class QLabel;
class QProgressBar;

class StatusPanels : public QWidget {
  Q_OBJECT

 public:
  explicit StatusPanels(QWidget* parent = nullptr);

  int count() const { return static_cast<int>(panels_.size()); }
  // Panel by key; nullptr for an unknown key.
  QLabel* panel(const QString& key) const;
  // Panel by 1-based index; nullptr out of range.
  QLabel* panel(int index) const;
  QString key(int index) const;

  // Sets a keyed panel's text (no effect for an unknown key).
  void setText(const QString& key, const QString& text);
  // The panel's whole text, even while it shows elided.
  QString text(const QString& key) const;

  // Progress of a long addition: shown while total > 0.
  void showProgress(int done, int total);
  void hideProgress();
  bool progressVisible() const;

  // As high as a panel; as wide as all panels want.
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Panel {
    QLabel* label = nullptr;
    QString key;
    QString text;     // the whole text
    QString tooltip;  // the panel's own tooltip
    bool caption = false;
    int designWidth = 0;  // pixels
    QString sample;       // the widest text a value panel is sized for, besides its own
  };

  int chrome(const Panel& panel) const;
  int wantedWidth(const Panel& panel) const;
  void layoutPanels();
  void showText(Panel& panel, int width);

  QList<Panel> panels_;
  QHash<QString, int> byKey_;
  QProgressBar* progress_ = nullptr;
};
