#include "app/dialogs/wInputDate.h"

#include "app/common/ErrorHandling.h"
#include "app/ui/HelpSystem.h"
#include "app/ui/Twips.h"
#include "app/ui/UiServices.h"
#include "runtime/Conversions.h"
#include "runtime/DateValue.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

using ErrorHandling::Guarded;
using ui::Ui;

namespace {

enum Box { kDay = 0, kMonth = 1, kYear = 2, kHour = 3, kMinute = 4, kSecond = 5 };

// The designed width of the buttons and the gap between the date and the time, in twips.
constexpr int kButtonWidth = 1080;
constexpr int kDesignedWidth = 3555;
constexpr int kMargin = 6;
constexpr int kSpacing = 6;

const char* const kLabelTexts[] = {
    "Entrez une date permettant de classer le fichier à l'emplacement voulu parmi les autres fichiers.",
    "JJ  /  MM  /  AAAA",
    "HH  :  MM  :  SS",
    " /         /",
    ":          :",
    "Nom actuel : "};
const char* const kButtonTexts[] = {"Annuler", "OK", "Aide (F1)"};

// A box's number as the leading number of its text (empty or not a number: 0); nullopt when
// it is not a whole number of a size a date field can have.
std::optional<int> boxNumber(const QString& text) {
  double value = 0;
  try {
    value = rt::leadingNumber(text);
  } catch (const rt::RuntimeError&) {
    return std::nullopt;
  }
  if (!std::isfinite(value) || value != std::trunc(value) || std::fabs(value) > 1e6) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

wInputDate::wInputDate(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("wInputDate"));
  setWindowTitle(QStringLiteral("Date de classement"));
  setModal(true);
  help::SetTopic(this, help::kInputDate);
  for (int i = 0; i <= 5; ++i) {
    lblLabels[i] = new QLabel(QString::fromUtf8(kLabelTexts[i]), this);
    lblLabels[i]->setObjectName(QStringLiteral("lblLabels"));
    lblLabels[i]->setProperty("Index", i);
  }
  lblLabels[0]->setWordWrap(true);
  txtOldName = new QLineEdit(this);
  txtOldName->setObjectName(QStringLiteral("txtOldName"));
  txtOldName->setReadOnly(true);
  for (int i = 0; i <= 5; ++i) {
    txtDate[i] = new QLineEdit(this);
    txtDate[i]->setObjectName(QStringLiteral("txtDate"));
    txtDate[i]->setProperty("Index", i);
    txtDate[i]->setAlignment(Qt::AlignCenter);
  }
  for (int i = 0; i <= 2; ++i) {
    cmdBoutons[i] = new QPushButton(QString::fromUtf8(kButtonTexts[i]), this);
    cmdBoutons[i]->setObjectName(QStringLiteral("cmdBoutons"));
    cmdBoutons[i]->setProperty("Index", i);
    connect(cmdBoutons[i], &QPushButton::clicked, this, [this, i] { cmdBoutons_Click(i); });
  }
  cmdBoutons[1]->setDefault(true);
  // Tab order: day, month, year, hour, minute, second, then the buttons.
  for (int i = 0; i < 5; ++i) setTabOrder(txtDate[i], txtDate[i + 1]);
  setTabOrder(txtDate[5], cmdBoutons[1]);
  setTabOrder(cmdBoutons[1], cmdBoutons[0]);
  setTabOrder(cmdBoutons[0], cmdBoutons[2]);
  layOut();
  txtDate[kDay]->setFocus();
}

// The designed arrangement: the explanation, the current name, then the six boxes in a row
// under their hints, the separator labels drawn between them. The boxes are placed from the
// separators' positions in the font in use, so that each separator falls between two boxes.
void wInputDate::layOut() {
  const QFontMetrics fm = fontMetrics();
  const int boxHeight = txtDate[0]->sizeHint().height();
  const int narrow = fm.horizontalAdvance(QStringLiteral("00")) + 14;
  const int wide = fm.horizontalAdvance(QStringLiteral("0000")) + 14;

  // Centres of the two separator characters of a label, from the label's left edge.
  const auto centres = [&fm](const QString& text, QChar separator) {
    const int half = fm.horizontalAdvance(separator) / 2;
    return std::pair<int, int>{fm.horizontalAdvance(text.left(text.indexOf(separator))) + half,
                               fm.horizontalAdvance(text.left(text.lastIndexOf(separator))) + half};
  };
  // Places first / middle / last box around a label's two separators; returns the right edge.
  const auto placeGroup = [&](int left, QLabel* label, QChar separator, QLineEdit* first, QLineEdit* middle,
                              QLineEdit* last, int lastWidth, int top) {
    const auto [c1, c2] = centres(label->text(), separator);
    const int half = fm.horizontalAdvance(separator) / 2 + 2;
    const int labelLeft = left + narrow + half - c1;
    const int middleWidth = std::max(fm.horizontalAdvance(QStringLiteral("0")) + 8, std::min(narrow, c2 - c1 - 2 * half));
    first->setGeometry(left, top, narrow, boxHeight);
    middle->setGeometry(labelLeft + (c1 + c2) / 2 - middleWidth / 2, top, middleWidth, boxHeight);
    last->setGeometry(labelLeft + c2 + half, top, lastWidth, boxHeight);
    label->setGeometry(labelLeft, top, fm.horizontalAdvance(label->text()) + 4, boxHeight);
    return last->geometry().right() + 1;
  };

  const int buttonWidth = std::max({twips::toPixels(kButtonWidth), cmdBoutons[0]->sizeHint().width(),
                                    cmdBoutons[1]->sizeHint().width(), cmdBoutons[2]->sizeHint().width()});
  // Boxes first, to know the width they need.
  const int dateRight = placeGroup(kMargin, lblLabels[3], QLatin1Char('/'), txtDate[kDay], txtDate[kMonth],
                                   txtDate[kYear], wide, 0);
  const int timeLeft = dateRight + fm.horizontalAdvance(QStringLiteral("0000"));
  const int timeRight = placeGroup(timeLeft, lblLabels[4], QLatin1Char(':'), txtDate[kHour], txtDate[kMinute],
                                   txtDate[kSecond], narrow, 0);
  const int width = std::max({timeRight + kMargin, 3 * buttonWidth + 2 * kSpacing + 2 * kMargin,
                              twips::toPixels(kDesignedWidth)});

  int top = kMargin;
  lblLabels[0]->setGeometry(kMargin, top, width - 2 * kMargin, lblLabels[0]->heightForWidth(width - 2 * kMargin));
  top += lblLabels[0]->height() + kSpacing;
  const int nameLabelWidth = fm.horizontalAdvance(lblLabels[5]->text()) + 4;
  lblLabels[5]->setGeometry(kMargin, top, nameLabelWidth, boxHeight);
  txtOldName->setGeometry(kMargin + nameLabelWidth, top, width - 2 * kMargin - nameLabelWidth, boxHeight);
  top += boxHeight + kSpacing;
  lblLabels[1]->setGeometry(txtDate[kDay]->x(), top, fm.horizontalAdvance(lblLabels[1]->text()) + 4, fm.height());
  lblLabels[2]->setGeometry(txtDate[kHour]->x(), top, fm.horizontalAdvance(lblLabels[2]->text()) + 4, fm.height());
  top += fm.height() + 2;
  for (QWidget* widget : {static_cast<QWidget*>(lblLabels[3]), static_cast<QWidget*>(lblLabels[4])})
    widget->move(widget->x(), top);
  for (QLineEdit* box : txtDate) box->move(box->x(), top);
  top += boxHeight + 2 * kSpacing;
  // Buttons left to right: OK, Annuler, Aide (F1).
  const int buttonHeight = std::max(twips::toPixels(330), cmdBoutons[1]->sizeHint().height());
  const int step = (width - 2 * kMargin - buttonWidth) / 2;
  const int order[] = {1, 0, 2};
  for (int i = 0; i < 3; ++i) cmdBoutons[order[i]]->setGeometry(kMargin + i * step, top, buttonWidth, buttonHeight);
  setFixedSize(width, top + buttonHeight + kMargin);
}

void wInputDate::InitGDH(const QString& key) {
  Guarded(QStringLiteral("wInputDate.InitDate"), [&] {
    const QString padded = key.leftJustified(14, QLatin1Char(' '), true);
    txtDate[kDay]->setText(padded.mid(6, 2));
    txtDate[kMonth]->setText(padded.mid(4, 2));
    txtDate[kYear]->setText(padded.mid(0, 4));
    txtDate[kHour]->setText(padded.mid(8, 2));
    txtDate[kMinute]->setText(padded.mid(10, 2));
    txtDate[kSecond]->setText(padded.mid(12, 2));
  });
}

void wInputDate::InitDate(double value) {
  Guarded(QStringLiteral("wInputDate.InitDate"), [&] {
    const rt::DateParts parts = rt::splitDate(value);
    txtDate[kDay]->setText(QString::number(parts.day));
    txtDate[kMonth]->setText(QString::number(parts.month));
    txtDate[kYear]->setText(QString::number(parts.year));
    txtDate[kHour]->setText(QString::number(parts.hour));
    txtDate[kMinute]->setText(QString::number(parts.minute));
    txtDate[kSecond]->setText(QString::number(parts.second));
  });
}

QString wInputDate::VerifyDate() {
  QString result;
  Guarded(QStringLiteral("wInputDate.VerifyDate"), [&] {
    std::array<std::optional<int>, 6> typed;
    for (int i = 0; i <= 5; ++i) typed[i] = boxNumber(txtDate[i]->text());

    // The moment the boxes name, fields out of range carrying over into the next ones.
    std::optional<rt::DateValue> candidate;
    if (std::all_of(typed.begin(), typed.end(), [](const std::optional<int>& v) { return v.has_value(); })) {
      try {
        candidate = rt::makeDate(*typed[kYear], *typed[kMonth], *typed[kDay], *typed[kHour], *typed[kMinute],
                                 *typed[kSecond]);
      } catch (const rt::RuntimeError&) {
        candidate.reset();  // outside the years a date can have
      }
    }

    // A two-digit year is shown as a year of this century.
    if (!txtDate[kYear]->text().isEmpty() && typed[kYear] && *typed[kYear] >= 0 && *typed[kYear] < 100) {
      typed[kYear] = *typed[kYear] + 2000;
      txtDate[kYear]->setText(QString::number(*typed[kYear]));
    }

    // Valid exactly when building the moment changed no field.
    if (!candidate) return;
    const rt::DateParts built = rt::splitDate(*candidate);
    const int fields[] = {built.day, built.month, built.year, built.hour, built.minute, built.second};
    for (int i = 0; i <= 5; ++i) {
      if (fields[i] != *typed[i]) return;
    }
    result = rt::toDateKey(*candidate);
  });
  return result;
}

void wInputDate::cmdBoutons_Click(int index) {
  Guarded(QStringLiteral("wInputDate.cmdBoutons_Click"), [&] {
    switch (index) {
      case 0:
        gdh_.clear();
        done(QDialog::Rejected);
        break;
      case 1:
        gdh_ = VerifyDate();
        if (!gdh_.isEmpty()) {
          done(QDialog::Accepted);
        } else {
          Ui().messageBox(QStringLiteral("Date incorrecte !"), ui::Buttons::Ok, ui::Icon::Critical);
        }
        break;
      case 2:
        Ui().sendHelpKey();
        break;
      default:
        rt::raise(rt::ErrSubscript);
    }
  });
}

void wInputDate::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cmdBoutons[0]->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
