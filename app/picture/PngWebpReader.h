#pragma once
// PNG and WebP pictures: the size from the image header, the EXIF dates from the EXIF chunk.

#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"

bool LooksLikePng(PictureBytes& bytes);
bool LooksLikeWebp(PictureBytes& bytes);

// PNG: IHDR gives size and depth; the "eXIf" chunk (before or after the image data) gives the
// dates (see ReadExifTiff; a leading "Exif" 0 0 is skipped). Chunks are followed by their
// lengths until IEND or the end of the data.
void ReadPngInfos(PictureBytes& bytes, JpegInfosClass& info);

// WebP (RIFF): VP8X, VP8 or VP8L gives the size, the "EXIF" chunk the dates.
void ReadWebpInfos(PictureBytes& bytes, JpegInfosClass& info);
