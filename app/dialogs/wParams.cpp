// wParams: construction of the window, its pages and controls, and the wiring of the handlers.
#include "app/dialogs/wParams.h"

#include "app/dialogs/KeyPressFilter.h"
#include "app/dialogs/UpDown.h"
#include "app/ui/HelpSystem.h"
#include "app/ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const char* const kIndexProperty = "Index";

const QStringList kDateSepItems = {
    QStringLiteral("AAAA _ MM _ JJ"), QStringLiteral("AAAA - MM - JJ"), QStringLiteral("AAAA   MM   JJ"),
    QStringLiteral("AAAA + MM + JJ"), QStringLiteral("AAAA ' MM ' JJ"), QStringLiteral("AAAA # MM # JJ"),
    QStringLiteral("AAAA % MM % JJ"), QStringLiteral("AAAA , MM , JJ"), QStringLiteral("AAAA ; MM ; JJ"),
    QStringLiteral("AAAA = MM = JJ")};
const QStringList kTimeSepItems = {
    QStringLiteral("  HH _ MM _ SS"), QStringLiteral("  HH - MM - SS"), QStringLiteral("  HH h MM m SS"),
    QStringLiteral("  HH   MM   SS"), QStringLiteral("  HH + MM + SS"), QStringLiteral("  HH ' MM ' SS"),
    QStringLiteral("  HH # MM # SS"), QStringLiteral("  HH % MM % SS"), QStringLiteral("  HH , MM , SS"),
    QStringLiteral("  HH ; MM ; SS"), QStringLiteral("  HH = MM = SS")};
const QStringList kDateTimeSepItems = {QStringLiteral("XX_XX"), QStringLiteral("XX-XX"), QStringLiteral("XX+XX"),
                                       QStringLiteral("XX'XX"), QStringLiteral("XX#XX"), QStringLiteral("XX%XX"),
                                       QStringLiteral("XX,XX"), QStringLiteral("XX;XX"), QStringLiteral("XX=XX"),
                                       QStringLiteral("XX XX")};

const QString kOffsetExplanation = QStringLiteral(
    "Ces paramètres sont destinés à corriger un décalage de l'heure de l'appareil photo. L'heure EXIF est "
    "l'heure d'une photo quelconque, telle qu'elle est écrite dans la photo par l'appareil. L'heure réelle "
    "est l'heure que devrait avoir cette photo. Ce décalage est appliqué à toutes les photos traitées si la "
    "case \"Appliquer la correction\" est cochée.");

// A member of a control array: the array's name, its index as a property.
template <class Control>
Control* arrayMember(Control* control, const char* arrayName, int index) {
  control->setObjectName(QString::fromLatin1(arrayName));
  control->setProperty(kIndexProperty, index);
  return control;
}

QComboBox* separatorCombo(QWidget* parent, const char* name, const QStringList& items) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  combo->setEditable(false);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setFamilies({QStringLiteral("Courier New"), fixed.family()});
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setFixedPitch(true);
  combo->setFont(fixed);
  combo->addItems(items);
  combo->setCurrentIndex(0);
  return combo;
}

QGroupBox* groupFrame(QWidget* parent, int index, const QString& caption) {
  auto* frame = arrayMember(new QGroupBox(caption, parent), "frmFrames", index);
  return frame;
}

QLabel* fieldLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

wParams::wParams(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("wParams"));
  setWindowTitle(QStringLiteral("Paramètres"));
  setModal(true);
  buildWindow();
  connectHandlers();
  Form_Load();
}

void wParams::buildWindow() {
  auto* root = new QVBoxLayout(this);
  root->setSizeConstraint(QLayout::SetFixedSize);

  tbsOnglets = new QTabBar(this);
  tbsOnglets->setObjectName(QStringLiteral("tbsOnglets"));
  tbsOnglets->setDrawBase(true);
  tbsOnglets->setExpanding(false);
  root->addWidget(tbsOnglets);

  // The page frames share one place on the tab strip; only the selected one is visible.
  auto* pages = new QGridLayout;
  const struct {
    int index;
    QString caption;
    int topic;
    QWidget* (wParams::*build)();
  } kPages[] = {{1, QStringLiteral("Noms des fichiers"), help::kParamsNames, &wParams::buildNamesPage},
                {2, QStringLiteral("Décalage horaire"), help::kParamsOffset, &wParams::buildOffsetPage}};
  for (const auto& page : kPages) {
    auto* frame = arrayMember(new QFrame(this), "frmPage", page.index);
    frame->setWindowTitle(page.caption);  // the frame's caption, given to its tab at load
    frame->setFrameShape(QFrame::Box);
    help::SetTopic(frame, page.topic);
    QSizePolicy policy = frame->sizePolicy();
    policy.setRetainSizeWhenHidden(true);  // the window keeps one size whichever page shows
    frame->setSizePolicy(policy);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget((this->*page.build)());
    frmPage[page.index] = frame;
    pages->addWidget(frame, 0, 0);
  }
  root->addLayout(pages);

  // Buttons, left to right as designed: 2, 3, then 1 and 0 at the right.
  const struct {
    int index;
    QString caption;
  } kButtons[] = {{2, QStringLiteral("Enregistrer...")},
                  {3, QStringLiteral("Ouvrir...")},
                  {1, QStringLiteral("Fermer")},
                  {0, QStringLiteral("Annuler")}};
  auto* buttons = new QHBoxLayout;
  for (const auto& button : kButtons) {
    auto* push = arrayMember(new QPushButton(button.caption, this), "cmdBoutons", button.index);
    push->setMinimumSize(twips::toPixels(1200), twips::toPixels(390));
    cmdBoutons[button.index] = push;
    if (button.index == 1) buttons->addStretch(1);
    buttons->addWidget(push);
  }
  cmdBoutons[1]->setDefault(true);
  root->addLayout(buttons);
  help::SetTopic(this, help::kParamsNames);
}

