#pragma once
// The images a TIFF or TIFF-based raw file holds: the size of the largest and where its
// largest embedded JPEG lies (the preview a raw file carries).

#include "app/picture/ExifTiff.h"
#include "app/picture/PictureBytes.h"

#include <cstdint>

struct EmbeddedJpeg {
  int64_t offset = 0;  // from the start of the bytes walked
  int64_t length = 0;  // 0: none
};

struct TiffImages {
  int64_t width = 0;  // of the image with the most pixels; 0 when no directory gives both sides
  int64_t height = 0;
  int64_t bits = 0;     // its first BitsPerSample
  int64_t samples = 0;  // its SamplesPerPixel
  EmbeddedJpeg largestJpeg;
};

// Walks IFD0, the directories chained after it and their SubIFDs (0x14A), each directory once
// and at most 64 of them, reading types and counts properly. Embedded JPEGs are the
// JPEGInterchangeFormat pairs (0x201/0x202), single strips compressed as JPEG in RGB or YCbCr,
// and a RW2's JpgFromRaw (0x2E); the largest in bytes that lies inside the data wins. A RW2
// (magic 0x55) gives its size from its sensor borders. Directories cut or out of range are
// left out; never raises for bad offsets.
TiffImages ReadTiffImages(PictureBytes& bytes, int64_t base, const TiffHeader& header);
