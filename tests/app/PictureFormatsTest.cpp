// The readers of the formats beyond JPEG on byte-built files: TIFF raw files, HEIF, CR3,
// movies, PNG, WebP and RAF, in both byte orders, with the box sizes ISO allows, looping and
// outlying offsets, and every truncation.
#include "app/picture/PictureBytes.h"
#include "app/picture/PictureFormat.h"
#include "app/picture/PictureInfos.h"
#include "app/picture/QuickTimeDates.h"
#include "tests/support/FormatBuilder.h"
#include "tests/support/ReportedErrors.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace testsupport;

namespace {

const QByteArray kModified = "2021:02:05 10:56:53";
const QByteArray kTaken = "2021:02:05 10:56:50";
const rt::DateValue kModifiedValue = rt::makeDate(2021, 2, 5, 10, 56, 53);
const rt::DateValue kTakenValue = rt::makeDate(2021, 2, 5, 10, 56, 50);
// 2020-05-04 18:39:11 UTC in seconds since 1904.
constexpr uint64_t kMovieTime = 3671462351ull;

JpegInfosClass readBytes(const QByteArray& bytes) {
  return PictureInfosFromBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
}

QByteArray datedTiff(bool bigEndian) {
  ExifContent c;
  c.bigEndian = bigEndian;
  c.dateTime = kModified;
  c.dateTimeOriginal = kTaken;
  return exifTiff(c);
}

rt::DateValue localFromUtc(int y, int mo, int d, int h, int mi, int s) {
  const QDateTime local = QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC).toLocalTime();
  return rt::makeDate(local.date().year(), local.date().month(), local.date().day(), local.time().hour(),
                      local.time().minute(), local.time().second());
}

EmbeddedJpeg previewOf(const QByteArray& bytes) {
  MemoryPictureBytes source(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
  return LargestEmbeddedJpeg(source);
}

void expectDated(const JpegInfosClass& info, rt::DateValue created = kTakenValue, rt::DateValue modified = kModifiedValue) {
  EXPECT_EQ(info.CreateDate(), created);
  EXPECT_EQ(info.ModifDate(), modified);
  EXPECT_EQ(info.Message(), "");
}

}  // namespace

// IFD0 -> Exif sub-IFD for the dates, the SubIFD with the most pixels for the size, the JPEG
// of IFD1 for the preview; both byte orders, the raw magic numbers too.
TEST(PictureFormats, TiffRawGivesDatesLargestImageAndItsPreview) {
  for (bool bigEndian : {false, true}) {
    for (uint16_t magic : {uint16_t{42}, uint16_t{0x4F52}}) {
      SCOPED_TRACE(bigEndian ? "MM" : "II");
      RawContent c;
      c.bigEndian = bigEndian;
      c.magic = magic;
      ReportedErrors errors;
      const QByteArray file = rawFile(c);
      const JpegInfosClass info = readBytes(file);
      expectDated(info);
      EXPECT_EQ(info.ImgWidth(), 6000);
      EXPECT_EQ(info.ImgHeight(), 4000);
      EXPECT_EQ(info.DataBits(), 14);
      const EmbeddedJpeg jpeg = previewOf(file);
      EXPECT_EQ(jpeg.length, 64);
      EXPECT_EQ(file.mid(jpeg.offset, 2), QByteArray("\xFF\xD8"));
      EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join("\n").toStdString();
    }
  }
}

// Directory chains that loop back, SubIFDs that name themselves, a JPEG past the end: the walk
// ends, keeps what it read and offers no preview it cannot deliver.
TEST(PictureFormats, TiffLoopsAndOutlyingOffsetsEndTheWalk) {
  RawContent c;
  QByteArray file = rawFile(c);
  const auto patch = [&](int at, uint32_t value) { file.replace(at, 4, ByteWriter(false).u32(value).data()); };
  patch(110 + 2 + 2 * 12, 8);           // IFD1 -> IFD0
  patch(8 + 2 + 5 * 12 + 8, 8);         // SubIFDs -> IFD0
  patch(110 + 2 + 12 + 8, 0xFFFFFF00);  // JPEG length past the end
  ReportedErrors errors;
  const JpegInfosClass info = readBytes(file);
  expectDated(info);
  EXPECT_EQ(info.ImgWidth(), 750);  // only IFD0's own image is left
  EXPECT_EQ(previewOf(file).length, 0);
  EXPECT_TRUE(errors.messages().isEmpty());
}

