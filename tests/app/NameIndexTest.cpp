#include "app/naming/CaseFolding.h"
#include "app/naming/NameIndex.h"

#include <gtest/gtest.h>

#include <QString>

// Numbers stay with their names through the table's growth, in both kinds of index, and an
// index that ignores case keys names by their Unicode folding, short or long.
TEST(NameIndexTest, NamesKeepTheirNumbersAndCaseIsIgnoredOnlyWhenAsked) {
  NameIndex exact;
  NameIndex folded(NameIndex::Case::Ignored);
  const QString longName = QString(300, QLatin1Char('A')) + QStringLiteral(".JPG");
  for (int i = 0; i < 5000; ++i) {
    const QString name = QStringLiteral("IMG_%1.JPG").arg(i);
    ASSERT_EQ(exact.insert(name), i);
    ASSERT_EQ(folded.insert(name), i);
  }
  for (int i = 0; i < 5000; i += 97) {
    EXPECT_EQ(exact.find(QStringLiteral("IMG_%1.JPG").arg(i)), i);
    EXPECT_EQ(exact.find(QStringLiteral("img_%1.jpg").arg(i)), -1);
    EXPECT_EQ(folded.find(QStringLiteral("img_%1.jpg").arg(i)), i);
    EXPECT_EQ(folded.insert(QStringLiteral("Img_%1.Jpg").arg(i)), i);
  }
  EXPECT_EQ(folded.size(), 5000);
  EXPECT_EQ(folded.name(7), QStringLiteral("img_7.jpg"));
  EXPECT_EQ(exact.name(7), QStringLiteral("IMG_7.JPG"));

  const qsizetype accented = folded.insert(QStringLiteral("ÉTÉ_Straße.JPG"));
  EXPECT_EQ(folded.find(QStringLiteral("été_straße.jpg")), accented);
  EXPECT_EQ(exact.find(QStringLiteral("été_straße.jpg")), -1);
  const qsizetype big = folded.insert(longName);
  EXPECT_EQ(folded.find(longName.toLower()), big);
  EXPECT_EQ(exact.find(longName.toLower()), -1);
  EXPECT_EQ(folded.find(QStringLiteral("absent.jpg")), -1);
  EXPECT_EQ(NameIndex().find(QStringLiteral("x")), -1);
}

// Folding changes the letters A-Z and nothing next to them, in every position of the name.
TEST(NameIndexTest, FoldingChangesCapitalsOnly) {
  const QString edges = QStringLiteral("@AZ[`az{");
  for (int shift = 0; shift < 5; ++shift) {
    const QString pad(shift, QLatin1Char('_'));
    EXPECT_EQ(CaseFolded(pad + edges + QStringLiteral(".JPG")), pad + QStringLiteral("@az[`az{.jpg"));
  }
  EXPECT_EQ(CaseFolded(QStringLiteral("IMG_0001.ÉTÉ")), QStringLiteral("img_0001.été"));
  const QString lower = QStringLiteral("img_0001.jpg");
  EXPECT_EQ(CaseFolded(lower).constData(), lower.constData());  // shared, not copied
}
