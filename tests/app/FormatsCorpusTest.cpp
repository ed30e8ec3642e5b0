// The readers of the formats beyond JPEG against real camera and phone files: what the
// reference reading of expected.tsv says, read the way our reader reads (EXIF dates as the
// camera wrote them, movie-header times in UTC shown in local time, Apple's creation date as
// written), with our own expectations in formats-expected.tsv where the reference reads
// elsewhere in the file (each line says why).
#include "app/picture/PictureInfos.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

QString formatsDir() {
  const QString dir = QStringLiteral(TINDRA_CORPUS_DIR) + QStringLiteral("/../formats");
  return QFileInfo(dir).isDir() ? QDir(dir).canonicalPath() : QString();
}

// "2020:05:04 18:39:11..." -> "20200504183911"; "" for anything else or a zero date.
QString keyOf(const QString& text) {
  static const QRegularExpression date(QStringLiteral("^(\\d{4})[:-](\\d\\d)[:-](\\d\\d)[ T](\\d\\d):(\\d\\d):(\\d\\d)"));
  const auto m = date.match(text);
  if (!m.hasMatch() || m.captured(1) == QStringLiteral("0000")) return {};
  return m.captured(1) + m.captured(2) + m.captured(3) + m.captured(4) + m.captured(5) + m.captured(6);
}

// A UTC date text as the local time of this machine, in key form.
QString localKeyOfUtc(const QString& text) {
  const QString key = keyOf(text);
  if (key.isEmpty()) return {};
  const QDateTime utc(QDate::fromString(key.left(8), QStringLiteral("yyyyMMdd")),
                      QTime::fromString(key.mid(8), QStringLiteral("HHmmss")), Qt::UTC);
  return utc.toLocalTime().toString(QStringLiteral("yyyyMMddHHmmss"));
}

bool isMovie(const QString& file) {
  const QString ext = QFileInfo(file).suffix().toLower();
  return ext == QStringLiteral("mp4") || ext == QStringLiteral("mov") || ext == QStringLiteral("3gp");
}

}  // namespace

TEST(FormatsCorpus, EveryRealFileReadsAsExpected) {
  const QString dir = formatsDir();
  if (dir.isEmpty()) GTEST_SKIP() << "formats folder not found beside the checkout (../shared/corpus/formats)";
  const QList<QStringList> reference = testsupport::readTsv(dir + QStringLiteral("/expected.tsv"));
  ASSERT_GT(reference.size(), 1) << "expected.tsv missing or empty in " << dir.toStdString();
  const QString oursPath = QStringLiteral(TINDRA_TEST_SOURCES "/formats-expected.tsv");
  QHash<QString, QHash<QString, QString>> ours;
  for (const QStringList& row : testsupport::readTsv(oursPath)) ours[row.value(0)][row.value(1)] = row.value(2);
  ASSERT_FALSE(ours.isEmpty()) << "cannot read " << oursPath.toStdString();

  int read = 0;
  for (qsizetype i = 1; i < reference.size(); ++i) {
    const QStringList& row = reference[i];
    const QString file = row.value(0);
    static const QStringList kNotListed{QStringLiteral("aae"), QStringLiteral("xmp"), QStringLiteral("avi"), QStringLiteral("crw")};
    if (kNotListed.contains(QFileInfo(file).suffix().toLower())) continue;  // sidecars, AVI, CRW
    SCOPED_TRACE(file.toStdString());
    QHash<QString, QString> e;
    if (isMovie(file)) {
      e[QStringLiteral("CreateDate")] = row.value(5).isEmpty() ? localKeyOfUtc(row.value(2)) : keyOf(row.value(5));
      e[QStringLiteral("ModifDate")] = QString();
    } else {
      e[QStringLiteral("CreateDate")] = keyOf(row.value(1));
      e[QStringLiteral("ModifDate")] = keyOf(row.value(3));
    }
    e[QStringLiteral("Size")] = row.value(6).isEmpty() ? QStringLiteral("0x0") : row.value(6) + QLatin1Char('x') + row.value(7);
    // Our dates are "YYYY:MM:DD HH:MM:SS", or "UTC " and such a date for a movie-header time.
    for (auto it = ours.value(file).cbegin(); it != ours.value(file).cend(); ++it) {
      const QString& value = it.value();
      e[it.key()] = it.key() == QStringLiteral("Size") || it.key() == QStringLiteral("Message") ? value
                    : value.startsWith(QStringLiteral("UTC ")) ? localKeyOfUtc(value.mid(4))
                                                               : keyOf(value);
    }

    testsupport::ReportedErrors errors;
    const JpegInfosClass info = PictureInfos(dir + QLatin1Char('/') + file);
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join("\n").toStdString();
    EXPECT_EQ(rt::toDateKey(info.CreateDate()), e.value(QStringLiteral("CreateDate")));
    EXPECT_EQ(rt::toDateKey(info.ModifDate()), e.value(QStringLiteral("ModifDate")));
    EXPECT_EQ(QStringLiteral("%1x%2").arg(info.ImgWidth()).arg(info.ImgHeight()), e.value(QStringLiteral("Size")));
    EXPECT_EQ(info.Message(), e.value(QStringLiteral("Message")));
    ++read;
  }
  EXPECT_GE(read, 45);
  for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
    EXPECT_TRUE(QFileInfo::exists(dir + QLatin1Char('/') + it.key())) << "formats-expected.tsv names an unknown file " << it.key().toStdString();
  }
}
