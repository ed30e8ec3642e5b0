// wParams: loading and storing the settings, the field rules, the example name, the time
// difference, the key filters and the buttons.
#include "app/dialogs/SettingsFileDialog.h"
#include "app/dialogs/TimeOffsetText.h"
#include "app/dialogs/UpDown.h"
#include "app/dialogs/wParams.h"

#include "app/common/AppSettings.h"
#include "app/common/ErrorHandling.h"
#include "app/common/KeyFilters.h"
#include "app/common/Orvofonctions2.h"
#include "app/ui/HelpSystem.h"
#include "app/ui/UiServices.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/NameComposition.h"
#include "app/naming/SettingsFile.h"
#include "app/naming/SpecialFolders.h"
#include "runtime/Conversions.h"
#include "runtime/DateValue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

using ErrorHandling::Guarded;
using ui::Ui;

namespace {

// Where each combo's items hold the separator that is stored (1-based). The time combo's
// "  HH h MM m SS" shows a second separator too; settings keep only the first.
constexpr int kFirstSeparatorAt = 6;
constexpr int kDateTimeSeparatorAt = 3;

constexpr double kStartNumberLimit = 2147483648.0;  // 2^31

// The character at a 1-based position of the selected item; "" when no item is selected.
QString separatorAt(const QComboBox* combo, int position) { return combo->currentText().mid(position - 1, 1); }

QString routine(const char* name) { return QStringLiteral("wParams.") + QString::fromLatin1(name); }

}  // namespace

// ---- Opening and pages ----

void wParams::Form_Load() {
  Guarded(routine("Form_Load"), [&] {
    for (int i = 1; i <= 2; ++i) {
      frmPage[i]->setFrameShape(QFrame::NoFrame);
      while (tbsOnglets->count() < i) tbsOnglets->addTab(QString());
      tbsOnglets->setTabText(i - 1, frmPage[i]->windowTitle());
    }
    tbsOnglets->setCurrentIndex(0);
    tbsOnglets_Click();
    adjustSize();
    LoadDefaults();
  });
}

void wParams::tbsOnglets_Click() {
  Guarded(routine("tbsOnglets_Click"), [&] {
    const int selected = tbsOnglets->currentIndex() + 1;
    for (int i = 1; i <= 2; ++i) frmPage[i]->setVisible(i == selected);
    if (frmPage.contains(selected)) help::SetTopic(this, help::TopicOf(frmPage[selected]));
  });
}

void wParams::SetSettingsMode() {
  // "Annuler" goes; "Fermer" takes its place at the right end and answers Enter and Escape.
  cmdBoutons[0]->hide();
  cmdBoutons[1]->setText(QStringLiteral("Fermer"));
  cmdBoutons[1]->setDefault(true);
  cancelIndex_ = 1;
}

void wParams::SetConfirmationMode() {
  cmdBoutons[0]->show();
  cmdBoutons[1]->setText(QStringLiteral("OK"));
  cmdBoutons[1]->setDefault(true);
  cancelIndex_ = 0;
}

void wParams::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    QPushButton* cancel = cmdBoutons[cancelIndex_];
    if (cancel->isVisible() && cancel->isEnabled()) cancel->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

// ---- Settings <-> controls ----

void wParams::LoadDefaults() {
  const ConfigClass& config = CurrentConfig();
  // Date fields before time fields: the field rules let a time field on only after the date.
  for (int i = 1; i <= 3; ++i) chkDate[i]->setChecked(config.IsDateDigit(i));
  for (int i = 0; i <= 1; ++i) chkDateSep[i]->setChecked(config.IsDateSep(i));
  for (int i = 1; i <= 3; ++i) chkTime[i]->setChecked(config.IsTimeDigit(i));
  for (int i = 0; i <= 1; ++i) chkTimeSep[i]->setChecked(config.IsTimeSep(i));
  UpdateComboIndex(cboDateSep, config.DateSep());
  UpdateComboIndex(cboTimeSep, config.TimeSep());
  chkDateTimeSep->setChecked(!config.DateTimeSep().isEmpty());
  UpdateComboIndex(cboDateTimeSep, config.DateTimeSep());
  txtPrefixe->setText(config.Prefix());
  txtPostfixe->setText(config.Postfix());
  chkSuffixe->setChecked(config.IsSuffix());
  updDigits->setValue(config.Digits());
  txtSuffixStart->setText(QString::number(config.StartNum()));
  setOption(QStringLiteral("optSuffixe"), config.SuffixType());
  setOption(QStringLiteral("optNotExif"), config.NotExif());
  setOption(QStringLiteral("optExtension"), config.Extension());
  chkCompanions->setChecked(config.Companions());
  chkTimeOffset[0]->setChecked(config.OffsetApply());
  chkTimeOffset[1]->setChecked(config.OffsetNoDate());
  txtTimeOffset[0]->setText(config.DateExif() == 0 ? QString() : rt::generalDateText(config.DateExif()));
  txtTimeOffset[1]->setText(config.DateReal() == 0 ? QString() : rt::generalDateText(config.DateReal()));
  // A control whose value did not change fired nothing: bring what depends on them up to date.
  chkSuffixe_Click();
  updDigits_Change();
  txtTimeOffset_Change(0);
}

