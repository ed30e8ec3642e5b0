#pragma once
// The parameters dialog: edits the current rename settings (CurrentConfig) on two pages,
// "Noms des fichiers" (fields, separators, free texts, suffix, pictures without EXIF date,
// extension case, with a live example name) and "Décalage horaire" (the camera clock
// correction), and saves or loads settings files.
//
// Life cycle: the caller creates it (the controls are filled from the settings at once, by
// Form_Load), chooses a mode, shows it modally, reads Ok and the controls after it hid itself,
// and destroys it. Changes reach the settings only through UpdateConfig (confirmation, save)
// and through a settings file opened with "Ouvrir...". Closing the window through its close
// box stores nothing and leaves Ok false.
//
// Every handler reports its failures as wParams.<handler> and ends there. Setting a control's
// value from code runs its handler before the setting returns (Qt signals, direct calls).

#include "app/dialogs/ControlArray.h"

#include <QDialog>
#include <QString>

#include <cstdint>

class ConfigClass;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class UpDown;

class wParams : public QDialog {
  Q_OBJECT

 public:
  explicit wParams(QWidget* owner = nullptr);

  // True after a close through button 1 with valid fields; false otherwise.
  bool Ok() const { return ok_; }

  // Settings mode (the parameters menu item): "Annuler" hidden, button 1 "Fermer" in its place
  // and both the default (Enter) and the cancel (Escape) button.
  void SetSettingsMode();
  // Confirmation mode (the rename command): button 1 "OK" as default, "Annuler" as cancel.
  void SetConfirmationMode();

  // Copies every settings field into its control.
  void LoadDefaults();
  // Copies every control into the settings. Raises (13 or 6) when the start number is not a
  // 32-bit whole number; nothing is stored then.
  void UpdateConfig();
  // Selects the item of combo whose separator character equals separator: the first item for
  // an empty separator, none when no item has it.
  void UpdateComboIndex(QComboBox* combo, const QString& separator);
  // The index of the checked option button of the array named arrayName ("optSuffixe",
  // "optNotExif", "optExtension"); 0 when none is checked.
  int16_t GetOptionValue(const QString& arrayName) const;
  // The example name body for the date key sGDH: the controls stored into a copy of the
  // settings, then that copy's FormatName, so the example is the body the rename writes (the
  // suffix pattern is not part of it).
  QString FormatName(const QString& sGDH) const;

  // The tab strip; its client area holds the pages.
  QTabBar* tbsOnglets = nullptr;
  ControlArray<QFrame, 1, 2> frmPage;
  ControlArray<QGroupBox, 0, 7> frmFrames;
  ControlArray<QPushButton, 0, 3> cmdBoutons;

  // Page 1, "Noms des fichiers".
  QLineEdit* txtFormat = nullptr;
  QLineEdit* txtPrefixe = nullptr;
  QLineEdit* txtPostfixe = nullptr;
  QCheckBox* chkSuffixe = nullptr;
  QLabel* lblSuffixStart = nullptr;   // "Indice de départ :"
  QLineEdit* txtSuffixStart = nullptr;
  QLabel* lblSuffixDigits = nullptr;  // "Nombre de digits : "
  QLabel* lblDigits = nullptr;        // shows the value of updDigits
  UpDown* updDigits = nullptr;
  QLabel* lblSuffixFormat = nullptr;  // "Format suffixe :"
  ControlArray<QRadioButton, 0, 1> optSuffixe;
  QLabel* lblDigFmt = nullptr;  // hidden: the suffix pattern
  ControlArray<QRadioButton, 0, 2> optNotExif;
  QComboBox* cboDateSep = nullptr;
  ControlArray<QCheckBox, 1, 3> chkDate;
  ControlArray<QCheckBox, 0, 1> chkDateSep;
  QCheckBox* chkDateTimeSep = nullptr;
  QComboBox* cboDateTimeSep = nullptr;
  QComboBox* cboTimeSep = nullptr;
  ControlArray<QCheckBox, 1, 3> chkTime;
  ControlArray<QCheckBox, 0, 1> chkTimeSep;
  ControlArray<QRadioButton, 0, 2> optExtension;
  QCheckBox* chkCompanions = nullptr;  // the Companions setting

  // Page 2, "Décalage horaire".
  QLabel* lblOffsetText = nullptr;
  ControlArray<QCheckBox, 0, 1> chkTimeOffset;
  ControlArray<QLineEdit, 0, 1> txtTimeOffset;
  QLineEdit* txtTimeDiff = nullptr;

 public slots:
  void Form_Load();
  void tbsOnglets_Click();
  void cmdBoutons_Click(int index);

  void chkDate_Click(int index);
  void chkDateSep_Click(int index);
  void chkTime_Click(int index);
  void chkTimeSep_Click(int index);
  void chkDateTimeSep_Click();
  void cboDateSep_Click();
  void cboTimeSep_Click();
  void cboDateTimeSep_Click();
  void txtPrefixe_Change();
  void txtPostfixe_Change();
  void chkSuffixe_Click();
  void optSuffixe_Click(int index);
  void updDigits_Change();
  void optNotExif_Click(int index);
  void txtTimeOffset_Change(int index);

 public:
  // Key presses: return the character to insert, 0 to discard it.
  uint16_t txtPrefixe_KeyPress(uint16_t KeyAscii);
  uint16_t txtPostfixe_KeyPress(uint16_t KeyAscii);
  uint16_t txtSuffixStart_KeyPress(uint16_t KeyAscii);

 protected:
  // Escape clicks the cancel button ("Annuler", or "Fermer" in settings mode). The close box
  // rejects the dialog: nothing is stored and Ok stays as it was.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildWindow();
  QWidget* buildNamesPage();
  QWidget* buildOffsetPage();
  QGroupBox* buildDateFrame();
  QGroupBox* buildTimeFrame();
  QGroupBox* buildSeparatorFrame();
  QGroupBox* buildFreeTextFrame();
  QGroupBox* buildSuffixFrame();
  QGroupBox* buildOptionFrame(int frame, const QString& caption, ControlArray<QRadioButton, 0, 2>& options,
                              const char* arrayName, const QStringList& captions);
  void connectHandlers();

  void refreshExample();
  // Every control into config (start number given apart: its text may not convert).
  void storeControls(ConfigClass& config, int32_t startNum) const;
  // A copy of the current settings holding the controls' values.
  ConfigClass controlsAsSettings() const;
  void setOption(const QString& arrayName, int index);
  bool confirmFields();
  bool startNumberIsValid() const;
  void refuseStartNumber();
  void saveToFile();
  void openFile();
  QString askSettingsFile(bool save);

  bool ok_ = false;
  int cancelIndex_ = 0;
};
