#pragma once
// The "moov" box of a QuickTime or MP4 movie, and of a Canon CR3 raw file (a movie
// container whose Canon box holds TIFF blocks).

#include "app/picture/IsoBox.h"
#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"

// Fills the record from the movie box:
// - CR3: ModifDate and the size from the CMT1 TIFF block, CreateDate from the CMT2 Exif
//   block (local camera time);
// - when no EXIF date was found: CreateDate from Apple's com.apple.quicktime.creationdate
//   key (the local time written in it), else from the movie header's creation time (UTC,
//   converted to local time; 0 means none);
// - when no size was found: the size of the first track that has one.
void ReadMovie(PictureBytes& bytes, const isobmff::Box& moov, JpegInfosClass& info);