void wParams::UpdateConfig() {
  // The only conversion that can fail comes first, so that a failure stores nothing.
  const int32_t startNum = rt::toInt32(txtSuffixStart->text());
  storeControls(CurrentConfig(), startNum);
}

void wParams::storeControls(ConfigClass& config, int32_t startNum) const {
  for (int i = 1; i <= 3; ++i) config.SetIsDateDigit(i, chkDate[i]->isChecked());
  for (int i = 0; i <= 1; ++i) config.SetIsDateSep(i, chkDateSep[i]->isChecked());
  for (int i = 1; i <= 3; ++i) config.SetIsTimeDigit(i, chkTime[i]->isChecked());
  for (int i = 0; i <= 1; ++i) config.SetIsTimeSep(i, chkTimeSep[i]->isChecked());
  config.SetDateSep(separatorAt(cboDateSep, kFirstSeparatorAt));
  config.SetTimeSep(separatorAt(cboTimeSep, kFirstSeparatorAt));
  config.SetDateTimeSep(chkDateTimeSep->isChecked() ? separatorAt(cboDateTimeSep, kDateTimeSeparatorAt) : QString());
  config.SetPrefix(txtPrefixe->text());
  config.SetPostfix(txtPostfixe->text());
  config.SetIsSuffix(chkSuffixe->isChecked());
  config.SetDigits(static_cast<uint8_t>(updDigits->value()));
  config.SetStartNum(startNum);
  config.SetSuffixType(static_cast<uint8_t>(GetOptionValue(QStringLiteral("optSuffixe"))));
  config.SetNotExif(static_cast<uint8_t>(GetOptionValue(QStringLiteral("optNotExif"))));
  config.SetExtension(static_cast<uint8_t>(GetOptionValue(QStringLiteral("optExtension"))));
  config.SetCompanions(chkCompanions->isChecked());
  config.SetOffsetApply(chkTimeOffset[0]->isChecked());
  config.SetOffsetNoDate(chkTimeOffset[1]->isChecked());
  config.SetDateExif(rt::readDate(txtTimeOffset[0]->text()).value_or(0.0));
  config.SetDateReal(rt::readDate(txtTimeOffset[1]->text()).value_or(0.0));
}

ConfigClass wParams::controlsAsSettings() const {
  ConfigClass scratch = CurrentConfig();
  storeControls(scratch, scratch.StartNum());
  return scratch;
}

void wParams::UpdateComboIndex(QComboBox* combo, const QString& separator) {
  const int position = combo == cboDateTimeSep ? kDateTimeSeparatorAt : kFirstSeparatorAt;
  int index = separator.isEmpty() ? 0 : -1;
  for (int i = 0; index < 0 && i < combo->count(); ++i) {
    if (combo->itemText(i).mid(position - 1, 1) == separator) index = i;
  }
  combo->setCurrentIndex(index);
}

int16_t wParams::GetOptionValue(const QString& arrayName) const {
  for (const QRadioButton* option : findChildren<QRadioButton*>(arrayName)) {
    if (option->isChecked()) return static_cast<int16_t>(option->property("Index").toInt());
  }
  return 0;
}

// Checks the option of that index; a code no option has leaves them all unchecked.
void wParams::setOption(const QString& arrayName, int index) {
  for (QRadioButton* option : findChildren<QRadioButton*>(arrayName)) {
    if (option->property("Index").toInt() == index) {
      option->setChecked(true);
      return;
    }
  }
  for (QRadioButton* option : findChildren<QRadioButton*>(arrayName)) {
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
  }
}

