#include "app/dialogs/wSplash.h"

#include "app/common/ErrorHandling.h"
#include "app/ui/HelpSystem.h"
#include "app/ui/Twips.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QTimer>

#ifndef TINDRA_VERSION_MAJOR
#define TINDRA_VERSION_MAJOR 1
#endif
#ifndef TINDRA_VERSION_MINOR
#define TINDRA_VERSION_MINOR 0
#endif

namespace {

constexpr int kClientWidth = 508;
constexpr int kClientHeight = 325;

// The artwork: an evening sky over hills, a row of photo prints fanned out, and the name.
void paintArtwork(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kClientHeight);
  sky.setColorAt(0.0, QColor(0x1d, 0x2b, 0x53));
  sky.setColorAt(0.55, QColor(0x7e, 0x4e, 0x8a));
  sky.setColorAt(1.0, QColor(0xf2, 0x9e, 0x5c));
  p.fillRect(0, 0, kClientWidth, kClientHeight, sky);

  QRadialGradient sun(QPointF(392, 214), 70);
  sun.setColorAt(0.0, QColor(0xff, 0xe6, 0x9a));
  sun.setColorAt(0.35, QColor(0xff, 0xc8, 0x5a, 220));
  sun.setColorAt(1.0, QColor(0xff, 0xc8, 0x5a, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sun);
  p.drawEllipse(QPointF(392, 214), 70, 70);

  QPainterPath far;
  far.moveTo(0, 250);
  far.cubicTo(90, 205, 170, 235, 250, 222);
  far.cubicTo(340, 205, 420, 240, 508, 226);
  far.lineTo(508, 325);
  far.lineTo(0, 325);
  far.closeSubpath();
  p.setBrush(QColor(0x3b, 0x2f, 0x5a));
  p.drawPath(far);
  QPainterPath near;
  near.moveTo(0, 290);
  near.cubicTo(120, 255, 260, 300, 360, 272);
  near.cubicTo(420, 258, 470, 270, 508, 262);
  near.lineTo(508, 325);
  near.lineTo(0, 325);
  near.closeSubpath();
  p.setBrush(QColor(0x22, 0x1c, 0x3a));
  p.drawPath(near);

  // Three prints, each turned a little, the last one showing a clock face.
  const struct { double x, y, angle; } prints[] = {{300, 70, -12}, {345, 62, 4}, {392, 76, 16}};
  for (int i = 0; i < 3; ++i) {
    p.save();
    p.translate(prints[i].x, prints[i].y);
    p.rotate(prints[i].angle);
    p.setBrush(QColor(0xfb, 0xf7, 0xee));
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.drawRect(QRectF(-38, -30, 76, 66));
    QLinearGradient picture(0, -24, 0, 20);
    picture.setColorAt(0, QColor(0x6f, 0xa8, 0xdc));
    picture.setColorAt(1, QColor(0x3f, 0x8f, 0x5a));
    p.setBrush(picture);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(-32, -24, 64, 46));
    if (i == 2) {
      p.setBrush(QColor(0xff, 0xff, 0xff, 230));
      p.setPen(QPen(QColor(0x33, 0x3d, 0x4a), 2));
      p.drawEllipse(QPointF(0, -1), 16, 16);
      p.drawLine(QPointF(0, -1), QPointF(0, -11));
      p.drawLine(QPointF(0, -1), QPointF(8, 3));
    }
    p.restore();
  }

  QFont title(QStringLiteral("Serif"));
  title.setPixelSize(64);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(0, 0, 0, 90));
  p.drawText(QPointF(34, 132), QStringLiteral("Tindra"));
  p.setPen(QColor(0xff, 0xf4, 0xe0));
  p.drawText(QPointF(31, 129), QStringLiteral("Tindra"));
  QFont subtitle(QStringLiteral("Sans Serif"));
  subtitle.setPixelSize(15);
  p.setFont(subtitle);
  p.setPen(QColor(0xf3, 0xe6, 0xf5));
  p.drawText(QPointF(34, 160), QStringLiteral("Vos photos nommées à la date de la prise de vue"));
  QFont small(QStringLiteral("Sans Serif"));
  small.setPixelSize(12);
  p.setFont(small);
  p.setPen(QColor(0xf3, 0xe6, 0xf5, 200));
  p.drawText(QPointF(34, 238), QStringLiteral("Version"));
}

}  // namespace