QWidget* wParams::buildNamesPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);

  frmFrames[2] = groupFrame(page, 2, QStringLiteral("Format final"));
  txtFormat = new QLineEdit(frmFrames[2]);
  txtFormat->setObjectName(QStringLiteral("txtFormat"));
  txtFormat->setReadOnly(true);
  txtFormat->setAlignment(Qt::AlignCenter);
  txtFormat->setFocusPolicy(Qt::NoFocus);
  (new QVBoxLayout(frmFrames[2]))->addWidget(txtFormat);
  grid->addWidget(frmFrames[2], 0, 0, 1, 2);

  auto* left = new QVBoxLayout;
  left->addWidget(buildFreeTextFrame());
  left->addWidget(buildSuffixFrame());
  left->addWidget(buildOptionFrame(3, QStringLiteral("Si non EXIF"), optNotExif, "optNotExif",
                                   {QStringLiteral("Utiliser la date fichier"), QStringLiteral("Ne pas renommer"),
                                    QStringLiteral("Demander le nom")}));
  chkCompanions =
      new QCheckBox(QStringLiteral("Renommer aussi les fichiers compagnons (.xmp, RAW+JPEG, Live Photo)"), page);
  chkCompanions->setObjectName(QStringLiteral("chkCompanions"));
  chkCompanions->setToolTip(QStringLiteral(
      "Les fichiers d'une même prise (RAW et JPEG, photo et vidéo Live Photo, fichiers .xmp, .thm, .aae, "
      ".pp3, .dop du même nom) reçoivent le même nouveau nom"));
  left->addWidget(chkCompanions);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(buildDateFrame());
  right->addWidget(buildSeparatorFrame());
  right->addWidget(buildTimeFrame());
  right->addWidget(buildOptionFrame(6, QStringLiteral("Extension"), optExtension, "optExtension",
                                    {QStringLiteral("Ne pas modifier"), QStringLiteral("Forcer en majuscules"),
                                     QStringLiteral("Forcer en minuscules")}));
  right->addStretch(1);
  grid->addLayout(left, 1, 0);
  grid->addLayout(right, 1, 1);
  return page;
}

