#include "app/picture/ByteOrder.h"
#include "app/picture/ExifDateText.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <QVariantList>

#include <cstring>
#include <limits>

namespace {

QVariant swapped(QVariant value) {
  SwapBytes(value);
  return value;
}

std::optional<rt::DateValue> dateOf(const char* text) {
  return ExifDateFromText(std::span(reinterpret_cast<const uint8_t*>(text), std::strlen(text)));
}

}  // namespace

TEST(PictureByteOrder, SwapBytesReversesEachWidthAndKeepsTheSign) {
  EXPECT_EQ(swapped(QVariant::fromValue<short>(255)), QVariant::fromValue<short>(-256));
  EXPECT_EQ(swapped(QVariant::fromValue<short>(-256)), QVariant::fromValue<short>(255));
  EXPECT_EQ(swapped(QVariant::fromValue<short>(0x1234)), QVariant::fromValue<short>(0x3412));
  EXPECT_EQ(swapped(QVariant(1)), QVariant(16777216));
  EXPECT_EQ(swapped(QVariant(128)), QVariant(std::numeric_limits<int32_t>::min()));
  EXPECT_EQ(swapped(QVariant(0x12345678)), QVariant(0x78563412));
  EXPECT_EQ(swapped(QVariant(-2)), QVariant(static_cast<int32_t>(0xFEFFFFFF)));
  EXPECT_EQ(swapped(QVariant::fromValue<uchar>(0xAB)), QVariant::fromValue<uchar>(0xAB));

  int16_t i16 = static_cast<int16_t>(0xD8FF);
  SwapBytes(i16);
  EXPECT_EQ(i16, static_cast<int16_t>(0xFFD8));
  int32_t i32 = 0x2A004D4D;
  SwapBytes(i32);
  EXPECT_EQ(i32, 0x4D4D002A);
}

TEST(PictureByteOrder, SwapBytesWalksArraysAndRefusesOtherTypes) {
  QVariant list = QVariantList{QVariant::fromValue<short>(1), QVariant(1),
                               QVariantList{QVariant::fromValue<short>(0x0102)},
                               QVariant::fromValue<uchar>(7)};
  SwapBytes(list);
  EXPECT_EQ(list, QVariant(QVariantList{QVariant::fromValue<short>(256), QVariant(16777216),
                                        QVariantList{QVariant::fromValue<short>(0x0201)},
                                        QVariant::fromValue<uchar>(7)}));

  for (QVariant bad : {QVariant(QStringLiteral("12")), QVariant(1.5), QVariant(qint64(1)), QVariant()}) {
    try {
      SwapBytes(bad);
      ADD_FAILURE() << "no error for " << bad.typeName();
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), 13);
    }
  }
  // A bad element stops the walk; the elements before it are swapped already.
  QVariant mixed = QVariantList{QVariant::fromValue<short>(1), QVariant(QStringLiteral("x"))};
  EXPECT_THROW(SwapBytes(mixed), rt::RuntimeError);
  EXPECT_EQ(mixed.toList().at(0), QVariant::fromValue<short>(256));
}

TEST(PictureByteOrder, UnsignedMapsSignedWordsOntoZeroTo65535) {
  EXPECT_EQ(Global::Unsigned(0), 0);
  EXPECT_EQ(Global::Unsigned(32767), 32767);
  EXPECT_EQ(Global::Unsigned(-1), 65535);
  EXPECT_EQ(Global::Unsigned(-32768), 32768);
  EXPECT_EQ(Global::Unsigned(static_cast<int16_t>(0x9C40)), 40000);
}

TEST(PictureDateText, AcceptsRealDatesInTheExifForm) {
  EXPECT_EQ(dateOf("2005:06:01 08:00:00"), rt::makeDate(2005, 6, 1, 8, 0, 0));
  EXPECT_EQ(dateOf("2004:02:29 23:59:59"), rt::makeDate(2004, 2, 29, 23, 59, 59));
  EXPECT_EQ(dateOf("0100:01:01 00:00:00"), rt::makeDate(100, 1, 1, 0, 0, 0));
  EXPECT_EQ(dateOf("9999:12:31 23:59:59"), rt::makeDate(9999, 12, 31, 23, 59, 59));
  // The date separators are replaced before the text is read, whatever they hold.
  EXPECT_EQ(dateOf("2005-06-01 08:00:00"), rt::makeDate(2005, 6, 1, 8, 0, 0));
}

TEST(PictureDateText, RefusesTextsThatAreNotDates) {
  for (const char* text :
       {"0000:00:00 00:00:00", "    :  :     :  :  ", "2001:12:00 00:00:00", "2003:02:29 10:00:00",
        "2005:13:01 10:00:00", "2005:00:10 10:00:00", "2005:01:01 24:00:00", "2005:01:01 10:60:00",
        "2005:01:01 10:00:60", "0099:01:01 10:00:00", "2015-06-29T18:19:12", "2005:01:01 10:00:0 ",
        "2005:01:01 10:00:0", "2005:01:01 10:00:000", "2005:01:01 10-00-00", "+005:01:01 10:00:00",
        "2005:01:01\t10:00:00"}) {
    EXPECT_FALSE(dateOf(text).has_value()) << text;
  }
  const uint8_t withNul[19] = {'2', '0', '0', '5', ':', '0', '1', ':', '0', '1',
                               ' ', '1', '0', ':', '0', '0', 0, 0, 0};
  EXPECT_FALSE(ExifDateFromText(withNul).has_value());
}