// HEIF: the Exif item through iinf/iloc wherever it lies (before or after the image data, in
// idat), item locations of version 0 and 1, both byte orders; the primary item's size.
TEST(PictureFormats, HeifExifItemAndPrimarySize) {
  for (bool bigEndian : {false, true}) {
    for (int variant = 0; variant < 4; ++variant) {
      SCOPED_TRACE(testing::Message() << (bigEndian ? "MM " : "II ") << variant);
      HeifContent c;
      c.tiff = datedTiff(bigEndian);
      c.exifAtEnd = variant == 1;
      c.exifInIdat = variant == 2;
      c.ilocVersion = variant == 3 ? 0 : 1;
      const JpegInfosClass info = readBytes(heifFile(c));
      expectDated(info);
      EXPECT_EQ(info.ImgWidth(), 4032);
      EXPECT_EQ(info.ImgHeight(), 3024);
    }
  }
  HeifContent undated;
  const JpegInfosClass info = readBytes(heifFile(undated));
  expectDated(info, 0.0, 0.0);
  EXPECT_EQ(info.ImgWidth(), 4032);
}

// Box sizes: 64-bit, 0 ("to the end of the file"), and one claiming more than the file holds.
TEST(PictureFormats, BoxSizesOfEveryKind) {
  const QByteArray ftyp = box("ftyp", QByteArray("isom") + be32(0) + "isommp42");
  const QByteArray movie = mvhd(0, kMovieTime) + trak(0, 0, 0) + trak(0, 1920, 1080);
  const rt::DateValue expected = localFromUtc(2020, 5, 4, 18, 39, 11);
  for (const QByteArray& file : {ftyp + box64("mdat", QByteArray(40, '\0')) + box64("moov", movie),
                                 ftyp + box("moov", movie) + boxToEnd("mdat", QByteArray(40, '\0')),
                                 ftyp + box("free", "") + boxToEnd("moov", movie),
                                 ftyp + box("moov", movie + QByteArray(500, '\0')).left(ftyp.size() + 8 + movie.size())}) {
    const JpegInfosClass info = readBytes(file);
    EXPECT_EQ(info.CreateDate(), expected);
    EXPECT_EQ(info.ImgWidth(), 1920);
    EXPECT_EQ(info.ImgHeight(), 1080);
  }
}

// Movie header versions 0 and 1 (UTC, shown in local time), a zero time meaning no date, and
// Apple's creation-date key winning with the local time written in it.
TEST(PictureFormats, MovieDates) {
  const QByteArray ftyp = box("ftyp", QByteArray("qt  ") + be32(0) + "qt  ");
  const rt::DateValue utcDate = localFromUtc(2020, 5, 4, 18, 39, 11);
  EXPECT_EQ(readBytes(ftyp + box("moov", mvhd(0, kMovieTime) + trak(0, 640, 480))).CreateDate(), utcDate);
  EXPECT_EQ(readBytes(ftyp + box("moov", mvhd(1, kMovieTime) + trak(1, 640, 480))).CreateDate(), utcDate);
  EXPECT_EQ(readBytes(ftyp + box("moov", mvhd(1, kMovieTime) + trak(1, 640, 480))).ImgWidth(), 640);
  EXPECT_EQ(readBytes(ftyp + box("moov", mvhd(0, 0))).CreateDate(), 0.0);
  EXPECT_EQ(readBytes(ftyp + box("moov", mvhd(1, 0))).CreateDate(), 0.0);
  const QByteArray apple = box("moov", mvhd(0, kMovieTime) + appleCreationMeta("2019-07-24T11:25:40+0300"));
  EXPECT_EQ(readBytes(ftyp + box("mdat", "x") + apple).CreateDate(), rt::makeDate(2019, 7, 24, 11, 25, 40));
  // A key that is not a date leaves the movie header's time.
  EXPECT_EQ(readBytes(ftyp + box("moov", mvhd(0, kMovieTime) + appleCreationMeta("2019-07-24"))).CreateDate(), utcDate);
  // Old QuickTime movies start without ftyp.
  EXPECT_EQ(readBytes(box("wide", "") + box("mdat", "") + box("moov", mvhd(0, kMovieTime))).CreateDate(), utcDate);
  EXPECT_EQ(LocalDateFromMovieTime(~0ull), std::nullopt);
}

