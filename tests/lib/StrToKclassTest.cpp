// StrToKclass, created by class identifier: whole-string separators, quoted tokens, and the
// state kept between calls.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"

#include <gtest/gtest.h>

#include <QStringList>

using rt::com::ComPtr;

namespace {

class StrToKclassTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_StrToKclass, tok_), S_OK); }

  QString strtok(QVariant chaine, QVariant separ) {
    QString r = QStringLiteral("unset");
    EXPECT_EQ(tok_->Strtok(&chaine, separ.isValid() ? &separ : nullptr, &r), S_OK);
    return r;
  }
  // The first token of text, then the following ones until an empty one (at most 20).
  QStringList all(const QString& text, const QVariant& separ) {
    QStringList tokens{strtok(text, separ)};
    while (!tokens.last().isEmpty() && tokens.size() < 20) tokens.append(strtok(QVariant(), separ));
    return tokens;
  }

  ComPtr<_StrToKclass> tok_;
};

}  // namespace

TEST_F(StrToKclassTest, TokensComeInOrderThenAnEmptyOne) {
  EXPECT_EQ(all(QStringLiteral("a,bb,c"), QStringLiteral(",")), (QStringList{"a", "bb", "c", ""}));
  EXPECT_EQ(strtok(QVariant(), QStringLiteral(",")), QString());  // stays exhausted
  // Without a separator the locale's list separator (C locale: ",") applies.
  EXPECT_EQ(all(QStringLiteral("x,y"), QVariant()), (QStringList{"x", "y", ""}));
  // Empty tokens stop a loop that waits for "".
  EXPECT_EQ(all(QStringLiteral("a,,b"), QStringLiteral(",")), (QStringList{"a", ""}));
  EXPECT_EQ(strtok(QVariant(), QStringLiteral(",")), QStringLiteral("b"));
  EXPECT_EQ(all(QStringLiteral(",a"), QStringLiteral(",")), (QStringList{""}));
  // A number as separator is its text.
  EXPECT_EQ(all(QStringLiteral("a0b"), 0), (QStringList{"a", "b", ""}));
}

TEST_F(StrToKclassTest, SeparatorsAreMatchedAsWholeStrings) {
  EXPECT_EQ(all(QStringLiteral("a-b--c-d"), QStringLiteral("--")), (QStringList{"a-b", "c-d", ""}));
  EXPECT_EQ(all(QStringLiteral("oneANDtwoandthree"), QStringLiteral("AND")), (QStringList{"one", "twoandthree", ""}));
  // The separator may change from one call to the next.
  EXPECT_EQ(strtok(QStringLiteral("a;b,c"), QStringLiteral(";")), QStringLiteral("a"));
  EXPECT_EQ(strtok(QVariant(), QStringLiteral(",")), QStringLiteral("b"));
  EXPECT_EQ(strtok(QVariant(), QStringLiteral(",")), QStringLiteral("c"));
}

TEST_F(StrToKclassTest, QuotedTokensLoseTheirQuotes) {
  EXPECT_EQ(all(QStringLiteral("\"a,b\"|\"c\"|\"|x\"y"), QStringLiteral("|")),
            (QStringList{"a,b", "c", "\"", "x\"y", ""}));
  EXPECT_EQ(all(QStringLiteral("\"\""), QStringLiteral("|")), (QStringList{""}));
}

TEST_F(StrToKclassTest, NewTextRestartsAndOverlongTextIsRefused) {
  EXPECT_EQ(strtok(QStringLiteral("a b c"), QStringLiteral(" ")), QStringLiteral("a"));
  EXPECT_EQ(strtok(QStringLiteral("x y"), QStringLiteral(" ")), QStringLiteral("x"));
  EXPECT_EQ(strtok(QString(), QStringLiteral(" ")), QStringLiteral("y"));
  // Texts up to 32767 characters.
  const QString longest = QString(32766, QLatin1Char('a')) + QLatin1Char(',');
  EXPECT_EQ(strtok(longest, QStringLiteral(",")).size(), 32766);
  EXPECT_EQ(strtok(QVariant(), QStringLiteral(",")), QString());
  QVariant tooLong = QString(32768, QLatin1Char('a'));
  QVariant separ = QStringLiteral(",");
  QString r;
  EXPECT_EQ(tok_->Strtok(&tooLong, &separ, &r), errorStatus(6));
}
