// The picture reader against real camera pictures: what the reference reading of expected.tsv
// says, adjusted by its notes where our reader walks the file differently, and by our own
// expectations in corpus-expected.tsv.
#include "app/picture/PictureInfos.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace {

struct Expected {
  QString createDate;  // "YYYY:MM:DD HH:MM:SS" or empty
  QString modifDate;
  QString size;  // "precision height width components"
  QString message;
};

// "2013:07:05 03:18:27" -> "20130705031827", the form toDateKey gives.
QString dateKeyOf(const QString& text) {
  QString key = text;
  key.remove(QLatin1Char(':')).remove(QLatin1Char(' '));
  return key;
}

QString sizeOf(const JpegInfosClass& info) {
  return QStringLiteral("%1 %2 %3 %4").arg(info.DataBits()).arg(info.ImgHeight()).arg(info.ImgWidth()).arg(info.Layers());
}

// The reference row, seen through its notes: dates that are not dates, and EXIF that our
// reader does not look for, are absent; sizes the reference could not give are zero.
Expected fromReference(const QStringList& row, QStringList& needOurs) {
  const QStringList notes = row.value(8).split(QLatin1Char(','), Qt::SkipEmptyParts);
  const bool noExif = notes.contains(QStringLiteral("first-app1-not-exif"));
  Expected e;
  e.createDate = (noExif || notes.contains(QStringLiteral("dto-invalid"))) ? QString() : row.value(1);
  e.modifDate = (noExif || notes.contains(QStringLiteral("dt-invalid"))) ? QString() : row.value(2);
  e.size = row.value(4).isEmpty()
               ? QStringLiteral("0 0 0 0")
               : QStringLiteral("%1 %2 %3 %4").arg(row.value(6), row.value(5), row.value(4), row.value(7));
  e.message = noExif ? QStringLiteral("* Entête EXIF incorrecte") : QString();
  for (const QString& note : notes) {
    if (note.startsWith(QStringLiteral("segment-chain-broken"))) needOurs << QStringLiteral("Size");
    if (note == QStringLiteral("exif-pointer-bad-type")) needOurs << QStringLiteral("CreateDate");
  }
  return e;
}

}  // namespace

TEST(PictureCorpus, EveryRealPictureReadsAsExpected) {
  TINDRA_REQUIRE_CORPUS(dir);
  const QList<QStringList> reference = testsupport::readTsv(dir + QStringLiteral("/expected.tsv"));
  ASSERT_GT(reference.size(), 1) << "expected.tsv missing or empty in " << dir.toStdString();
  const QString oursPath = QStringLiteral(TINDRA_TEST_SOURCES "/corpus-expected.tsv");
  const QList<QStringList> ours = testsupport::readTsv(oursPath);
  ASSERT_FALSE(ours.isEmpty()) << "cannot read " << oursPath.toStdString();
  QHash<QString, QHash<QString, QString>> oursByFile;
  for (const QStringList& row : ours) oursByFile[row.value(0)][row.value(1)] = row.value(2);

  // Every picture of the folder has its row.
  QStringList listed;
  for (qsizetype i = 1; i < reference.size(); ++i) listed << reference[i].value(0);
  const QStringList pictures =
      QDir(dir).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.JPG"), QStringLiteral("*.jpeg")}, QDir::Files);
  for (const QString& picture : pictures) EXPECT_TRUE(listed.contains(picture)) << picture.toStdString();

  int read = 0;
  for (qsizetype i = 1; i < reference.size(); ++i) {
    const QStringList& row = reference[i];
    const QString file = row.value(0);
    SCOPED_TRACE(file.toStdString());
    QStringList needOurs;
    Expected e = fromReference(row, needOurs);
    const auto& own = oursByFile.value(file);
    for (const QString& field : needOurs) {
      EXPECT_TRUE(own.contains(field)) << "no expectation of ours for " << field.toStdString();
    }
    if (own.contains(QStringLiteral("CreateDate"))) e.createDate = own.value(QStringLiteral("CreateDate"));
    if (own.contains(QStringLiteral("ModifDate"))) e.modifDate = own.value(QStringLiteral("ModifDate"));
    if (own.contains(QStringLiteral("Size"))) e.size = own.value(QStringLiteral("Size"));
    if (own.contains(QStringLiteral("Message"))) e.message = own.value(QStringLiteral("Message"));

    testsupport::ReportedErrors errors;
    const JpegInfosClass info = PictureInfos(dir + QLatin1Char('/') + file);
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join("\n").toStdString();
    EXPECT_GT(info.FileDate(), 0.0);
    EXPECT_EQ(rt::toDateKey(info.CreateDate()), dateKeyOf(e.createDate));
    EXPECT_EQ(rt::toDateKey(info.ModifDate()), dateKeyOf(e.modifDate));
    EXPECT_EQ(sizeOf(info), e.size);
    EXPECT_EQ(info.Message(), e.message);
    ++read;
  }
  EXPECT_EQ(read, pictures.size());
  for (auto it = oursByFile.cbegin(); it != oursByFile.cend(); ++it) {
    EXPECT_TRUE(listed.contains(it.key())) << "corpus-expected.tsv names an unknown picture " << it.key().toStdString();
  }
}