wSplash::wSplash(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("wSplash"));
  setWindowTitle(QStringLiteral("Tindra"));
  help::SetTopic(this, help::kAbout);

  lblVersion = new QLabel(QStringLiteral("(Version)"), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setGeometry(twips::toPixels(1245), twips::toPixels(3405), twips::toPixels(780), twips::toPixels(225));
  QFont font(QStringLiteral("Times New Roman"));
  font.setPointSizeF(9.75);
  font.setBold(true);
  lblVersion->setFont(font);
  lblVersion->setStyleSheet(QStringLiteral("color: #fff4e0; background: transparent;"));

  cmdClose = new QPushButton(QStringLiteral("Fermer"), this);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  cmdClose->setGeometry(twips::toPixels(6420), twips::toPixels(120), twips::toPixels(1080), twips::toPixels(330));
  connect(cmdClose, &QPushButton::clicked, this, &wSplash::cmdClose_Click);

  tmrClose = new QTimer(this);
  tmrClose->setObjectName(QStringLiteral("tmrClose"));
  tmrClose->setInterval(5000);
  tmrClose->setSingleShot(false);
  connect(tmrClose, &QTimer::timeout, this, &wSplash::tmrClose_Timer);

  resize(kClientWidth, kClientHeight);
  Form_Load();
}

QString wSplash::VersionText() {
  return QStringLiteral("%1.%2").arg(TINDRA_VERSION_MAJOR).arg(TINDRA_VERSION_MINOR);
}

void wSplash::Form_Load() {
  ErrorHandling::Guarded(QStringLiteral("wSplash.Form_Load"), [&] { lblVersion->setText(VersionText()); });
}

void wSplash::Form_Resize() {
  ErrorHandling::Guarded(QStringLiteral("wSplash.Form_Resize"), [&] {
    if (size() != QSize(kClientWidth, kClientHeight)) resize(kClientWidth, kClientHeight);
  });
}

void wSplash::Form_Click() {
  ErrorHandling::Guarded(QStringLiteral("wSplash.Form_Click"), [&] {
    tmrClose->stop();
    closeAndUnload();
  });
}

void wSplash::Form_KeyDown(int keyCode) {
  ErrorHandling::Guarded(QStringLiteral("wSplash.Form_KeyDown"), [&] {
    if (keyCode == 27 && !tmrClose->isActive()) closeAndUnload();
  });
}

void wSplash::cmdClose_Click() {
  ErrorHandling::Guarded(QStringLiteral("wSplash.cmdClose_Click"), [&] {
    tmrClose->stop();
    closeAndUnload();
  });
}

void wSplash::tmrClose_Timer() {
  ErrorHandling::Guarded(QStringLiteral("wSplash.tmrClose_Timer"), [&] {
    tmrClose->stop();
    closeAndUnload();
  });
}

void wSplash::closeAndUnload() { done(QDialog::Accepted); }

void wSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintArtwork(painter);
}

void wSplash::mousePressEvent(QMouseEvent*) { Form_Click(); }

void wSplash::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Form_KeyDown(27);
    return;  // a dialog's own Escape handling would close the start-up splash too
  }
  QDialog::keyPressEvent(event);
}

void wSplash::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Form_Resize();
}

// However the window closes, its timer is off afterwards: that ends the start-up wait.
void wSplash::closeEvent(QCloseEvent* event) {
  tmrClose->stop();
  QDialog::closeEvent(event);
}
