#pragma once
// The status bar sbrStatus: nine panels side by side, addressed by key (or by 1-based index),
// each with a fixed text or a text set by the file list, a tooltip and a designed width. The
// NewName panel takes the width left over. A progress bar shows during long additions.

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
  QLabel* panel(const QString& key) const { return byKey_.value(key, nullptr); }
  // Panel by 1-based index; nullptr out of range.
  QLabel* panel(int index) const;
  QString key(int index) const;

  // Sets a keyed panel's text (no effect for an unknown key).
  void setText(const QString& key, const QString& text);
  QString text(const QString& key) const;

  // Progress of a long addition: shown while total > 0.
  void showProgress(int done, int total);
  void hideProgress();
  bool progressVisible() const;

 private:
  QList<QLabel*> panels_;
  QHash<QString, QLabel*> byKey_;
  QProgressBar* progress_ = nullptr;
};
