#include "bench/BenchPictures.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace benchsupport {

namespace {

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

QByteArray dateInOrder(int i) {
  return QStringLiteral("2012:03:%1 10:%2:%3")
      .arg(twoDigits(1 + i % 28), twoDigits(i % 60), twoDigits((i / 60) % 60))
      .toLatin1();
}

QByteArray dateShuffled(int i, int count) {
  const qint64 n = (static_cast<qint64>(i) * 7919) % count;
  const QDateTime base(QDate(2010, 1, 1), QTime(8, 0, 0));
  return base.addSecs(n * 197).toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toLatin1();
}

testsupport::ExifContent cameraExif(const QByteArray& dateTaken, bool bigEndian) {
  testsupport::ExifContent c;
  c.bigEndian = bigEndian;
  c.dateTimeOriginal = dateTaken;
  c.dateTime = dateTaken;
  c.otherEntries = 12;
  return c;
}

QByteArray cameraPicture(const QByteArray& dateTaken, bool bigEndian) {
  const QByteArray exif =
      testsupport::exifBody(testsupport::exifTiff(cameraExif(dateTaken, bigEndian))) + QByteArray(3000, '\x11');
  QByteArray bytes =
      testsupport::JpegBuilder().app0Jfif().app1(exif).dqt().frame(0xC0, 8, 480, 640).scanAndEnd().bytes();
  bytes.insert(bytes.size() - 2, QByteArray(4000, '\x5A'));  // before the end marker
  return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

QStringList writePictures(const QString& dir, int count, const std::function<QByteArray(int)>& dateOf) {
  QDir().mkpath(dir);
  QStringList paths;
  for (int i = 0; i < count; ++i) {
    const QString path = dir + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
    writeFile(path, cameraPicture(dateOf(i), i % 2 == 1));
    paths.append(path);
  }
  return paths;
}

}  // namespace benchsupport
