#include "app/mainwindow/StatusPanels.h"

#include "app/mainwindow/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

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

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("sbrStatus"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(1, 2, 1, 2);
  layout->setSpacing(2);
  for (const PanelLayout& panel : kPanels) {
    auto* label = new QLabel(QString::fromUtf8(panel.text), this);
    const QString key = QString::fromUtf8(panel.key);
    label->setObjectName(key.isEmpty() ? QStringLiteral("Panel%1").arg(panels_.size() + 1) : key);
    label->setToolTip(QString::fromUtf8(panel.tooltip));
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A panel is never narrower than its designed width, nor than its fixed text or a full
    // date or size in the font in use.
    QString widest = label->text();
    if (key.endsWith(QStringLiteral("Date"))) widest = QStringLiteral("00/00/0000 00:00:00");
    if (key == QStringLiteral("ImgSize")) widest = QStringLiteral("00000x00000x16M ");
    const int textWidth = label->fontMetrics().horizontalAdvance(widest) + 2 * label->frameWidth() + 8;
    const int width = std::max(twips::toPixels(panel.widthTwips), textWidth);
    if (key == QStringLiteral("NewName")) {
      label->setMinimumWidth(width);
      layout->addWidget(label, 1);
    } else {
      label->setFixedWidth(width);
      layout->addWidget(label);
    }
    panels_.append(label);
    if (!key.isEmpty()) byKey_.insert(key, label);
  }
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("prgAdding"));
  progress_->setFixedWidth(twips::toPixels(1650));
  progress_->setTextVisible(true);
  progress_->hide();
  layout->addWidget(progress_);
}

QLabel* StatusPanels::panel(int index) const {
  if (index < 1 || index > panels_.size()) return nullptr;
  return panels_.at(index - 1);
}

QString StatusPanels::key(int index) const {
  if (index < 1 || index > panels_.size()) return QString();
  return QString::fromUtf8(kPanels[index - 1].key);
}

void StatusPanels::setText(const QString& key, const QString& text) {
  if (QLabel* label = panel(key)) label->setText(text);
}

QString StatusPanels::text(const QString& key) const {
  const QLabel* label = panel(key);
  return label ? label->text() : QString();
}

void StatusPanels::showProgress(int done, int total) {
  if (total <= 0) {
    hideProgress();
    return;
  }
  progress_->setRange(0, total);
  progress_->setValue(done);
  progress_->setFormat(QStringLiteral("Ajout : %v / %m"));
  progress_->show();
}

void StatusPanels::hideProgress() { progress_->hide(); }
bool StatusPanels::progressVisible() const { return progress_->isVisible(); }
