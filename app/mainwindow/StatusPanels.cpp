#include "app/mainwindow/StatusPanels.h"

#include "app/ui/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace {

struct PanelLayout {
  const char* text;
  const char* key;
  const char* tooltip;
  int widthTwips;
};

// Panel 1 may not shrink below 100 twips; panel 4's designed width is below its minimum of 800.
const PanelLayout kPanels[] = {
    {"Nom futur (sauf indice) : ", "", "", 1890},
    {"", "NewName", "", 2300},
    {"", "ImgSize", "Taille et couleurs de l'image", 1500},
    {"Creation :", "CreateLabel", "Date de création image", 800},
    {"", "CreateDate", "Date de création image", 1650},
    {"Modif :", "ModifLabel", "Date de modification image", 800},
    {"", "ModifDate", "Date de modification image", 1650},
    {"Fichier :", "FileLabel", "Date de modification fichier", 800},
    {"", "FileDate", "Date de modification fichier", 1650},
};

constexpr int kMarginX = 1;
constexpr int kMarginY = 2;
constexpr int kSpacing = 2;

// The widths of the value panels when they want more than `room` together: every panel at
// most a common cap, chosen as large as fits, so the narrower ones stay whole.
QList<int> cutToRoom(const QList<int>& wanted, int room) {
  QList<int> sorted = wanted;
  std::sort(sorted.begin(), sorted.end());
  int cap = 0;
  int left = std::max(0, room);
  for (qsizetype i = 0; i < sorted.size(); ++i) {
    const int share = left / static_cast<int>(sorted.size() - i);
    if (sorted[i] > share) {
      cap = share;
      break;
    }
    left -= sorted[i];
    cap = sorted[i];
  }
  QList<int> widths;
  for (int width : wanted) widths.append(std::min(width, cap));
  return widths;
}

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("sbrStatus"));
  for (const PanelLayout& layout : kPanels) {
    Panel panel;
    panel.key = QString::fromUtf8(layout.key);
    panel.text = QString::fromUtf8(layout.text);
    panel.tooltip = QString::fromUtf8(layout.tooltip);
    panel.caption = !panel.text.isEmpty();
    panel.designWidth = twips::toPixels(layout.widthTwips);
    if (panel.key.endsWith(QStringLiteral("Date"))) panel.sample = QStringLiteral("00/00/0000 00:00:00");
    if (panel.key == QStringLiteral("ImgSize")) panel.sample = QStringLiteral("0000x0000x16M ");
    panel.label = new QLabel(panel.text, this);
    panel.label->setObjectName(panel.key.isEmpty() ? QStringLiteral("Panel%1").arg(panels_.size() + 1) : panel.key);
    panel.label->setToolTip(panel.tooltip);
    panel.label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel.label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    panel.label->installEventFilter(this);
    if (!panel.key.isEmpty()) byKey_.insert(panel.key, static_cast<int>(panels_.size()));
    panels_.append(panel);
  }
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("prgAdding"));
  progress_->setFixedWidth(twips::toPixels(1650));
  progress_->setTextVisible(true);
  progress_->hide();
}

QLabel* StatusPanels::panel(const QString& key) const {
  const int index = byKey_.value(key, -1);
  return index < 0 ? nullptr : panels_.at(index).label;
}

QLabel* StatusPanels::panel(int index) const {
  if (index < 1 || index > panels_.size()) return nullptr;
  return panels_.at(index - 1).label;
}

QString StatusPanels::key(int index) const {
  if (index < 1 || index > panels_.size()) return QString();
  return panels_.at(index - 1).key;
}

void StatusPanels::setText(const QString& key, const QString& text) {
  const int index = byKey_.value(key, -1);
  if (index < 0) return;
  panels_[index].text = text;
  layoutPanels();
}

QString StatusPanels::text(const QString& key) const {
  const int index = byKey_.value(key, -1);
  return index < 0 ? QString() : panels_.at(index).text;
}

void StatusPanels::showProgress(int done, int total) {
  if (total <= 0) {
    hideProgress();
    return;
  }
  progress_->setRange(0, total);
  progress_->setValue(done);
  progress_->setFormat(QStringLiteral("Ajout : %v / %m"));
  if (progress_->isHidden()) {
    progress_->show();
    layoutPanels();
  }
}

void StatusPanels::hideProgress() {
  if (progress_->isHidden()) return;
  progress_->hide();
  layoutPanels();
}

bool StatusPanels::progressVisible() const { return progress_->isVisible(); }

QSize StatusPanels::sizeHint() const {
  int width = 2 * kMarginX;
  int height = 0;
  for (const Panel& panel : panels_) {
    width += wantedWidth(panel) + kSpacing;
    height = std::max(height, panel.label->sizeHint().height());
  }
  return QSize(width, height + 2 * kMarginY);
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutPanels();
}

// A panel shown or hidden (ImgSize) gives or takes its width.
bool StatusPanels::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) layoutPanels();
  return QWidget::eventFilter(watched, event);
}

// What a panel adds around its text: the frame on both sides and the indent of a framed label.
int StatusPanels::chrome(const Panel& panel) const {
  const QLabel* label = panel.label;
  return 2 * label->frameWidth() + 2 * label->margin() + label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 + 1;
}

int StatusPanels::wantedWidth(const Panel& panel) const {
  const QFontMetrics metrics = panel.label->fontMetrics();
  const int text = std::max(metrics.horizontalAdvance(panel.text), metrics.horizontalAdvance(panel.sample));
  return std::max(panel.designWidth, text + chrome(panel));
}

void StatusPanels::layoutPanels() {
  QList<int> shown;
  for (int i = 0; i < panels_.size(); ++i) {
    if (!panels_[i].label->isHidden()) shown.append(i);
  }
  if (shown.isEmpty()) return;
  int room = width() - 2 * kMarginX - kSpacing * static_cast<int>(shown.size() - 1);
  if (!progress_->isHidden()) room -= progress_->width() + kSpacing;
  QList<int> values;
  QList<int> wanted;
  QHash<int, int> widths;
  for (int i : shown) {
    const int want = wantedWidth(panels_[i]);
    if (panels_[i].caption) {
      widths.insert(i, want);
      room -= want;
    } else {
      values.append(i);
      wanted.append(want);
    }
  }
  int sum = 0;
  for (int want : wanted) sum += want;
  const QList<int> valueWidths = sum <= room ? wanted : cutToRoom(wanted, room);
  for (qsizetype v = 0; v < values.size(); ++v) widths.insert(values[v], valueWidths[v]);
  const int newName = byKey_.value(QStringLiteral("NewName"));
  if (sum < room && widths.contains(newName)) widths[newName] += room - sum;

  int x = kMarginX;
  const int height = std::max(0, this->height() - 2 * kMarginY);
  for (int i : shown) {
    Panel& panel = panels_[i];
    panel.label->setGeometry(x, kMarginY, widths.value(i), height);
    showText(panel, widths.value(i));
    x += widths.value(i) + kSpacing;
  }
  if (!progress_->isHidden()) progress_->setGeometry(x, kMarginY, progress_->width(), height);
}

// The panel's text as far as the width allows: cut with an ellipsis, and then whole in the
// tooltip.
void StatusPanels::showText(Panel& panel, int width) {
  const QString shown = panel.label->fontMetrics().elidedText(panel.text, Qt::ElideRight, width - chrome(panel));
  panel.label->setText(shown);
  if (shown == panel.text) {
    panel.label->setToolTip(panel.tooltip);
  } else {
    panel.label->setToolTip(panel.tooltip.isEmpty() ? panel.text : panel.tooltip + QLatin1Char('\n') + panel.text);
  }
}