// CR3: EXIF dates of CMT1/CMT2 (local camera time) win over the UTC movie header, which
// serves only when the EXIF has no date.
TEST(PictureFormats, Cr3DatesComeFromItsTiffBoxes) {
  ExifContent ifd0;
  ifd0.dateTime = kModified;
  for (bool bigEndian : {false, true}) {
    ifd0.bigEndian = bigEndian;
    expectDated(readBytes(cr3File(exifTiff(ifd0), exifIfdTiff(bigEndian, kTaken), kMovieTime)));
  }
  const JpegInfosClass undated = readBytes(cr3File(exifTiff(ifd0), exifIfdTiff(false, "0000:00:00 00:00:00"), kMovieTime));
  EXPECT_EQ(undated.CreateDate(), localFromUtc(2020, 5, 4, 18, 39, 11));
}

// PNG eXIf before or after the image data, WebP EXIF with and without "Exif" 0 0, RAF's JPEG.
TEST(PictureFormats, PngWebpAndRafCarryTheirExif) {
  for (bool bigEndian : {false, true}) {
    const QByteArray tiff = datedTiff(bigEndian);
    for (bool after : {false, true}) {
      const JpegInfosClass png = readBytes(pngFile(1499, 1000, after ? exifBody(tiff) : tiff, after));
      expectDated(png);
      EXPECT_EQ(png.ImgWidth(), 1499);
      EXPECT_EQ(png.Layers(), 4);
    }
    for (const QByteArray& block : {tiff, exifBody(tiff)}) {
      const JpegInfosClass webp = readBytes(webpFile(1024, 641, block));
      expectDated(webp);
      EXPECT_EQ(webp.ImgHeight(), 641);
    }
    ExifContent c;
    c.bigEndian = bigEndian;
    c.dateTimeOriginal = kTaken;
    const QByteArray raf = rafFile(exifJpeg(c, 160, 120));
    const JpegInfosClass info = readBytes(raf);
    expectDated(info, kTakenValue, 0.0);
    EXPECT_EQ(info.ImgWidth(), 160);
    EXPECT_EQ(previewOf(raf).offset, 100);
  }
}

// Every prefix of every format: no failure reported, and every value read is either absent or
// the one the whole file gives (a cut never invents a date or a size; a file cut before the
// image it names shows the size of another one it still holds).
TEST(PictureFormats, EveryTruncationReadsQuietly) {
  HeifContent heif;
  heif.tiff = datedTiff(true);
  heif.exifAtEnd = true;
  ExifContent ifd0;
  ifd0.dateTime = kModified;
  const QByteArray ftyp = box("ftyp", QByteArray("qt  ") + be32(0) + "qt  ");
  const QList<QByteArray> files{
      rawFile(RawContent{}),
      heifFile(heif),
      cr3File(exifTiff(ifd0), exifIfdTiff(true, kTaken), kMovieTime),
      // The key comes first: a cut inside it leaves no movie header to fall back on.
      ftyp + box("moov", appleCreationMeta("2019-07-24T11:25:40+0300") + mvhd(1, kMovieTime) + trak(0, 640, 480)),
      pngFile(1499, 1000, datedTiff(false), true),
      webpFile(1024, 640, exifBody(datedTiff(true))),
  };
  for (const QByteArray& file : files) {
    const JpegInfosClass whole = readBytes(file);
    ASSERT_GT(whole.CreateDate(), 0.0);
    ReportedErrors errors;
    for (qsizetype cut = 0; cut < file.size(); ++cut) {
      const JpegInfosClass part = readBytes(file.left(cut));
      ASSERT_TRUE(part.CreateDate() == 0.0 || part.CreateDate() == whole.CreateDate()) << cut;
      ASSERT_TRUE(part.ModifDate() == 0.0 || part.ModifDate() == whole.ModifDate()) << cut;
      ASSERT_TRUE(part.ImgWidth() == 0 || part.ImgWidth() == whole.ImgWidth() || part.ImgWidth() == 6000 / 8 ||
                  part.ImgWidth() == 8000)
          << cut << " of " << file.size() << ": " << part.ImgWidth();
    }
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().first().toStdString();
  }
}
