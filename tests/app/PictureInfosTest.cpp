#include "app/picture/PictureInfos.h"
#include "tests/support/GuardedFifo.h"
#include "tests/support/JpegBuilder.h"
#include "tests/support/ReportedErrors.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

using testsupport::ByteWriter;
using testsupport::ExifContent;
using testsupport::JpegBuilder;
using testsupport::exifBody;
using testsupport::exifJpeg;
using testsupport::exifTiff;

namespace {

const QByteArray kDateTime = "2006:02:03 04:05:06";
const QByteArray kOriginal = "2005:06:01 08:00:00";
const rt::DateValue kDateTimeValue = rt::makeDate(2006, 2, 3, 4, 5, 6);
const rt::DateValue kOriginalValue = rt::makeDate(2005, 6, 1, 8, 0, 0);

ExifContent datedContent(bool bigEndian) {
  ExifContent c;
  c.bigEndian = bigEndian;
  c.dateTime = kDateTime;
  c.dateTimeOriginal = kOriginal;
  return c;
}

// Writes the bytes to a fresh file and reads it back through the program's road.
JpegInfosClass readBytesAsFile(const QByteArray& bytes) {
  const QString path = testsupport::makeTempDir(QStringLiteral("pic")) + QStringLiteral("/p.jpg");
  EXPECT_TRUE(testsupport::writeFile(path, bytes));
  return PictureInfos(path);
}

JpegInfosClass readBytes(const QByteArray& bytes) {
  return PictureInfosFromBytes(
      std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
}

void expectSize(const JpegInfosClass& info, int width, int height, int bits = 8, int layers = 3) {
  EXPECT_EQ(info.ImgWidth(), width);
  EXPECT_EQ(info.ImgHeight(), height);
  EXPECT_EQ(info.DataBits(), bits);
  EXPECT_EQ(info.Layers(), layers);
}

bool reported(const testsupport::ReportedErrors& errors, int number) {
  return errors.messages().size() == 1 &&
         errors.messages().front().startsWith(QStringLiteral("Error Nr %1 : ").arg(number)) &&
         errors.messages().front().contains(QStringLiteral("Module : wMain\nFunction : PictureInfos"));
}

}  // namespace

// Both byte orders, the sub-IFD pointer before or after DateTime, IFD0 right after the TIFF
// header or further on: the same dates and size every time.
TEST(PictureInfos, ReadsDatesAndSizeInEveryLayout) {
  for (bool bigEndian : {false, true}) {
    for (bool pointerFirst : {false, true}) {
      for (int padding : {0, 6, 300}) {
        SCOPED_TRACE(testing::Message() << "big-endian " << bigEndian << ", pointer first "
                                        << pointerFirst << ", padding " << padding);
        ExifContent c = datedContent(bigEndian);
        c.pointerBeforeDateTime = pointerFirst;
        c.paddingBeforeIfd0 = padding;
        testsupport::ReportedErrors errors;
        const JpegInfosClass info = readBytesAsFile(exifJpeg(c, 1296, 968));
        EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join("\n").toStdString();
        EXPECT_EQ(info.Message(), QString());
        EXPECT_EQ(info.CreateDate(), kOriginalValue);
        EXPECT_EQ(info.ModifDate(), kDateTimeValue);
        EXPECT_GT(info.FileDate(), 0.0);
        expectSize(info, 1296, 968);
      }
    }
  }
}

TEST(PictureInfos, NonJpegFilesKeepOnlyTheirFileDate) {
  for (const QByteArray& bytes : {QByteArray(), QByteArray("\xFF"), QByteArray("BM\x36\0\0\0\0\0", 8),
                                  QByteArray("GIF89a\x01\0\x01\0", 10), QByteArray("\xD8\xFF\xE1", 3)}) {
    testsupport::ReportedErrors errors;
    const JpegInfosClass info = readBytesAsFile(bytes);
    EXPECT_EQ(info.Message(), QStringLiteral("Format non JPEG"));
    EXPECT_GT(info.FileDate(), 0.0);
    EXPECT_EQ(info.CreateDate(), 0.0);
    EXPECT_EQ(info.ModifDate(), 0.0);
    expectSize(info, 0, 0, 0, 0);
    EXPECT_TRUE(errors.messages().isEmpty());
  }
}

TEST(PictureInfos, OnlyTheFirstApp1CountsAndOnlyAfterApplicationSegments) {
  const QByteArray exif = exifBody(exifTiff(datedContent(false)));
  const QByteArray xmp = QByteArray("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 41);
  // XMP first: the EXIF segment after it is not looked at; the frame header still is.
  JpegInfosClass info = readBytes(
      JpegBuilder().app0Jfif().app1(xmp).app1(exif).frame(0xC0, 8, 100, 200).scanAndEnd().bytes());
  EXPECT_EQ(info.Message(), QStringLiteral("* Entête EXIF incorrecte"));
  EXPECT_EQ(info.CreateDate(), 0.0);
  EXPECT_EQ(info.ModifDate(), 0.0);
  expectSize(info, 200, 100);

  // APP0, APP2 and APP13 are passed over on the way to the EXIF segment.
  info = readBytes(JpegBuilder().app0Jfif().segment(0xE2, QByteArray(500, 'i')).segment(0xED, "8BIM")
                       .app1(exif).frame(0xC0, 8, 100, 200).scanAndEnd().bytes());
  EXPECT_EQ(info.Message(), QString());
  EXPECT_EQ(info.CreateDate(), kOriginalValue);

  // A table before the EXIF segment ends the search: no dates, no message.
  info = readBytes(JpegBuilder().app0Jfif().dqt().app1(exif).frame(0xC0, 8, 100, 200).scanAndEnd().bytes());
  EXPECT_EQ(info.Message(), QString());
  EXPECT_EQ(info.CreateDate(), 0.0);
  EXPECT_EQ(info.ModifDate(), 0.0);
  expectSize(info, 200, 100);

  // No APP1 at all.
  info = readBytes(JpegBuilder().app0Jfif().dqt().frame(0xC0, 8, 10, 20, 1).scanAndEnd().bytes());
  EXPECT_EQ(info.Message(), QString());
  expectSize(info, 20, 10, 8, 1);
}

TEST(PictureInfos, WrongTiffHeadersLeaveTheirMessage) {
  const QByteArray good = exifTiff(datedContent(true));
  const auto readTiff = [](const QByteArray& tiff) {
    return readBytes(JpegBuilder().app1(exifBody(tiff)).frame(0xC0, 8, 1, 2).bytes());
  };
  EXPECT_EQ(readTiff(QByteArray("IM") + good.mid(2)).Message(), QStringLiteral("* Format d'alignement non reconnu"));
  EXPECT_EQ(readTiff(QByteArray("MI") + good.mid(2)).Message(), QStringLiteral("* Format d'alignement non reconnu"));
  EXPECT_EQ(readTiff(QByteArray("MM\0\x2B", 4) + good.mid(4)).Message(), QStringLiteral("* Entête TIFF incorrecte"));
  // 42 stored in the other byte order is not 42.
  EXPECT_EQ(readTiff(QByteArray("MM\x2A\0", 4) + good.mid(4)).Message(), QStringLiteral("* Entête TIFF incorrecte"));
  EXPECT_EQ(readTiff(QByteArray("II\0\x2A", 4) + good.mid(4)).Message(), QStringLiteral("* Entête TIFF incorrecte"));
  const JpegInfosClass wrongId = readBytes(JpegBuilder().app1(QByteArray("Exif\0\x01", 6) + good).bytes());
  EXPECT_EQ(wrongId.Message(), QStringLiteral("* Entête EXIF incorrecte"));
  EXPECT_EQ(wrongId.CreateDate(), 0.0);
}

TEST(PictureInfos, OnlyBaselineFramesGiveSizeAndDepth) {
  const QByteArray exif = exifBody(exifTiff(datedContent(false)));
  for (uint8_t code : {0xC1, 0xC2, 0xC3, 0xC9}) {
    const JpegInfosClass info =
        readBytes(JpegBuilder().app0Jfif().app1(exif).dqt().frame(code, 8, 480, 640).scanAndEnd().bytes());
    EXPECT_EQ(info.CreateDate(), kOriginalValue) << int(code);
    EXPECT_EQ(info.ModifDate(), kDateTimeValue);
    expectSize(info, 0, 0, 0, 0);
  }
  // SOF0 right after SOI; sizes above 32767 read as negative.
  const JpegInfosClass big = readBytes(JpegBuilder().frame(0xC0, 12, 40000, 65535, 4).scanAndEnd().bytes());
  expectSize(big, -1, -25536, 12, 4);
}

// Segments of 40 000 and 65 535 bytes: lengths are unsigned, and the frame header may lie
// beyond the part of the file read first.
TEST(PictureInfos, LargeSegmentsAreSkippedWhole) {
  const QByteArray exif = exifBody(exifTiff(datedContent(true)));
  const QByteArray bytes = JpegBuilder()
                               .app1(exif + QByteArray(40000 - 2 - exif.size(), '\xFF'))
                               .segment(0xE2, QByteArray(65533, '\xC0'))
                               .segment(0xE2, QByteArray(65533, '\xD9'))
                               .dqt()
                               .frame(0xC0, 8, 3000, 4000)
                               .scanAndEnd()
                               .bytes();
  for (const JpegInfosClass& info : {readBytesAsFile(bytes), readBytes(bytes)}) {
    EXPECT_EQ(info.CreateDate(), kOriginalValue);
    EXPECT_EQ(info.ModifDate(), kDateTimeValue);
    expectSize(info, 4000, 3000);
  }
}

// A date text that TIFF offsets place beyond the EXIF segment, across the end of the part of
// the file read first, and one cut by the end of the file.
TEST(PictureInfos, DateTextsAreReadWhereverTheyLie) {
  constexpr uint32_t kTiffBase = 2 + 4 + 6;
  constexpr uint32_t kTextAt = 65536 - 7;
  ByteWriter tiff(false);
  tiff.bytes("II").u16(42).u32(8).u16(1).entry(0x0132, 2, 20, kTextAt - kTiffBase).u32(0);
  JpegBuilder jpeg;
  jpeg.app1(exifBody(tiff.data()));
  const qsizetype bodyAt = jpeg.bytes().size() + 4;
  QByteArray body(65533, '\x20');
  body.replace(kTextAt - bodyAt, kDateTime.size(), kDateTime);
  jpeg.segment(0xE2, body).frame(0xC0, 8, 2, 3).scanAndEnd();
  JpegInfosClass info = readBytesAsFile(jpeg.bytes());
  EXPECT_EQ(info.ModifDate(), kDateTimeValue);
  expectSize(info, 3, 2);

  const QByteArray cut = jpeg.bytes().left(kTextAt + 18);
  info = readBytesAsFile(cut);
  EXPECT_EQ(info.ModifDate(), 0.0);
  EXPECT_EQ(readBytes(cut).ModifDate(), 0.0);
}

TEST(PictureInfos, InvalidDateTextsLeaveTheirDateAbsent) {
  ExifContent c = datedContent(false);
  c.dateTimeOriginal = "0000:00:00 00:00:00";
  JpegInfosClass info = readBytes(exifJpeg(c));
  EXPECT_EQ(info.CreateDate(), 0.0);
  EXPECT_EQ(info.ModifDate(), kDateTimeValue);

  c.bigEndian = true;
  c.dateTime = "    :  :     :  :  ";
  c.dateTimeOriginal = "2001:12:00 00:00:00";
  info = readBytes(exifJpeg(c));
  EXPECT_EQ(info.CreateDate(), 0.0);
  EXPECT_EQ(info.ModifDate(), 0.0);
  EXPECT_EQ(info.Message(), QString());
}

// Every prefix of a picture reads without a failure, and whatever it gives is what the whole
// picture gives: a cut file never yields a wrong size or date.
TEST(PictureInfos, CutFilesGiveWhatWasReadAndNothingElse) {
  for (bool bigEndian : {false, true}) {
    ExifContent c = datedContent(bigEndian);
    c.pointerBeforeDateTime = bigEndian;
    const QByteArray whole = exifJpeg(c, 321, 123);
    const JpegInfosClass full = readBytes(whole);
    ASSERT_EQ(full.CreateDate(), kOriginalValue);
    bool sawCreate = false;
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << "big-endian " << bigEndian << ", cut at " << cut);
      testsupport::ReportedErrors errors;
      const JpegInfosClass info = readBytes(whole.left(cut));
      EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join("\n").toStdString();
      EXPECT_TRUE(info.CreateDate() == 0.0 || info.CreateDate() == full.CreateDate());
      EXPECT_TRUE(info.ModifDate() == 0.0 || info.ModifDate() == full.ModifDate());
      EXPECT_TRUE(info.ImgWidth() == 0 || info.ImgWidth() == 321);
      EXPECT_TRUE(info.ImgHeight() == 0 || info.ImgHeight() == 123);
      sawCreate = sawCreate || info.CreateDate() > 0;
      if (cut % 9 == 0) {
        // The file road gives what the bytes road gives.
        const JpegInfosClass fromFile = readBytesAsFile(whole.left(cut));
        EXPECT_EQ(fromFile.CreateDate(), info.CreateDate());
        EXPECT_EQ(fromFile.ModifDate(), info.ModifDate());
        EXPECT_EQ(fromFile.ImgWidth(), info.ImgWidth());
        EXPECT_EQ(fromFile.Message(), info.Message());
      }
      if (cut < 2) {
        EXPECT_EQ(info.Message(), QStringLiteral("Format non JPEG"));
      }
    }
    // Once the EXIF segment is complete, the dates are there.
    EXPECT_TRUE(sawCreate);
  }
}

