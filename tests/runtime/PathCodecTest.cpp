#include "runtime/PathCodec.h"

#include <gtest/gtest.h>

#include <QDir>

#include <QRandomGenerator>

// Any bytes come back unchanged, valid UTF-8 reads as itself, and every byte that is not part
// of a valid sequence (Latin-1 letters, overlong forms, encoded surrogates, cut sequences,
// values past U+10FFFF) stays one escaped character.
TEST(PathCodec, EveryByteSequenceRoundTrips) {
  const struct {
    QByteArray bytes;
    qsizetype characters;
  } cases[] = {{"caf\xe9.jpg", 8},
               {"\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.jpg", 10},
               {"\xc0\xaf", 2},
               {"\xed\xa0\x80", 3},
               {"\xf4\x90\x80\x80", 4},
               {"\xe2\x82", 2},
               {"\xe2\x82\xac\x80", 2}};
  for (const auto& c : cases) {
    const QString text = rt::decodePath(c.bytes);
    EXPECT_EQ(text.size(), c.characters) << c.bytes.toHex().toStdString();
    EXPECT_EQ(rt::encodePath(text), c.bytes);
  }
  EXPECT_EQ(rt::decodePath("\xc3\xa9t\xc3\xa9"), QStringLiteral("été"));
  QRandomGenerator random(7);
  for (int i = 0; i < 2000; ++i) {
    QByteArray bytes(static_cast<qsizetype>(random.bounded(12)), '\0');
    for (char& b : bytes) b = static_cast<char>(random.bounded(256));
    ASSERT_EQ(rt::encodePath(rt::decodePath(bytes)), bytes) << bytes.toHex().toStdString();
  }
}

// Messages show the bytes as a person can read them; texts typed by a person that hold a
// surrogate no name produces still encode to valid UTF-8.
TEST(PathCodec, ShowsEscapedBytesReadably) {
  EXPECT_EQ(rt::displayPath(rt::decodePath("/photos/caf\xe9.jpg")), QStringLiteral("/photos/caf\\xE9.jpg"));
  EXPECT_EQ(rt::displayPath(QStringLiteral("été 📷")), QStringLiteral("été 📷"));
  const QString lone(QChar(0xD800));
  EXPECT_EQ(rt::encodePath(lone), QByteArray("\xef\xbf\xbd"));
  EXPECT_EQ(rt::displayPath(lone), QString(QChar(QChar::ReplacementCharacter)));
}

// Absolute paths come out exactly as cleaning them gives, whether they needed it or not.
TEST(PathCodec, AbsolutePathsAreCleaned) {
  for (const char* path : {"/", "/a/b.jpg", "/a//b.jpg", "/a/./b.jpg", "/a/../b.jpg", "/a/b/", "/a/.hidden/b.jpg",
                           "/a/b/.", "/a/b/..", "/a\\b.jpg", "//a", "/a/b.", "/a/..b/c"}) {
    EXPECT_EQ(rt::absolutePath(QString::fromLatin1(path)), QDir::cleanPath(QString::fromLatin1(path))) << path;
  }
}
