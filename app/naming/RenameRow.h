#pragma once
// One row of the file list as the rename operation sees it.

#include <QString>

struct RenameRow {
  QString key;      // the file's full path: folder + "/" + text; unique in the list
  QString text;     // the file name, with extension, without folder
  QString folder;   // the folder, without trailing "/"
  QString dateKey;  // the row's date key "yyyymmddhhmmss" (see RowDateKey), "" when none
  bool exifMark = false;  // the picture had an EXIF date when the row was added
  bool checked = false;   // the row is to be renamed
};