TEST(PictureInfos, SegmentLengthsBelowTwoAreFailuresAndTwoIsAnEmptySegment) {
  const QByteArray exif = exifBody(exifTiff(datedContent(false)));
  testsupport::ReportedErrors empty;
  JpegInfosClass info = readBytes(
      JpegBuilder().segment(0xE0, QByteArray()).app1(exif).frame(0xC0, 8, 5, 6).scanAndEnd().bytes());
  EXPECT_TRUE(empty.messages().isEmpty());
  EXPECT_EQ(info.CreateDate(), kOriginalValue);
  expectSize(info, 6, 5);

  // The frame-header walk meets the bad length first, before or after the EXIF segment: the
  // failure is reported and nothing after it is read.
  for (uint16_t length : {0, 1}) {
    for (bool afterExif : {false, true}) {
      testsupport::ReportedErrors errors;
      JpegBuilder jpeg;
      if (afterExif) jpeg.app1(exif);
      jpeg.segmentWithLength(0xE0, length, QByteArray(16, '\0'));
      if (!afterExif) jpeg.app1(exif);
      info = readBytes(jpeg.frame(0xC0, 8, 5, 6).bytes());
      EXPECT_TRUE(reported(errors, 9)) << errors.messages().join("\n").toStdString();
      EXPECT_EQ(info.CreateDate(), 0.0);
      expectSize(info, 0, 0, 0, 0);
    }
  }
}

