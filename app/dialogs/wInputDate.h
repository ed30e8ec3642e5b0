#pragma once
// The date-input dialog "Date de classement": asks for the date and time of one picture that
// has none, so that the picture is named (and falls among the others) after it. Six boxes: day,
// month, year, hour, minute, second.
//
// Life cycle: the caller creates it, fills it (InitGDH or InitDate, and txtOldName), shows it
// modally, reads GDH after it hid itself and destroys it. GDH is the accepted date key
// "yyyymmddhhmmss", or "" when the user cancelled (Annuler, Escape or the close box).
//
// Handlers report their failures as wInputDate.<member> and end there.

#include "app/dialogs/ControlArray.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class wInputDate : public QDialog {
  Q_OBJECT

 public:
  explicit wInputDate(QWidget* owner = nullptr);

  // Fills the boxes from a date key, without checking it: the key is padded with blanks to 14
  // characters, then day = characters 7-8, month 5-6, year 1-4, hour 9-10, minute 11-12,
  // second 13-14.
  void InitGDH(const QString& key);
  // Fills the boxes with the fields of a date value, without leading zeros. A value outside
  // years 100..9999 is reported (wInputDate.InitDate) and leaves the boxes as they were.
  void InitDate(double value);
  // The accepted date key, or "".
  QString GDH() const { return gdh_; }

  // Caption texts: 0 explanation, 1 date hint, 2 time hint, 3 and 4 the separators drawn
  // between the boxes, 5 "Nom actuel : ".
  ControlArray<QLabel, 0, 5> lblLabels;
  QLineEdit* txtOldName = nullptr;
  // 0 day, 1 month, 2 year, 3 hour, 4 minute, 5 second.
  ControlArray<QLineEdit, 0, 5> txtDate;
  // 0 "Annuler", 1 "OK", 2 "Aide (F1)".
  ControlArray<QPushButton, 0, 2> cmdBoutons;

 public slots:
  void cmdBoutons_Click(int index);

 protected:
  // Escape clicks "Annuler".
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The date key of the six boxes when they name a real moment exactly (no field out of range),
  // else "". A year box holding 0 to 99 is rewritten as that year + 2000 first; the date is
  // built from the year as typed (a two-digit year) and compared with the rewritten box.
  QString VerifyDate();
  void layOut();

  QString gdh_;
};
