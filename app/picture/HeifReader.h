#pragma once
// The "meta" box of a HEIF or AVIF picture: the EXIF dates of its "Exif" item (found through
// the item information and item location boxes) and the size of its primary item.

#include "app/picture/IsoBox.h"
#include "app/picture/JpegInfosClass.h"
#include "app/picture/PictureBytes.h"

// Fills ModifDate and CreateDate from the Exif item (see ReadExifTiff; an item of several
// extents is not read), and width and height from the primary item's "ispe" property (the
// largest "ispe" when the primary item has none), with its "pixi" depth when there is one.
void ReadHeifMeta(PictureBytes& bytes, const isobmff::Box& meta, JpegInfosClass& info);