// ---- The example name ----

// The example is what the rename would write with the controls stored as settings: the
// settings' own composition, never a second one.
QString wParams::FormatName(const QString& sGDH) const { return controlsAsSettings().FormatName(sGDH); }

void wParams::refreshExample() {
  const ConfigClass settings = controlsAsSettings();
  QString example = settings.FormatName(rt::toDateKey(rt::now()));
  if (settings.IsSuffix()) example += SuffixPattern(settings.Digits(), settings.SuffixType());
  txtFormat->setText(example);
}

// ---- Field rules: the checked fields always form a prefix of year, month, day, hour,
// minutes, seconds ----

void wParams::chkDate_Click(int /*index*/) {
  Guarded(routine("chkDate_Click"), [&] {
    if (!chkDate[1]->isChecked()) chkDate[2]->setChecked(false);
    if (!chkDate[2]->isChecked()) chkDate[3]->setChecked(false);
    if (!chkDate[3]->isChecked()) {
      for (int i = 1; i <= 3; ++i) chkTime[i]->setChecked(false);
    }
    refreshExample();
  });
}

void wParams::chkTime_Click(int /*index*/) {
  Guarded(routine("chkTime_Click"), [&] {
    const bool wholeDate = chkDate[1]->isChecked() && chkDate[2]->isChecked() && chkDate[3]->isChecked();
    if (!wholeDate) chkTime[1]->setChecked(false);
    if (!chkTime[1]->isChecked()) chkTime[2]->setChecked(false);
    if (!chkTime[2]->isChecked()) chkTime[3]->setChecked(false);
    refreshExample();
  });
}

void wParams::chkDateSep_Click(int /*index*/) { Guarded(routine("chkDateSep_Click"), [&] { refreshExample(); }); }
void wParams::chkTimeSep_Click(int /*index*/) { Guarded(routine("chkTimeSep_Click"), [&] { refreshExample(); }); }
void wParams::chkDateTimeSep_Click() { Guarded(routine("chkDateTimeSep_Click"), [&] { refreshExample(); }); }
void wParams::cboDateSep_Click() { Guarded(routine("cboDateSep_Click"), [&] { refreshExample(); }); }
void wParams::cboTimeSep_Click() { Guarded(routine("cboTimeSep_Click"), [&] { refreshExample(); }); }
void wParams::cboDateTimeSep_Click() { Guarded(routine("cboDateTimeSep_Click"), [&] { refreshExample(); }); }
void wParams::txtPrefixe_Change() { Guarded(routine("txtPrefixe_Change"), [&] { refreshExample(); }); }
void wParams::txtPostfixe_Change() { Guarded(routine("txtPostfixe_Change"), [&] { refreshExample(); }); }
void wParams::optNotExif_Click(int /*index*/) { Guarded(routine("optNotExif_Click"), [&] { refreshExample(); }); }

// ---- Suffix ----

void wParams::chkSuffixe_Click() {
  Guarded(routine("chkSuffixe_Click"), [&] {
    const bool on = chkSuffixe->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{txtSuffixStart, lblDigits, updDigits, optSuffixe[0],
                                                             optSuffixe[1], lblSuffixStart, lblSuffixDigits,
                                                             lblSuffixFormat}) {
      control->setEnabled(on);
    }
    refreshExample();
  });
}

namespace {

// The suffix pattern: digits copies of "X" for letters, of "0" for numbers.
QString patternFor(int digits, bool letters) { return QString(digits, letters ? QLatin1Char('X') : QLatin1Char('0')); }

}  // namespace

void wParams::optSuffixe_Click(int /*index*/) {
  Guarded(routine("optSuffixe_Click"), [&] {
    lblDigFmt->setText(patternFor(lblDigits->text().toInt(), optSuffixe[0]->isChecked()));
    refreshExample();
  });
}

void wParams::updDigits_Change() {
  Guarded(routine("updDigits_Change"), [&] {
    lblDigits->setText(QString::number(updDigits->value()));  // the label is the control's buddy
    lblDigFmt->setText(patternFor(lblDigits->text().toInt(), optSuffixe[0]->isChecked()));
    refreshExample();
  });
}

// ---- Time difference ----