QGroupBox* wParams::buildFreeTextFrame() {
  QGroupBox* frame = frmFrames[4] = groupFrame(this, 4, QStringLiteral("Textes libres"));
  auto* grid = new QGridLayout(frame);
  txtPrefixe = new QLineEdit(frame);
  txtPrefixe->setObjectName(QStringLiteral("txtPrefixe"));
  txtPostfixe = new QLineEdit(frame);
  txtPostfixe->setObjectName(QStringLiteral("txtPostfixe"));
  grid->addWidget(new QLabel(QStringLiteral("Préfixe :"), frame), 0, 0);
  grid->addWidget(txtPrefixe, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Postfixe :"), frame), 1, 0);
  grid->addWidget(txtPostfixe, 1, 1);
  return frame;
}

QGroupBox* wParams::buildSuffixFrame() {
  QGroupBox* frame = frmFrames[7] = groupFrame(this, 7, QString());
  auto* grid = new QGridLayout(frame);
  chkSuffixe = new QCheckBox(QStringLiteral("Suffixe"), frame);
  chkSuffixe->setObjectName(QStringLiteral("chkSuffixe"));
  grid->addWidget(chkSuffixe, 0, 0, 1, 3);

  lblSuffixStart = fieldLabel(frame, "lblSuffixStart", QStringLiteral("Indice de départ :"));
  txtSuffixStart = new QLineEdit(QStringLiteral("1"), frame);
  txtSuffixStart->setObjectName(QStringLiteral("txtSuffixStart"));
  grid->addWidget(lblSuffixStart, 1, 0);
  grid->addWidget(txtSuffixStart, 1, 1, 1, 2);

  lblSuffixDigits = fieldLabel(frame, "lblSuffixDigits", QStringLiteral("Nombre de digits : "));
  lblDigits = fieldLabel(frame, "lblDigits", QStringLiteral("2"));
  lblDigits->setFrameShape(QFrame::Panel);
  lblDigits->setFrameShadow(QFrame::Sunken);
  lblDigits->setAlignment(Qt::AlignCenter);
  lblDigits->setMinimumWidth(28);
  updDigits = new UpDown(frame);
  updDigits->setObjectName(QStringLiteral("updDigits"));
  updDigits->setRange(1, 9);
  updDigits->setValue(2);
  grid->addWidget(lblSuffixDigits, 2, 0);
  grid->addWidget(lblDigits, 2, 1);
  grid->addWidget(updDigits, 2, 2, Qt::AlignLeft);

  lblSuffixFormat = fieldLabel(frame, "lblSuffixFormat", QStringLiteral("Format suffixe :"));
  optSuffixe[0] = arrayMember(new QRadioButton(QStringLiteral("AA"), frame), "optSuffixe", 0);
  optSuffixe[1] = arrayMember(new QRadioButton(QStringLiteral("00"), frame), "optSuffixe", 1);
  optSuffixe[0]->setChecked(true);
  grid->addWidget(lblSuffixFormat, 3, 0);
  grid->addWidget(optSuffixe[0], 3, 1);
  grid->addWidget(optSuffixe[1], 3, 2);

  lblDigFmt = fieldLabel(frame, "lblDigFmt", QStringLiteral("00"));
  lblDigFmt->hide();
  return frame;
}

QGroupBox* wParams::buildOptionFrame(int index, const QString& caption, ControlArray<QRadioButton, 0, 2>& options,
                                     const char* arrayName, const QStringList& captions) {
  QGroupBox* frame = frmFrames[index] = groupFrame(this, index, caption);
  auto* layout = new QVBoxLayout(frame);
  for (int i = 0; i < 3; ++i) {
    options[i] = arrayMember(new QRadioButton(captions.at(i), frame), arrayName, i);
    layout->addWidget(options[i]);
  }
  options[0]->setChecked(true);
  return frame;
}

QGroupBox* wParams::buildDateFrame() {
  QGroupBox* frame = frmFrames[0] = groupFrame(this, 0, QStringLiteral("Date"));
  auto* grid = new QGridLayout(frame);
  cboDateSep = separatorCombo(frame, "cboDateSep", kDateSepItems);
  grid->addWidget(cboDateSep, 0, 0, 1, 5);
  // The five boxes stand under the five elements of the combo's text: year, separator, month,
  // separator, day.
  const QString tips[] = {QStringLiteral("Année"), QStringLiteral("Séparateur"), QStringLiteral("Mois"),
                          QStringLiteral("Séparateur"), QStringLiteral("Jour")};
  for (int column = 0; column < 5; ++column) {
    QCheckBox* box = column % 2 == 0 ? (chkDate[column / 2 + 1] = arrayMember(new QCheckBox(frame), "chkDate", column / 2 + 1))
                                     : (chkDateSep[column / 2] = arrayMember(new QCheckBox(frame), "chkDateSep", column / 2));
    box->setToolTip(tips[column]);
    grid->addWidget(box, 1, column, Qt::AlignHCenter);
  }
  return frame;
}

QGroupBox* wParams::buildSeparatorFrame() {
  QGroupBox* frame = frmFrames[5] = groupFrame(this, 5, QStringLiteral("Séparateurs"));
  auto* row = new QHBoxLayout(frame);
  chkDateTimeSep = new QCheckBox(QStringLiteral("Date - Heure"), frame);
  chkDateTimeSep->setObjectName(QStringLiteral("chkDateTimeSep"));
  cboDateTimeSep = separatorCombo(frame, "cboDateTimeSep", kDateTimeSepItems);
  row->addWidget(chkDateTimeSep);
  row->addWidget(cboDateTimeSep);
  return frame;
}

QGroupBox* wParams::buildTimeFrame() {
  QGroupBox* frame = frmFrames[1] = groupFrame(this, 1, QStringLiteral("Heure"));
  auto* grid = new QGridLayout(frame);
  cboTimeSep = separatorCombo(frame, "cboTimeSep", kTimeSepItems);
  grid->addWidget(cboTimeSep, 0, 0, 1, 5);
  const QString captions[] = {QStringLiteral("HH"), QStringLiteral("Sep."), QStringLiteral("MM"),
                              QStringLiteral("Sep."), QStringLiteral("SS")};
  for (int column = 0; column < 5; ++column) {
    QCheckBox* box = column % 2 == 0
                         ? (chkTime[column / 2 + 1] = arrayMember(new QCheckBox(captions[column], frame), "chkTime", column / 2 + 1))
                         : (chkTimeSep[column / 2] = arrayMember(new QCheckBox(captions[column], frame), "chkTimeSep", column / 2));
    grid->addWidget(box, 1, column);
  }
  return frame;
}

QWidget* wParams::buildOffsetPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  lblOffsetText = fieldLabel(page, "lblOffsetText", kOffsetExplanation);
  lblOffsetText->setWordWrap(true);
  layout->addWidget(lblOffsetText);
  chkTimeOffset[0] = arrayMember(new QCheckBox(QStringLiteral("Appliquer la correction"), page), "chkTimeOffset", 0);
  chkTimeOffset[1] = arrayMember(
      new QCheckBox(QStringLiteral("Appliquer la correction à la date fichier si pas de date EXIF"), page),
      "chkTimeOffset", 1);
  layout->addWidget(chkTimeOffset[0]);
  layout->addWidget(chkTimeOffset[1]);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("JJ/MM/AAAA HH:MM:SS"), page), 0, 1);
  const QString labels[] = {QStringLiteral("Heure EXIF"), QStringLiteral("Heure réelle de prise de vue")};
  for (int i = 0; i < 2; ++i) {
    txtTimeOffset[i] = arrayMember(new QLineEdit(page), "txtTimeOffset", i);
    grid->addWidget(new QLabel(labels[i], page), i + 1, 0);
    grid->addWidget(txtTimeOffset[i], i + 1, 1);
  }
  txtTimeDiff = new QLineEdit(page);
  txtTimeDiff->setObjectName(QStringLiteral("txtTimeDiff"));
  txtTimeDiff->setReadOnly(true);
  txtTimeDiff->setFocusPolicy(Qt::NoFocus);
  grid->addWidget(new QLabel(QStringLiteral("Différence d'heure"), page), 3, 0);
  grid->addWidget(txtTimeDiff, 3, 1);
  layout->addLayout(grid);
  layout->addStretch(1);
  return page;
}

