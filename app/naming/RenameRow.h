#pragma once
// One row of the file list as the rename operation sees it.

#include "app/naming/FileGroups.h"

#include <QString>

#include <vector>

struct RenameRow {
  QString key;      // the file's full path: folder + "/" + text; unique in the list
  QString text;     // the file name, with extension, without folder
  QString folder;   // the folder, without trailing "/"
  QString dateKey;  // the row's date key "yyyymmddhhmmss" (see RowDateKey), "" when none
  bool exifMark = false;  // the picture had an EXIF date when the row was added
  bool checked = false;   // the row is to be renamed
  // The other files of the row's group, in its folder: renamed with it to the same new base
  // name (FileGroups.h), their names kept up to date like text. Empty when the row is a file
  // on its own (always, with Companions off).
  std::vector<GroupMember> members = {};
};