void wParams::txtTimeOffset_Change(int /*index*/) {
  Guarded(routine("txtTimeOffset_Change"), [&] {
    txtTimeDiff->setText(TimeOffset::DifferenceText(txtTimeOffset[0]->text(), txtTimeOffset[1]->text()));
  });
}

// ---- Key filters ----

uint16_t wParams::txtPrefixe_KeyPress(uint16_t KeyAscii) {
  uint16_t result = 0;
  Guarded(routine("txtPrefixe_KeyPress"), [&] { result = FilterFileName(KeyAscii); });
  return result;
}

uint16_t wParams::txtPostfixe_KeyPress(uint16_t KeyAscii) {
  uint16_t result = 0;
  Guarded(routine("txtPostfixe_KeyPress"), [&] { result = FilterFileName(KeyAscii); });
  return result;
}

uint16_t wParams::txtSuffixStart_KeyPress(uint16_t KeyAscii) {
  uint16_t result = 0;
  Guarded(routine("txtSuffixStart_KeyPress"), [&] {
    result = static_cast<uint16_t>(KeyFilters::FilterInt(static_cast<int16_t>(KeyAscii), true));
  });
  return result;
}

// ---- Buttons ----

void wParams::cmdBoutons_Click(int index) {
  Guarded(routine("cmdBoutons_Click"), [&] {
    switch (index) {
      case 0:
        ok_ = false;
        done(QDialog::Rejected);
        break;
      case 1:
        if (!confirmFields()) return;
        UpdateConfig();
        ok_ = true;
        done(QDialog::Accepted);
        break;
      case 2:
        saveToFile();
        break;
      case 3:
        openFile();
        break;
      default:
        rt::raise(rt::ErrSubscript);
    }
  });
}

// The two checks of a confirmation; each refusal says what is wrong and keeps the dialog open.
bool wParams::confirmFields() {
  if (chkTimeOffset[0]->isChecked() && txtTimeDiff->text().isEmpty()) {
    Ui().messageBox(QStringLiteral("Décalage horaire incorrect."), ui::Buttons::Ok, ui::Icon::Critical);
    tbsOnglets->setCurrentIndex(1);
    return false;
  }
  if (!startNumberIsValid()) {
    refuseStartNumber();
    return false;
  }
  return true;
}

// A whole number from 0 to 2^31 - 1 (a numeric text, rounded as the conversion to a 32-bit
// number rounds it, so that every accepted text converts).
bool wParams::startNumberIsValid() const {
  const QString text = txtSuffixStart->text();
  if (!rt::isNumeric(text)) return false;
  try {
    const double value = rt::toDouble(text);
    return value >= 0 && rt::roundHalfEven(value) < kStartNumberLimit;
  } catch (const rt::RuntimeError&) {
    return false;
  }
}

void wParams::refuseStartNumber() {
  Ui().messageBox(QStringLiteral("Numéro de départ de numérotation incorrect."), ui::Buttons::Ok, ui::Icon::Critical);
  tbsOnglets->setCurrentIndex(0);
  txtSuffixStart->setFocus();
  txtSuffixStart->selectAll();
}

// The settings file dialog, at the current settings file, else in the folder of the last one
// used, else in the documents folder. "" when cancelled.
QString wParams::askSettingsFile(bool save) {
  const QString current = CurrentConfig().Path();
  const QString fileName = Orvofonctions2::GetFilenameFromPath(current);
  QString folder = Orvofonctions2::GetDirectoryFromPath(current);
  if (folder.isEmpty()) {
    folder = Orvofonctions2::GetDirectoryFromPath(GetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), QString()));
  }
  if (folder.isEmpty()) folder = GetPersonalFolder();
  return SettingsFileDialog::Ask(this, save, fileName, folder);
}

void wParams::saveToFile() {
  // The start number is stored with the rest: refuse it before asking for a file.
  if (!startNumberIsValid()) {
    refuseStartNumber();
    return;
  }
  const QString path = askSettingsFile(true);
  if (path.isEmpty()) return;
  UpdateConfig();
  // A file that could not be written was reported by Save and is not remembered.
  if (CurrentConfig().Save(path)) SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
}

void wParams::openFile() {
  const QString path = askSettingsFile(false);
  if (path.isEmpty()) return;
  OpenSettingsFile(CurrentConfig(), path);
  SetParam(QStringLiteral("Files"), QStringLiteral("LastConfig"), path);
  LoadDefaults();
}
