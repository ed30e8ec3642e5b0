#pragma once
// ISO base media files: HEIF/HEIC/AVIF pictures, CR3 raw files and MP4/QuickTime/3GP movies.

#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"

// True when the bytes start like one of these files: an "ftyp" box, or (older QuickTime
// movies) one of the boxes such a movie starts with.
bool LooksLikeIsoBmff(PictureBytes& bytes);

// Walks the top-level boxes: a "meta" box is read as HEIF items (see ReadHeifMeta), a "moov"
// box as a movie (see ReadMovie). EXIF dates win over movie dates. Never raises for a bad
// box; a bad EXIF block inside raises as ReadExifTiff does.
void ReadIsoBmffInfos(PictureBytes& bytes, JpegInfosClass& info);
