// bench_corpus DIR COUNT: writes COUNT small camera pictures IMG_000000.jpg... into DIR (made if
// needed), each with its own EXIF shooting date, in a shuffled shooting order: the corpus the
// side-by-side benchmark script (bench/compare.sh) times every tool on.
#include "bench/BenchPictures.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

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
  benchsupport::writePictures(dir, count, [count](int i) { return benchsupport::dateShuffled(i, count); });
  return 0;
}
