#pragma once
// Which files of a folder go together when a listed picture is renamed: the one rule for
// companion files and groups (the list builds its rows with it, the rename moves what it says).
//
// Base names are the names without their last extension, compared ignoring letter case
// (Unicode simple case folding, as for taken names). The "owners" in a folder are the files
// with a listable extension (FileKinds::IsListable) plus every listed file that is not a
// companion; a companion (.xmp .thm .aae .pp3 .dop) is never an owner.
//
//   - Raw + JPEG/HEIC: a listed raw file and a listed JPEG or HEIC of the same base name form
//     one group when both were shot in the same second and the folder holds no other raw file
//     and no other JPEG/HEIC of that base name.
//   - Live photo: a listed JPEG or HEIC and the one ".mov" of its base name (listed or not)
//     form one group, again only when the folder holds no other JPEG/HEIC of that base name.
//   - Companions: "IMG_1.xmp" belongs to the owners whose base name is "IMG_1", and
//     "IMG_1.CR2.xmp" (any companion extension after a full name) to the owner named
//     "IMG_1.CR2". A companion joins a group only when every owner it belongs to is in that
//     one group: a companion that could also be another group's, or an unlisted picture's
//     (the raw file left out of the list), stays where it is, so that no picture's edits go
//     away with another picture. Such a companion is reported as unclaimed when at least one
//     of its owners is listed. Two companions of one group whose new names would differ only
//     in letter case ("IMG_1.xmp", "img_1.XMP") are unclaimed both.
//   - The group's row, the file the list shows and whose date names the group, is its
//     JPEG/HEIC when it has one, else its only listed owner.
//   - A listed file that the rules put in another file's group joins it and is no row of its
//     own; a listed companion that joins no group stays a row, as any listed file.
//
// A group's files all get the row's new base name followed by their own extensions:
// "IMG_1.CR2" -> base + ".CR2", "IMG_1.xmp" -> base + ".xmp", "IMG_1.CR2.xmp" -> base +
// ".CR2.xmp", every extension cased by the Extension setting.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A listed file of the folder.
struct GroupedFile {
  QString name;           // the file name, without folder
  QString captureSecond;  // its shooting date to the second ("yyyymmddhhmmss"), "" when none
};

// A file that moves with a group's row.
struct GroupMember {
  QString name;           // its present name
  int extensions = 1;     // how many of its trailing extensions its new name keeps (1 or 2)
  qsizetype listed = -1;  // its index among the listed files, -1 when it is not listed
};

struct FileGroup {
  qsizetype row = 0;                 // index of the listed file the list shows for the group
  std::vector<GroupMember> members;  // the group's other files, by name
};

struct FolderGroups {
  std::vector<FileGroup> groups;  // one per listed file that stays a row, in listed order
  QStringList unclaimed;          // companions left where they are although a listed file may own them
};

// The groups of the listed files of one folder whose entries are listing (the listed files
// are counted in even when listing misses them).
FolderGroups GroupFolder(const QStringList& listing, const std::vector<GroupedFile>& listed);

// Whether a file of this name may join another file's group: a raw file, a live photo's movie
// or a companion. A folder where no file may (the usual folder of pictures) forms no group:
// GroupFolder makes each listed file a row of its own, with no members.
bool MayJoinGroup(const QString& name);

// The new name of member when its group's new base name is newBase: newBase and the member's
// last member.extensions extensions, each cased for extension (0 unchanged, 1 upper, 2 lower).
QString MemberNewName(const GroupMember& member, const QString& newBase, uint8_t extension);
