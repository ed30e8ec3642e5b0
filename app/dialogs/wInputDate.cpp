#include "app/dialogs/wInputDate.h"

#include "app/common/ErrorHandling.h"
#include "app/mainwindow/HelpSystem.h"
#include "app/mainwindow/Twips.h"
#include "app/mainwindow/UiServices.h"
#include "runtime/Conversions.h"
#include "runtime/DateValue.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using ErrorHandling::Guarded;
using ui::Ui;

namespace {

enum Box { kDay = 0, kMonth = 1, kYear = 2, kHour = 3, kMinute = 4, kSecond = 5 };

// Designed rectangles in twips: left, top, width, height.
struct Rect {
  int left, top, width, height;
};
constexpr Rect kLabelRects[] = {{60, 105, 3420, 465}, {120, 945, 1350, 195}, {2160, 945, 1170, 195},
                                {330, 1275, 600, 195}, {2490, 1230, 540, 195}, {60, 630, 945, 195}};
constexpr Rect kOldNameRect = {1020, 615, 2400, 285};
constexpr Rect kBoxRects[] = {{45, 1215, 300, 285},  {510, 1215, 300, 285},  {990, 1215, 585, 285},
                              {2130, 1215, 300, 285}, {2625, 1215, 300, 285}, {3075, 1215, 300, 285}};
constexpr Rect kButtonRects[] = {{1232, 1650, 1080, 330}, {73, 1650, 1080, 330}, {2402, 1650, 1080, 330}};
constexpr int kClientWidth = 3555;
constexpr int kClientHeight = 2070;

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

// The designed arrangement, scaled to the font in use (designed for a font 13 pixels high).
void wInputDate::layOut() {
  const double scale = std::max(1.0, fontMetrics().height() / 13.0);
  const auto place = [scale](QWidget* widget, const Rect& r) {
    const auto px = [scale](int value) { return static_cast<int>(std::lround(value * scale / twips::kPerPixel)); };
    widget->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
  };
  for (int i = 0; i <= 5; ++i) place(lblLabels[i], kLabelRects[i]);
  place(txtOldName, kOldNameRect);
  for (int i = 0; i <= 5; ++i) place(txtDate[i], kBoxRects[i]);
  for (int i = 0; i <= 2; ++i) place(cmdBoutons[i], kButtonRects[i]);
  setFixedSize(static_cast<int>(std::lround(kClientWidth * scale / twips::kPerPixel)),
               static_cast<int>(std::lround(kClientHeight * scale / twips::kPerPixel)));
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
