#pragma once
// The parsing core of the picture reader: JPEG marker segments, the EXIF APP1 segment, the
// TIFF header and the two directories that hold the dates.

#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"

// Reads the frame header (SOF0 only) and the EXIF dates of the bytes into info; FileDate is
// not touched. The file is walked as it always has been:
// - frame header: segments from offset 2, following their lengths, until SOF0 or SOS or the
//   end of the data;
// - EXIF: segments from offset 2 again while they are APP0..APP15, up to the first APP1,
//   whatever it holds; then the TIFF header, IFD0 (DateTime 0x0132) and the Exif sub-IFD its
//   pointer 0x8769 names (DateTimeOriginal 0x9003). Type and count of entries are ignored.
// Missing bytes read as zero: a cut file ends the walks quietly with what was read. A file
// that is not JPEG or whose EXIF/TIFF header is wrong ends with Message set (no failure).
// Raises a run-time error, info keeping what was read before, for: a segment length below 2
// (9), a TIFF offset that is negative or takes the read position past the signed 32-bit range
// (6), a failure of the byte source or of the library calls.
void ReadJpegInfos(PictureBytes& bytes, JpegInfosClass& info);
