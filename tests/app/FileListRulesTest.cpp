// The rules behind the file list that need no window: handed-over extensions, the command
// line, the size text and the fit of the preview.
#include "app/naming/FileListRules.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace FileListRules;

namespace {

JpegInfosClass frame(int width, int height, int bits, int layers) {
  JpegInfosClass info;
  info.SetImgWidth(static_cast<int16_t>(width));
  info.SetImgHeight(static_cast<int16_t>(height));
  info.SetDataBits(static_cast<uint8_t>(bits));
  info.SetLayers(static_cast<uint8_t>(layers));
  return info;
}

}  // namespace

TEST(FileListRules, OnlyPictureExtensionsAreAcceptedInAnyCase) {
  for (const char* path : {"/p/a.jpg", "/p/a.JPG", "/p/a.jpeg", "/p/a.Bmp", "/p/a.gif", "/p.d/x.tar.jpg"}) {
    EXPECT_TRUE(IsAcceptedExtension(QString::fromLatin1(path))) << path;
  }
  for (const char* path : {"/p/a.jpe", "/p/a.txt", "/p/noext", "/p.jpg/noext", "", "/p/a.", "/p/a.jpg|gif"}) {
    EXPECT_FALSE(IsAcceptedExtension(QString::fromLatin1(path))) << path;
  }
  // The other camera and phone formats, in any case, and only they show a placeholder.
  const QStringList others = QStringLiteral(
      "heic HEIF Hif avif DNG cr2 CR3 nef arw orf rw2 pef srw RAF tif tiff PNG webp MP4 mov m4v 3gp 3G2").split(' ');
  for (const QString& ext : others) {
    EXPECT_TRUE(IsAcceptedExtension("/p/IMG_1." + ext)) << ext.toStdString();
    EXPECT_TRUE(IsOtherFormat("/p/IMG_1." + ext)) << ext.toStdString();
  }
  for (const char* path : {"/p/a.jpg", "/p/a.GIF", "/p/a.txt", "/p/a.xmp", "/p/a.avi", "/p/noext"}) {
    EXPECT_FALSE(IsOtherFormat(QString::fromLatin1(path))) << path;
  }
  EXPECT_TRUE(IsRawFormat("/p/DSC_1.NEF"));
  EXPECT_TRUE(IsRawFormat("/p/x.Raf"));
  EXPECT_FALSE(IsRawFormat("/p/x.tiff"));  // a TIFF previews its own image, not its thumbnail
  EXPECT_FALSE(IsRawFormat("/p/x.heic"));
  EXPECT_EQ(AcceptedPatterns().count(QStringLiteral("*.")), 4 + others.size());
}

TEST(FileListRules, QuotedPathsBecomeOnePerLine) {
  EXPECT_EQ(CommandLineToList("\"/my photos/a.jpg\" \"/p/b.jpg\""), "/my photos/a.jpg\r\n/p/b.jpg");
  EXPECT_EQ(CommandLineToList("/p/a.jpg /p/b.jpg"), "/p/a.jpg /p/b.jpg");
  EXPECT_EQ(CommandLineToList("\"/p/a.jpg\""), "/p/a.jpg");
  EXPECT_EQ(CommandLineToList(""), "");
}

TEST(FileListRules, SizeTextCountsColoursByTheirMagnitude) {
  EXPECT_EQ(SizeText(frame(640, 480, 8, 3)), "640x480x16M ");
  EXPECT_EQ(SizeText(frame(32, 16, 8, 1)), "32x16x256 ");
  EXPECT_EQ(SizeText(frame(0, 0, 0, 0)), "0x0x1 ");
  EXPECT_EQ(SizeText(frame(10, 10, 1, 9)), "10x10x512 ");
  EXPECT_EQ(SizeText(frame(10, 10, 2, 5)), "10x10x1K ");      // 1024 is not below 1000
  EXPECT_EQ(SizeText(frame(10, 10, 16, 1)), "10x10x64K ");
  EXPECT_EQ(SizeText(frame(10, 10, 20, 1)), "10x10x1M ");     // 1 048 576 is not below 1 024 000
  EXPECT_EQ(SizeText(frame(10, 10, 8, 4)), "10x10x4G ");      // beyond a 32-bit count
  EXPECT_EQ(SizeText(frame(10, 10, 16, 3)), "10x10x262144G ");
  EXPECT_EQ(SizeText(frame(10, 10, 255, 255)), "10x10x2^65025 ");
  EXPECT_EQ(SizeText(frame(40000, 100, 8, 3)), "-25536x100x16M ");  // widths are signed 16-bit
}

TEST(FileListRules, PicturesFitTheAreaAndAreCentred) {
  // Height-bound: 4000 x 3000 in 6000 x 3000, 1000 free on each side.
  EXPECT_EQ(FitInArea(QSize(4000, 3000), QRect(100, 50, 6000, 3000)), QRect(1100, 50, 4000, 3000));
  // Width-bound: in 3000 x 6000 it is 3000 x 2250, centred vertically.
  EXPECT_EQ(FitInArea(QSize(4000, 3000), QRect(0, 0, 3000, 6000)), QRect(0, 1875, 3000, 2250));
  // A small picture is enlarged.
  EXPECT_EQ(FitInArea(QSize(40, 30), QRect(0, 0, 400, 300)), QRect(0, 0, 400, 300));
  EXPECT_TRUE(FitInArea(QSize(40, 30), QRect(0, 0, 0, 300)).isEmpty());
  EXPECT_TRUE(FitInArea(QSize(0, 30), QRect(0, 0, 400, 300)).isEmpty());
}
