#include "app/ui/ToolIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace ToolIcons {
namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kPaper(0xfb, 0xfc, 0xfe);
const QColor kGreen(0x2e, 0x9d, 0x4a);
const QColor kRed(0xd1, 0x3b, 0x36);
const QColor kBlue(0x2f, 0x6f, 0xc4);
const QColor kAmber(0xf0, 0xa2, 0x1c);

QPen pen(const QColor& color, double width) { return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A page with a folded corner, in a 24 x 24 design grid.
void page(QPainter& p, double x, double y, double w, double h) {
  QPainterPath path;
  path.moveTo(x, y);
  path.lineTo(x + w - 5, y);
  path.lineTo(x + w, y + 5);
  path.lineTo(x + w, y + h);
  path.lineTo(x, y + h);
  path.closeSubpath();
  p.setPen(pen(kInk, 1.4));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawPolyline(QPolygonF({QPointF(x + w - 5, y), QPointF(x + w - 5, y + 5), QPointF(x + w, y + 5)}));
  p.setPen(pen(QColor(0x9a, 0xa6, 0xb4), 1.1));
  for (double ly = y + 9; ly < y + h - 2; ly += 3) p.drawLine(QPointF(x + 3, ly), QPointF(x + w - 3, ly));
}

// A round badge in the lower right corner holding a plus, a minus or a cross.
void badge(QPainter& p, const QColor& color, char sign) {
  const QPointF c(17.5, 17.5);
  p.setPen(pen(Qt::white, 1.2));
  p.setBrush(color);
  p.drawEllipse(c, 5.6, 5.6);
  p.setPen(pen(Qt::white, 2.0));
  if (sign == '+' || sign == '-') p.drawLine(QPointF(c.x() - 3, c.y()), QPointF(c.x() + 3, c.y()));
  if (sign == '+') p.drawLine(QPointF(c.x(), c.y() - 3), QPointF(c.x(), c.y() + 3));
  if (sign == 'x') {
    p.drawLine(QPointF(c.x() - 2.3, c.y() - 2.3), QPointF(c.x() + 2.3, c.y() + 2.3));
    p.drawLine(QPointF(c.x() - 2.3, c.y() + 2.3), QPointF(c.x() + 2.3, c.y() - 2.3));
  }
}

void checkBox(QPainter& p, const QRectF& r, bool checked) {
  p.setPen(pen(kInk, 1.4));
  p.setBrush(kPaper);
  p.drawRoundedRect(r, 1.5, 1.5);
  if (!checked) return;
  const double s = r.width();
  p.setPen(pen(kGreen, std::max(1.6, s / 5.5)));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(r.left() + s * 0.2, r.top() + s * 0.52), QPointF(r.left() + s * 0.42, r.top() + s * 0.74),
                            QPointF(r.left() + s * 0.82, r.top() + s * 0.26)}));
}

void gear(QPainter& p) {
  const QPointF c(12, 12);
  QPainterPath teeth;
  const int count = 8;
  for (int i = 0; i < count * 2; ++i) {
    const double a = i * M_PI / count;
    const double r = (i % 2 == 0) ? 10.0 : 7.6;
    const double a0 = a - M_PI / count / 2, a1 = a + M_PI / count / 2;
    const QPointF p0(c.x() + r * std::cos(a0), c.y() + r * std::sin(a0));
    const QPointF p1(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
    if (i == 0) teeth.moveTo(p0); else teeth.lineTo(p0);
    teeth.lineTo(p1);
  }
  teeth.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, 3.4, 3.4);
  p.setPen(pen(kInk, 1.2));
  p.setBrush(QColor(0x7d, 0x8b, 0x9c));
  p.drawPath(teeth.subtracted(hole));
}

// A landscape photograph: frame, sky, hills and sun.
void photo(QPainter& p, const QRectF& r) {
  p.setPen(pen(kInk, 1.4));
  p.setBrush(QColor(0xcf, 0xe6, 0xfb));
  p.drawRoundedRect(r, 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kAmber);
  p.drawEllipse(QPointF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.3), r.height() * 0.13, r.height() * 0.13);
  QPainterPath hills;
  hills.moveTo(r.left() + 0.8, r.bottom() - 0.8);
  hills.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.42);
  hills.lineTo(r.left() + r.width() * 0.58, r.top() + r.height() * 0.7);
  hills.lineTo(r.left() + r.width() * 0.74, r.top() + r.height() * 0.55);
  hills.lineTo(r.right() - 0.8, r.bottom() - 0.8);
  hills.closeSubpath();
  p.setBrush(QColor(0x4c, 0x9a, 0x5a));
  p.drawPath(hills);
}

