#pragma once
// Which reader a picture's bytes go to, told from their first bytes.

#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"
#include "app/picture/TiffImages.h"

enum class PictureFormat { kJpeg, kTiff, kIsoBmff, kPng, kWebp, kRaf, kUnknown };

// The format the bytes start as. A JPEG (FF D8) and anything not recognised are read by the
// JPEG reader, so that they read exactly as they always have.
PictureFormat DetectPictureFormat(PictureBytes& bytes);

// Reads dates, size and message of any supported format into info (FileDate untouched).
// Errors as ReadJpegInfos for JPEG and for the EXIF blocks inside the other formats.
void ReadPictureInfos(PictureBytes& bytes, JpegInfosClass& info);

// The largest JPEG a raw file carries as its preview (TIFF-based raw, RAF, CR3); length 0
// when there is none or the format has no such preview.
EmbeddedJpeg LargestEmbeddedJpeg(PictureBytes& bytes);