// Offsets that point back into the directories, over and over, or past the end of the data.
TEST(PictureInfos, LoopsAndStrayOffsetsEndQuietly) {
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    // IFD0 whose sub-IFD pointer names IFD0 itself; IFD1 link back to IFD0 too. IFD0 also
    // holds the 0x9003 entry, so the sub-IFD walk (over IFD0) finds it.
    ByteWriter w(bigEndian);
    w.bytes(bigEndian ? "MM" : "II").u16(42).u32(8);
    w.u16(3).entry(0x8769, 4, 1, 8).entry(0x9003, 2, 20, 50).entry(0x8769, 4, 1, 8).u32(8);
    w.bytes(QByteArray(50 - w.size(), '\0')).bytes(kOriginal + '\0');
    testsupport::ReportedErrors errors;
    JpegInfosClass info = readBytes(JpegBuilder().app1(exifBody(w.data())).frame(0xC0, 8, 1, 1).bytes());
    EXPECT_TRUE(errors.messages().isEmpty());
    EXPECT_EQ(info.CreateDate(), kOriginalValue);

    // Offsets past the end of the data: nothing found, nothing reported.
    ByteWriter far(bigEndian);
    far.bytes(bigEndian ? "MM" : "II").u16(42).u32(8);
    far.u16(2).entry(0x0132, 2, 20, 0x100000).entry(0x8769, 4, 1, 0x7FFF0000).u32(0);
    info = readBytes(JpegBuilder().app1(exifBody(far.data())).bytes());
    EXPECT_TRUE(errors.messages().isEmpty());
    EXPECT_EQ(info.ModifDate(), 0.0);
    EXPECT_EQ(info.CreateDate(), 0.0);

    // IFD0 offset far past the end, and a huge entry count with no entries behind it.
    ByteWriter lost(bigEndian);
    lost.bytes(bigEndian ? "MM" : "II").u16(42).u32(0x10000000);
    EXPECT_EQ(readBytes(JpegBuilder().app1(exifBody(lost.data())).bytes()).Message(), QString());
    ByteWriter many(bigEndian);
    many.bytes(bigEndian ? "MM" : "II").u16(42).u32(8).u16(0x7FFF);
    EXPECT_EQ(readBytes(JpegBuilder().app1(exifBody(many.data())).bytes()).Message(), QString());
    EXPECT_TRUE(errors.messages().isEmpty());
  }
}

