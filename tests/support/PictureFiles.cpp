#include "tests/support/PictureFiles.h"

#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QImage>

namespace testsupport {

QByteArray displayableJpeg(const ExifContent& content, int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 90);
  if (content.dateTime.isEmpty() && content.dateTimeOriginal.isEmpty()) return encoded;
  const QByteArray body = exifBody(exifTiff(content));
  QByteArray segment;
  segment.append(char(0xFF)).append(char(0xE1));
  const int length = static_cast<int>(body.size()) + 2;
  segment.append(char((length >> 8) & 0xFF)).append(char(length & 0xFF));
  segment.append(body);
  return encoded.left(2) + segment + encoded.mid(2);
}

QString writeDisplayableJpeg(const QString& folder, const QString& name, const ExifContent& content, int width,
                             int height) {
  const QString path = folder + QStringLiteral("/") + name;
  return writeFile(path, displayableJpeg(content, width, height)) ? path : QString();
}

QByteArray exifDate(int year, int month, int day, int hour, int minute, int second) {
  return QStringLiteral("%1:%2:%3 %4:%5:%6")
      .arg(year, 4, 10, QLatin1Char('0'))
      .arg(month, 2, 10, QLatin1Char('0'))
      .arg(day, 2, 10, QLatin1Char('0'))
      .arg(hour, 2, 10, QLatin1Char('0'))
      .arg(minute, 2, 10, QLatin1Char('0'))
      .arg(second, 2, 10, QLatin1Char('0'))
      .toLatin1();
}

}  // namespace testsupport
