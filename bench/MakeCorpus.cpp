// bench_corpus DIR COUNT: writes COUNT small camera pictures IMG_00000.jpg... into DIR (made if
// needed), each with its own EXIF shooting date, in a shuffled shooting order: the corpus the
// side-by-side benchmark script (bench/compare.sh) times every tool on. The pictures are well
// formed to the end (the scan data lies inside the scan), so that no tool of the comparison
// takes a detour to report a fault.
#include "tests/support/JpegBuilder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>

namespace {

// Picture i of count taken a few minutes apart from the others, in a shuffled order, from 2010
// on: every picture has its own date however large the corpus.
QByteArray shuffledDate(int i, int count) {
  const qint64 n = (static_cast<qint64>(i) * 7919) % count;
  const QDateTime base(QDate(2010, 1, 1), QTime(8, 0, 0));
  return base.addSecs(n * 197).toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toLatin1();
}

// About 7.5 KB as a camera writes it: JFIF and EXIF heads (both dates, a dozen other entries,
// 3 KB of maker data), a 640 x 480 frame and 4 KB of scan data.
QByteArray picture(const QByteArray& date, bool bigEndian) {
  testsupport::ExifContent c;
  c.bigEndian = bigEndian;
  c.dateTimeOriginal = date;
  c.dateTime = date;
  c.otherEntries = 12;
  const QByteArray exif = testsupport::exifBody(testsupport::exifTiff(c)) + QByteArray(3000, '\x11');
  QByteArray bytes =
      testsupport::JpegBuilder().app0Jfif().app1(exif).dqt().frame(0xC0, 8, 480, 640).scanAndEnd().bytes();
  bytes.insert(bytes.size() - 2, QByteArray(4000, '\x5A'));  // before the end marker
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  bool ok = false;
  const int count = args.size() == 3 ? args[2].toInt(&ok) : 0;
  if (!ok || count < 1) {
    std::fprintf(stderr, "usage: bench_corpus DIR COUNT\n");
    return 1;
  }
  const QString dir = args[1];
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "cannot make %s\n", qPrintable(dir));
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    const QByteArray bytes = picture(shuffledDate(i, count), i % 2 == 1);
    QFile f(dir + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0')));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
      return 1;
    }
  }
  return 0;
}