// Thousands of pointers to thousands of overlapping sub-IFDs: the walk ends in reasonable time
// and still reads IFD0 to its last entry.
TEST(PictureInfos, CraftedPointerStormEnds) {
  // IFD0 lies after the frame header, so the segment walks never see it.
  ByteWriter header(true);
  header.bytes("MM").u16(42).u32(0);
  JpegBuilder jpeg;
  jpeg.app1(exifBody(header.data())).frame(0xC0, 8, 1, 1);
  const uint32_t tiffBase = 2 + 4 + 6;
  const uint32_t ifd0 = static_cast<uint32_t>(jpeg.bytes().size()) - tiffBase;
  ByteWriter tiff(true);
  tiff.u32(ifd0);
  QByteArray bytes = jpeg.bytes();
  bytes.replace(tiffBase + 4, 4, tiff.data());

  constexpr uint32_t kCount = 0x7FFF;
  ByteWriter storm(true);
  storm.u16(kCount);
  for (uint32_t i = 0; i + 1 < kCount; ++i) {
    // Each pointer names the type field of the next entry, read there as a count of 0x7FFF.
    storm.entry(0x8769, 0x7FFF, 0x7FFF7FFF, ifd0 + 2 + 12 * (i + 1) + 2);
  }
  storm.entry(0x0132, 2, 20, ifd0 + 2 + 12 * kCount + 4).u32(0).bytes(kDateTime + '\0');
  testsupport::ReportedErrors errors;
  const JpegInfosClass info = readBytes(bytes + storm.data());
  EXPECT_TRUE(errors.messages().isEmpty());
  EXPECT_EQ(info.CreateDate(), 0.0);
  EXPECT_EQ(info.ModifDate(), kDateTimeValue);
}

