#pragma once
// The base name the rename gives a file (its name before the numbering suffix and the
// extension). The rename operation and the future name of the status bar both ask here, so
// the status bar shows what the rename does.

#include "app/naming/ConfigClass.h"
#include "app/naming/RenameEngine.h"
#include "app/picture/JpegInfosClass.h"

#include <QString>

#include <exception>

struct BaseNameChoice {
  enum class Kind {
    Body,  // named after a date: body holds the name body
    Keep,  // not renamed: it keeps its name
    Ask,   // named after the date the user types while renaming ("Demander le nom")
  };
  Kind kind = Kind::Keep;
  QString body;
};

// Days from a to b on a plain day line: exact across 1899-12-30, where date values change
// sign (before it a value counts whole days back while its fraction still adds the time of
// day). The clock correction is the days from the camera time to the true time.
double DaysBetween(rt::DateValue a, rt::DateValue b);

// Where the date a row is named after comes from.
enum class DateSource {
  None,         // no date: the file keeps its name, or the date is asked while renaming
  ExifCapture,  // EXIF DateTimeOriginal, plus the offset
  ExifModif,    // EXIF DateTime, plus the offset
  File,         // the file date or the row's date key, plus the undated offset
  Typed,        // typed by the user while renaming
};

// The date used for a row and the base name written from it.
struct DateChoice {
  BaseNameChoice name;
  rt::DateValue date = 0.0;  // offsets included; 0 unless name.kind is Body
  DateSource source = DateSource::None;
};

// The one rule for the date a row is named after; ChooseBaseName below tells it in full.
DateChoice ChooseDate(const ConfigClass& config, const RenameOffsets& offsets, const JpegInfosClass& info,
                      const QString& dateKey, bool exifMark);

// A row's date worked out ahead of a run: what ChooseDate gave, or what it threw.
struct ChosenDate {
  DateChoice choice;
  std::exception_ptr error;
};

// The choice for a row whose picture reads as info now, with the row's date key and EXIF mark
// (fixed when the row was added), under config and offsets: the shooting date, else the EXIF
// modification date (plus offset), else, for a row marked as EXIF whose dates can no longer be
// read, the file date plus the undated offset. A file without EXIF date goes by NotExif: 0 the
// row's date key plus the undated offset (kept when the key holds no date), 1 kept, 2 asked;
// codes no setting defines keep the file. Raises the runtime's error when a date cannot be
// written as a date key (outside years 100..9999).
BaseNameChoice ChooseBaseName(const ConfigClass& config, const RenameOffsets& offsets, const JpegInfosClass& info,
                              const QString& dateKey, bool exifMark);
