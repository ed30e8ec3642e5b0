#pragma once
// What the file list shows of a picture: the date key of its row and its future name (the
// NewName panel of the status bar).

#include "app/naming/FileGroups.h"
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
// what the rename writes for it, the numbering suffix shown as its pattern ("XX", "000"...)
// when IsSuffix is set. The base name is the rename's own choice (ChooseBaseName, with the
// clock correction of the settings) for the row's date key and EXIF mark; the extension is
// cased as the rename cases it. "" when the rename would not name the file after a date: no
// date, "Ne pas renommer", or a name asked while renaming ("Demander le nom"). A date that
// cannot be written is reported (Global.FutureName) and gives "".
QString FutureName(const QString& path, const JpegInfosClass& info, const QString& dateKey, bool exifMark);

// The same for a file read now: the date key and EXIF mark a row added now would get.
QString FutureName(const QString& path, const JpegInfosClass& info);

// The future name of member, a file of the group of the row named rowName whose future name
// is rowFutureName (as FutureName gives it): the same body and suffix pattern with the
// member's own extensions. "" when rowFutureName is "".
QString FutureMemberName(const QString& rowFutureName, const QString& rowName, const GroupMember& member);