void wParams::connectHandlers() {
  connect(tbsOnglets, &QTabBar::currentChanged, this, [this] { tbsOnglets_Click(); });
  for (int i = 0; i <= 3; ++i) connect(cmdBoutons[i], &QPushButton::clicked, this, [this, i] { cmdBoutons_Click(i); });
  for (int i = 1; i <= 3; ++i) {
    connect(chkDate[i], &QCheckBox::toggled, this, [this, i] { chkDate_Click(i); });
    connect(chkTime[i], &QCheckBox::toggled, this, [this, i] { chkTime_Click(i); });
  }
  for (int i = 0; i <= 1; ++i) {
    connect(chkDateSep[i], &QCheckBox::toggled, this, [this, i] { chkDateSep_Click(i); });
    connect(chkTimeSep[i], &QCheckBox::toggled, this, [this, i] { chkTimeSep_Click(i); });
    connect(optSuffixe[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) optSuffixe_Click(i); });
    connect(txtTimeOffset[i], &QLineEdit::textChanged, this, [this, i] { txtTimeOffset_Change(i); });
  }
  for (int i = 0; i <= 2; ++i)
    connect(optNotExif[i], &QRadioButton::toggled, this, [this, i](bool on) { if (on) optNotExif_Click(i); });
  connect(chkDateTimeSep, &QCheckBox::toggled, this, &wParams::chkDateTimeSep_Click);
  connect(cboDateSep, &QComboBox::currentIndexChanged, this, &wParams::cboDateSep_Click);
  connect(cboTimeSep, &QComboBox::currentIndexChanged, this, &wParams::cboTimeSep_Click);
  connect(cboDateTimeSep, &QComboBox::currentIndexChanged, this, &wParams::cboDateTimeSep_Click);
  connect(txtPrefixe, &QLineEdit::textChanged, this, &wParams::txtPrefixe_Change);
  connect(txtPostfixe, &QLineEdit::textChanged, this, &wParams::txtPostfixe_Change);
  connect(chkSuffixe, &QCheckBox::toggled, this, &wParams::chkSuffixe_Click);
  connect(updDigits, &UpDown::changed, this, &wParams::updDigits_Change);
  KeyPressFilter::Install(txtPrefixe, [this](uint16_t key) { return txtPrefixe_KeyPress(key); });
  KeyPressFilter::Install(txtPostfixe, [this](uint16_t key) { return txtPostfixe_KeyPress(key); });
  KeyPressFilter::Install(txtSuffixStart, [this](uint16_t key) { return txtSuffixStart_KeyPress(key); });
}
