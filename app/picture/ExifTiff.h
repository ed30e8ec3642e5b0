#pragma once
// The TIFF block that holds the EXIF dates, wherever it sits (a JPEG APP1 segment, a TIFF or
// raw file, a HEIF item, a PNG or WebP chunk, a CR3 box): its header, IFD0 and the Exif
// sub-IFD. Offsets inside the block count from its first byte (the base).

#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureCursor.h"

#include <cstdint>
#include <optional>

// Which TIFF header magic numbers a container accepts.
enum class TiffMagic {
  kExif,  // 42 only: EXIF blocks and plain TIFF
  kRaw,   // also the raw variants: 0x55 (RW2), "RO" and "SR" (ORF)
};

struct TiffHeader {
  bool bigEndian = false;
  uint16_t magic = 0;
  int32_t ifd0 = 0;  // as stored; negative when the top bit is set
};

// The 8-byte header at base, or nullopt with Message set: "* Format d'alignement non
// reconnu" for a byte order other than II/MM, "* Entête TIFF incorrecte" for a magic the
// container does not accept. Missing bytes read as zero.
std::optional<TiffHeader> ReadTiffHeader(Cursor& cursor, int64_t base, JpegInfosClass& info,
                                         TiffMagic magic = TiffMagic::kExif);

// The TIFF block at base: header, then IFD0's DateTime (0x0132) into ModifDate and the
// DateTimeOriginal (0x9003) of the Exif sub-IFD named by 0x8769 into CreateDate. Type and
// count of entries are ignored; IFD0 starts right after the header when its offset is 8 or
// less. A cut block ends the walk quietly with what was read. Raises 6 for an offset with the
// top bit set or one that takes the position past the signed 32-bit range.
void ReadExifTiff(Cursor& cursor, int64_t base, JpegInfosClass& info, TiffMagic magic = TiffMagic::kExif);

// The first IFD of the TIFF block at base read as an Exif IFD (Canon stores it so in CR3):
// its DateTimeOriginal, or nullopt. Same limits and errors as ReadExifTiff.
std::optional<rt::DateValue> ReadExifIfdDate(Cursor& cursor, int64_t base);

// Where the TIFF header of an EXIF block starts: after a leading "Exif" 0 0 when the block
// has one (PNG, WebP and HEIF writers differ on this), else at start.
int64_t SkipExifPrefix(PictureBytes& bytes, int64_t start);
