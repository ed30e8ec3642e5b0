#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QRandomGenerator>

#include "tests/support/RaisedNumber.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::raisedNumber;

QString text(const char* s) { return QString::fromUtf8(s); }

}  // namespace

TEST(Conversions, RoundsHalfToEven) {
  EXPECT_EQ(rt::roundHalfEven(2.5), 2.0);
  EXPECT_EQ(rt::roundHalfEven(3.5), 4.0);
  EXPECT_EQ(rt::roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(rt::roundHalfEven(-3.5), -4.0);
  EXPECT_EQ(rt::roundHalfEven(0.5), 0.0);
  EXPECT_EQ(rt::roundHalfEven(2.4999999), 2.0);
  EXPECT_EQ(rt::roundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(rt::roundHalfEven(-0.6), -1.0);
  EXPECT_EQ(rt::roundHalfEven(4503599627370497.0), 4503599627370497.0);  // above 2^52: integral
}

TEST(Conversions, IntegersFromNumbersRoundThenCheckTheRange) {
  EXPECT_EQ(rt::toInt16(32767.4), 32767);
  EXPECT_EQ(rt::toInt16(-32768.5), -32768);
  EXPECT_EQ(raisedNumber([] { rt::toInt16(32767.5); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt16(-32768.6); }), 6);
  EXPECT_EQ(rt::toByte(254.5), 254);
  EXPECT_EQ(raisedNumber([] { rt::toByte(255.5); }), 6);  // rounds to 256
  EXPECT_EQ(raisedNumber([] { rt::toByte(256.0); }), 6);
  EXPECT_EQ(rt::toByte(-0.5), 0);
  EXPECT_EQ(raisedNumber([] { rt::toByte(-0.6); }), 6);
  EXPECT_EQ(rt::toInt32(2147483647.0), INT32_MAX);
  EXPECT_EQ(rt::toInt32(-2147483648.5), INT32_MIN);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(2147483647.5); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(NAN); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(INFINITY); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(-1e300); }), 6);
  EXPECT_EQ(rt::toInt16(2.5), 2);
  EXPECT_EQ(rt::toInt16(-3.5), -4);
}

