// Which files of a folder go with a listed picture, and the names they get.

#include "app/naming/FileGroups.h"

#include <gtest/gtest.h>

namespace {

// The groups as text, one per row: "ROW: MEMBER, MEMBER", a listed member marked "*", a
// member keeping two extensions marked "(2)"; then "unclaimed: ...".
QStringList describe(const FolderGroups& groups, const std::vector<GroupedFile>& listed) {
  QStringList lines;
  for (const FileGroup& group : groups.groups) {
    QStringList members;
    for (const GroupMember& member : group.members) {
      QString text = member.name;
      if (member.listed >= 0) {
        EXPECT_EQ(listed[static_cast<size_t>(member.listed)].name, member.name);
        text += QLatin1Char('*');
      }
      if (member.extensions == 2) text += QStringLiteral("(2)");
      members.append(text);
    }
    lines.append(listed[static_cast<size_t>(group.row)].name + QStringLiteral(": ") + members.join(QStringLiteral(", ")));
  }
  lines.append(QStringLiteral("unclaimed: ") + groups.unclaimed.join(QStringLiteral(", ")));
  return lines;
}

QStringList group(const QStringList& listing, const std::vector<GroupedFile>& listed) {
  return describe(GroupFolder(listing, listed), listed);
}

}  // namespace

TEST(FileGroups, ShotsKeepTheirRawLivePhotoAndSidecarsTogether) {
  const QStringList listing{"IMG_1.CR2", "IMG_1.JPG",  "IMG_1.xmp",  "img_1.cr2.XMP", "IMG_2.HEIC", "IMG_2.MOV",
                            "IMG_2.AAE", "img_3.dng",  "IMG_3.JPG",  "IMG_3.THM",     "MVI_4.MOV",  "MVI_4.THM",
                            "notes.txt", "IMG_1.txt"};
  const std::vector<GroupedFile> listed{{"IMG_1.CR2", "20240501101010"}, {"IMG_1.JPG", "20240501101010"},
                                        {"IMG_2.HEIC", "20240501111111"}, {"img_3.dng", "20240501121212"},
                                        {"IMG_3.JPG", "20240501121213"},  {"MVI_4.MOV", ""}};
  EXPECT_EQ(group(listing, listed),
            QStringList({"IMG_1.JPG: IMG_1.CR2*, IMG_1.xmp, img_1.cr2.XMP(2)",  // the raw joins its JPEG
                         "IMG_2.HEIC: IMG_2.AAE, IMG_2.MOV",                      // the movie needs no listing
                         "img_3.dng: ",  // another second: two shots, and the .THM could be either's
                         "IMG_3.JPG: ", "MVI_4.MOV: MVI_4.THM", "unclaimed: IMG_3.THM"}));
  // Adding the files in another order gives the same groups (the row is always the JPEG/HEIC).
  const std::vector<GroupedFile> reversed(listed.rbegin(), listed.rend());
  EXPECT_EQ(group(listing, reversed),
            QStringList({"MVI_4.MOV: MVI_4.THM", "IMG_3.JPG: ", "img_3.dng: ", "IMG_2.HEIC: IMG_2.AAE, IMG_2.MOV",
                         "IMG_1.JPG: IMG_1.CR2*, IMG_1.xmp, img_1.cr2.XMP(2)", "unclaimed: IMG_3.THM"}));
}

TEST(FileGroups, ACompanionAnotherFileMayOwnStaysWhereItIs) {
  const QStringList listing{"A.CR2",  "A.JPG",  "A.xmp",  "A.JPG.xmp",  // raw left out of the list
                            "B.JPG",  "B.HEIC", "B.MOV",  "B.xmp",      // two pictures to one movie
                            "C.JPG",  "C.xmp",  "c.XMP",                // case twins
                            "D.JPG",  "D.xmp",  "E.xmp",                // listed sidecars
                            "F.CR2",  "F.JPG",  "G.png",  "G.png.pp3"};
  const std::vector<GroupedFile> listed{{"A.JPG", "1"}, {"B.JPG", "2"}, {"B.HEIC", "2"}, {"C.JPG", "3"},
                                        {"D.xmp", ""},  {"D.JPG", "4"}, {"E.xmp", ""},   {"F.CR2", ""},
                                        {"F.JPG", ""},  {"G.png", ""}};
  EXPECT_EQ(group(listing, listed),
            QStringList({"A.JPG: A.JPG.xmp(2)", "B.JPG: ", "B.HEIC: ", "C.JPG: ",
                         "D.JPG: D.xmp*",  // a listed sidecar joins its picture's row
                         "E.xmp: ",        // one with no picture stays a row
                         "F.CR2: ", "F.JPG: ",  // no shooting second: not known to be one shot
                         "G.png: G.png.pp3(2)", "unclaimed: A.xmp, B.xmp, C.xmp, c.XMP"}));
}

TEST(FileGroups, MembersTakeTheNewBaseWithTheirOwnExtensionsCased) {
  const GroupMember raw{"IMG_1.CR2", 1, 0};
  const GroupMember sidecar{"img_1.Cr2.Xmp", 2, -1};
  EXPECT_EQ(MemberNewName(raw, "2024-05-01AA", 0), "2024-05-01AA.CR2");
  EXPECT_EQ(MemberNewName(sidecar, "2024-05-01AA", 0), "2024-05-01AA.Cr2.Xmp");
  EXPECT_EQ(MemberNewName(sidecar, "2024-05-01AA", 1), "2024-05-01AA.CR2.XMP");
  EXPECT_EQ(MemberNewName(sidecar, "2024-05-01AA", 2), "2024-05-01AA.cr2.xmp");
}
