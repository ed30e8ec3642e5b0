#pragma once
// What the file list shows of a picture: the date key of its row and its future name (the
// NewName panel of the status bar).

#include "app/picture/JpegInfosClass.h"

#include <QString>

// The date key of a row ("yyyymmddhhmmss"): the picture's CreateDate when present, else its
// ModifDate, else its FileDate, without any clock correction. "" when the picture has no date
// at all, or when the chosen date cannot be written as a key (outside years 100..9999).
QString RowDateKey(const JpegInfosClass& info);

// The row's EXIF mark: the picture has a CreateDate or a ModifDate.
bool HasExifDate(const JpegInfosClass& info);

// The extension text of a new name for the file named fileName: "." + its extension (what
// follows the last "." of the name itself, never of a folder), upper-cased for extension 1,
// lower-cased for 2, unchanged otherwise; "" for a name without extension, so that no name
// ever ends in a bare ".".
QString NewExtensionText(const QString& fileName, uint8_t extension);

// The future name of the picture at path, as the NewName panel shows it under CurrentConfig():
// the name body of GetSafeDate(info) (the clock correction applied as the settings say), the
// suffix pattern as a placeholder when IsSuffix is set ("XX", "000"...), then the file's
// extension unchanged. "" when the picture has no date (GetSafeDate gives 0). Failures are
// reported by GetSafeDate (wMain.GetSafeDate), which then gives 0.
QString FutureName(const QString& path, const JpegInfosClass& info);