TEST(PictureInfos, OffsetsBeyondTheSigned32BitRangeAreReportedAndKeepWhatWasRead) {
  for (bool bigEndian : {false, true}) {
    ByteWriter w(bigEndian);
    w.bytes(bigEndian ? "MM" : "II").u16(42).u32(8);
    w.u16(3).entry(0x0132, 2, 20, 8 + 2 + 36 + 4).entry(0x8769, 4, 1, 0xFFFFFFF0).entry(0x0132, 2, 20, 0x7FFFFFF0);
    w.u32(0).bytes(kDateTime + '\0');
    testsupport::ReportedErrors errors;
    const JpegInfosClass info =
        readBytes(JpegBuilder().app1(exifBody(w.data())).frame(0xC0, 8, 7, 9).scanAndEnd().bytes());
    EXPECT_TRUE(reported(errors, 6)) << errors.messages().join("\n").toStdString();
    EXPECT_EQ(info.ModifDate(), kDateTimeValue);
    EXPECT_EQ(info.CreateDate(), 0.0);
    expectSize(info, 9, 7);
  }
  ByteWriter ifd(false);
  ifd.bytes("II").u16(42).u32(0x7FFFFFFF);
  testsupport::ReportedErrors errors;
  readBytes(JpegBuilder().app1(exifBody(ifd.data())).bytes());
  EXPECT_TRUE(reported(errors, 6));
}