Drawing drawingFor(const QString& key) {
  if (key == QLatin1String("mnuFileAdd")) return [](QPainter& p) { page(p, 3, 2, 14, 19); badge(p, kGreen, '+'); };
  if (key == QLatin1String("mnuFileDelete")) return [](QPainter& p) { page(p, 3, 2, 14, 19); badge(p, kRed, '-'); };
  if (key == QLatin1String("mnuFileDeleteAll"))
    return [](QPainter& p) { page(p, 6, 1, 13, 17); page(p, 2, 4, 13, 17); badge(p, kRed, 'x'); };
  if (key == QLatin1String("mnuEditCheck")) return [](QPainter& p) { checkBox(p, QRectF(3.5, 3.5, 17, 17), true); };
  if (key == QLatin1String("mnuEditUncheck"))
    return [](QPainter& p) { checkBox(p, QRectF(3.5, 3.5, 17, 17), false); badge(p, kRed, '-'); };
  if (key == QLatin1String("mnuEditCheckAll")) {
    return [](QPainter& p) {
      for (int i = 0; i < 3; ++i) checkBox(p, QRectF(2.5 + i * 3, 2.5 + i * 6.5, 8, 8), true);
      p.setPen(pen(kInk, 1.3));
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(13.5 + i * 3, 6.5 + i * 6.5), QPointF(21.5, 6.5 + i * 6.5));
    };
  }
  if (key == QLatin1String("mnuEditUncheckAll")) {
    return [](QPainter& p) {
      for (int i = 0; i < 3; ++i) checkBox(p, QRectF(2.5 + i * 3, 2.5 + i * 6.5, 8, 8), false);
      p.setPen(pen(kInk, 1.3));
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(13.5 + i * 3, 6.5 + i * 6.5), QPointF(21.5, 6.5 + i * 6.5));
    };
  }
  if (key == QLatin1String("mnuEditProperties")) return gear;
  if (key == QLatin1String("mnuActionRename")) {
    return [](QPainter& p) {
      photo(p, QRectF(1.5, 3.5, 15, 12));
      // An arrow into a name tag: the picture gets its new name.
      p.setPen(pen(kBlue, 2.2));
      p.drawLine(QPointF(9, 19.5), QPointF(20, 19.5));
      p.drawPolyline(QPolygonF({QPointF(16.5, 16.2), QPointF(20.2, 19.5), QPointF(16.5, 22.8)}));
      p.drawLine(QPointF(20.5, 4), QPointF(20.5, 13));
    };
  }
  return {};
}

void programDrawing(QPainter& p) {
  photo(p, QRectF(1.5, 2.5, 17, 14));
  const QPointF c(16.5, 16.5);
  p.setPen(pen(kInk, 1.3));
  p.setBrush(Qt::white);
  p.drawEllipse(c, 6.3, 6.3);
  p.setPen(pen(kBlue, 1.6));
  p.drawLine(c, QPointF(c.x(), c.y() - 4));
  p.drawLine(c, QPointF(c.x() + 3, c.y() + 1));
}

// Paints a drawing of the 24 x 24 design grid into any rectangle, greyed when disabled.
class VectorIconEngine : public QIconEngine {
 public:
  explicit VectorIconEngine(Drawing drawing) : drawing_(std::move(drawing)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    const double side = std::min(rect.width(), rect.height());
    painter->translate((rect.width() - side) / 2.0, (rect.height() - side) / 2.0);
    painter->scale(side / 24.0, side / 24.0);
    if (mode == QIcon::Disabled) painter->setOpacity(0.35);
    drawing_(*painter);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pm(size * scale);
    pm.fill(Qt::transparent);
    {
      QPainter painter(&pm);
      paint(&painter, QRect(QPoint(0, 0), size * scale), mode, state);
    }
    pm.setDevicePixelRatio(scale);
    return pm;
  }

  QIconEngine* clone() const override { return new VectorIconEngine(drawing_); }

 private:
  Drawing drawing_;
};

}  // namespace

QIcon Icon(const QString& key) {
  Drawing drawing = drawingFor(key);
  if (!drawing) return QIcon();
  return QIcon(new VectorIconEngine(std::move(drawing)));
}

QHash<QString, QIcon> ImageList() {
  QHash<QString, QIcon> list;
  for (const char* key : {"mnuFileAdd", "mnuFileDelete", "mnuFileDeleteAll", "mnuEditCheck", "mnuEditUncheck",
                          "mnuEditCheckAll", "mnuEditUncheckAll", "mnuEditProperties", "mnuActionRename"}) {
    list.insert(QString::fromLatin1(key), Icon(QString::fromLatin1(key)));
  }
  return list;
}

QIcon ProgramIcon() { return QIcon(new VectorIconEngine(programDrawing)); }

}  // namespace ToolIcons
