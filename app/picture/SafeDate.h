#pragma once
// The one date that names a picture.

#include "app/picture/JpegInfosClass.h"
#include "runtime/DateValue.h"

// The picture's shooting date, else its EXIF modification date, else its file date, with the
// clock correction of CurrentConfig() (RenameOffsets::fromConfig); the file date gets it only
// when OffsetNoDate is set as well. A picture with no
// date at all (FileDate absent too) gives 0. A result outside the date range (years
// 100..9999) is a failure: it is reported as wMain.GetSafeDate and 0 is returned.
rt::DateValue GetSafeDate(const JpegInfosClass& info);
