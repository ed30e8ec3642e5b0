#include "app/mainwindow/PicturePreview.h"

#include "app/picture/PictureBytes.h"
#include "app/picture/PictureFormat.h"

#include <QPainter>
#include <QPalette>

namespace PicturePreview {

QByteArray EmbeddedJpeg(const QString& path) {
  FilePictureBytes bytes(path);
  const ::EmbeddedJpeg jpeg = LargestEmbeddedJpeg(bytes);
  if (jpeg.length <= 0) return {};
  QByteArray out(static_cast<qsizetype>(jpeg.length), Qt::Uninitialized);
  const int64_t got = bytes.readAt(jpeg.offset, reinterpret_cast<uint8_t*>(out.data()), jpeg.length);
  out.truncate(static_cast<qsizetype>(got));
  return out;
}

QPixmap Placeholder(const QString& name, const QSize& size, qreal ratio) {
  QPixmap pixmap(size.expandedTo(QSize(1, 1)));
  pixmap.setDevicePixelRatio(ratio);
  const QPalette palette;
  pixmap.fill(palette.color(QPalette::Window).darker(110));
  QPainter painter(&pixmap);
  painter.setPen(palette.color(QPalette::WindowText));
  const QRectF area(QPointF(0, 0), QSizeF(size) / ratio);
  painter.drawText(area.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWrapAnywhere, name);
  return pixmap;
}

}  // namespace PicturePreview