TEST(PictureInfos, FilesThatCannotBeOpenedAreReported) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("pic"));
  testsupport::ReportedErrors missing;
  JpegInfosClass info = PictureInfos(dir + QStringLiteral("/absent.jpg"));
  EXPECT_TRUE(reported(missing, 53)) << missing.messages().join("\n").toStdString();
  EXPECT_EQ(info.FileDate(), 0.0);
  EXPECT_EQ(info.Message(), QString());

  QDir(dir).mkdir(QStringLiteral("folder.jpg"));
  testsupport::ReportedErrors folder;
  info = PictureInfos(dir + QStringLiteral("/folder.jpg"));
  EXPECT_TRUE(reported(folder, 75)) << folder.messages().join("\n").toStdString();
  EXPECT_GT(info.FileDate(), 0.0);
  // A named pipe is refused at once (opened the ordinary way, it waits for a writer).
  const testsupport::GuardedFifo pipe(dir + QStringLiteral("/pipe.jpg"));
  ASSERT_TRUE(pipe.made());
  testsupport::ReportedErrors fifo;
  info = PictureInfos(dir + QStringLiteral("/pipe.jpg"));
  EXPECT_TRUE(reported(fifo, 75)) << fifo.messages().join("\n").toStdString();
  EXPECT_FALSE(pipe.releasedAReader());
}

// A file opened once by the caller reads as the same file read by path: file date to the
// second in local time (set here to a known date), dates and size; the reading takes the
// descriptor over and closes it, also when the file is not a picture.
TEST(PictureInfos, AnOpenedFileReadsAsByPathAndIsClosed) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("opened"));
  const QString path = dir + QStringLiteral("/p.jpg");
  const QString other = dir + QStringLiteral("/q.bin");
  ASSERT_TRUE(testsupport::writeFile(path, exifJpeg(datedContent(true), 320, 200)));
  ASSERT_TRUE(testsupport::writeFile(other, QByteArray("not a picture")));
  QFile file(path);
  const QDateTime stamp(QDate(2019, 7, 14), QTime(23, 59, 58));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(stamp, QFileDevice::FileModificationTime));
  file.close();

  const JpegInfosClass byPath = PictureInfos(path);
  const rt::OpenFile opened = rt::openFileForReading(path);
  const JpegInfosClass byFile = PictureInfos(opened);
  EXPECT_EQ(byFile.FileDate(), rt::makeDate(2019, 7, 14, 23, 59, 58));
  EXPECT_EQ(byFile.FileDate(), byPath.FileDate());
  EXPECT_EQ(byFile.CreateDate(), kOriginalValue);
  EXPECT_EQ(byFile.ModifDate(), kDateTimeValue);
  expectSize(byFile, 320, 200);
  EXPECT_EQ(::fcntl(opened.fd, F_GETFD), -1);

  const rt::OpenFile notPicture = rt::openFileForReading(other);
  EXPECT_EQ(PictureInfos(notPicture).Message(), QStringLiteral("Format non JPEG"));
  EXPECT_EQ(::fcntl(notPicture.fd, F_GETFD), -1);
}