TEST(Conversions, IntegersFromText) {
  EXPECT_EQ(rt::toByte(text(" 12 ")), 12);
  EXPECT_EQ(rt::toByte(text("0")), 0);
  EXPECT_EQ(rt::toByte(text("&HFF")), 255);
  EXPECT_EQ(rt::toInt16(text("1e3")), 1000);
  EXPECT_EQ(rt::toInt16(text("2.5")), 2);
  EXPECT_EQ(rt::toInt16(text("2,5")), 2);
  EXPECT_EQ(rt::toInt16(text("-32768")), -32768);
  EXPECT_EQ(rt::toInt16(text("&HFFFF")), -1);
  EXPECT_EQ(rt::toInt32(text("&HFFFF")), -1);
  EXPECT_EQ(rt::toInt32(text("&H10000")), 65536);
  EXPECT_EQ(rt::toInt32(text("&HFFFFFFFF")), -1);
  EXPECT_EQ(rt::toInt32(text("&O777")), 511);
  EXPECT_EQ(rt::toInt32(text("-2147483648")), INT32_MIN);
  EXPECT_EQ(rt::toInt32(text("+7")), 7);

  EXPECT_EQ(raisedNumber([] { rt::toByte(text("300")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toByte(text("-1")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt16(text("32767.5")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(text("2147483648")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(text("1e400")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toInt32(text("&H100000000")); }), 6);
  for (const char* bad : {"", "  ", "abc", "12abc", "1 2", "1.2.3", "--1", "1e", "e3", ".", "&H",
                          "&HG", "&Z1", "0x10", "1,234.5", "\xd9\xa5"}) {
    EXPECT_EQ(raisedNumber([&] { rt::toInt32(text(bad)); }), 13) << bad;
  }
}

TEST(Conversions, NumericTextTest) {
  for (const char* good : {"0", " 12 ", "\t-3.25", "+4", "1e3", "1E-3", "2.5e+2", ".5", "5.", "3,75",
                           "&HFF", "&hff", "&O17", "&HFFFFFFFF", "1e-400", "007"}) {
    EXPECT_TRUE(rt::isNumeric(text(good))) << good;
  }
  for (const char* bad : {"", " ", "abc", "1 2", "1.2.3", "1,2,3", "1.2,3", "-", "+", "1e", "1e+",
                          "1d3", "&H", "&H1G", "&H100000000", "1e400", "(12)", "12%", "1_000",
                          "XX", "00x"}) {
    EXPECT_FALSE(rt::isNumeric(text(bad))) << bad;
  }
  EXPECT_EQ(rt::toDouble(text(" -3.25 ")), -3.25);
  EXPECT_EQ(rt::toDouble(text("3,75")), 3.75);
  EXPECT_EQ(rt::toDouble(text("1e-400")), 0.0);
  EXPECT_EQ(rt::toDouble(text("0.000000000000000000000000001e+27")), 1.0);
  EXPECT_EQ(raisedNumber([] { rt::toDouble(text("1e400")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toDouble(text("0.5e309")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toDouble(text("1e99999999999999999999")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::toDouble(text("abc")); }), 13);
}

TEST(Conversions, Flags) {
  EXPECT_TRUE(rt::toFlag(text("-1")));
  EXPECT_TRUE(rt::toFlag(text("2")));
  EXPECT_TRUE(rt::toFlag(text("0.5")));
  EXPECT_FALSE(rt::toFlag(text("0")));
  EXPECT_FALSE(rt::toFlag(text(" 0.0 ")));
  EXPECT_TRUE(rt::toFlag(text("True")));
  EXPECT_TRUE(rt::toFlag(text(" TRUE ")));
  EXPECT_FALSE(rt::toFlag(text("false")));
  EXPECT_TRUE(rt::toFlag(text("Vrai")));
  EXPECT_FALSE(rt::toFlag(text("faux")));
  for (const char* bad : {"", "yes", "Truee", "1 0", "abc"}) {
    EXPECT_EQ(raisedNumber([&] { rt::toFlag(text(bad)); }), 13) << bad;
  }
}

TEST(Conversions, LeadingNumber) {
  struct Case {
    const char* text;
    double value;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"", 0},          {"abc", 0},        {"12abc", 12},     {" 1 2", 12},
           {"\t1\n2 3", 123}, {"3.5x", 3.5},    {"1,5", 1},        {"1.2.3", 1.2},
           {"- 12", -12},    {"+5", 5},         {"-", 0},          {".5", 0.5},
           {"1e3x", 1000},   {"1 e 3", 1000},   {"1e", 1},         {"1e+", 1},
           {"2d2", 200},     {"1e-2", 0.01},    {"&H1F", 31},      {"&h1fz", 31},
           {"&HFFFF", -1},   {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1},
           {"&O17", 15},     {"&O8", 0},        {"&H", 0},         {"&", 0},
           {"0012", 12},     {"12:30", 12},     {"1e-400", 0},     {"--1", 0},
       }) {
    EXPECT_EQ(rt::leadingNumber(text(c.text)), c.value) << c.text;
  }
  EXPECT_EQ(raisedNumber([] { rt::leadingNumber(text("1e400")); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::leadingNumber(text("&H100000000")); }), 6);
}

TEST(Conversions, NumbersWrittenAsTextReadBack) {
  EXPECT_EQ(rt::numberToText(3), text("3"));
  EXPECT_EQ(rt::numberToText(-1), text("-1"));
  EXPECT_EQ(rt::numberToText(-0.0), text("0"));
  EXPECT_EQ(rt::numberToText(-2.5), text("-2.5"));
  EXPECT_EQ(rt::numberToText(0.1 + 0.2), text("0.3"));
  EXPECT_EQ(rt::numberToText(1440), text("1440"));
  EXPECT_EQ(rt::numberToText(999999999999999.0), text("999999999999999"));
  EXPECT_EQ(rt::numberToText(1.0 / 3), text("0.333333333333333"));
  EXPECT_EQ(raisedNumber([] { rt::numberToText(NAN); }), 6);
  EXPECT_EQ(raisedNumber([] { rt::numberToText(-INFINITY); }), 6);

  QRandomGenerator random(7);
  for (int i = 0; i < 2000; ++i) {
    const double magnitude = std::pow(10.0, random.bounded(-30, 30));
    const double value = (random.generateDouble() - 0.5) * magnitude;
    const QString written = rt::numberToText(value);
    ASSERT_TRUE(rt::isNumeric(written)) << written.toStdString();
    const double back = rt::toDouble(written);
    ASSERT_NEAR(back, value, std::fabs(value) * 1e-14) << written.toStdString();
    ASSERT_EQ(rt::leadingNumber(written), back) << written.toStdString();
    ASSERT_EQ(rt::numberToText(back), written);
  }
  for (int32_t n : {0, 1, -1, 255, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(rt::toInt32(rt::numberToText(n)), n);
    EXPECT_FALSE(rt::numberToText(n).contains(QLatin1Char('.')));
  }
}
