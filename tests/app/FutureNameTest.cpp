#include "app/naming/ConfigClass.h"
#include "app/naming/FutureName.h"
#include "tests/support/ReportedErrors.h"

#include <gtest/gtest.h>

namespace {

// Functions rather than constants: no date is built before the runtime is set up.
rt::DateValue shot() { return rt::makeDate(2024, 3, 15, 14, 30, 25); }
rt::DateValue modified() { return rt::makeDate(2024, 4, 1, 9, 0, 0); }
rt::DateValue fileDate() { return rt::makeDate(2024, 5, 2, 18, 45, 10); }

JpegInfosClass picture(rt::DateValue create, rt::DateValue modif, rt::DateValue file) {
  JpegInfosClass info;
  info.SetCreateDate(create);
  info.SetModifDate(modif);
  info.SetFileDate(file);
  return info;
}

// Puts the program's settings back to the defaults after each test.
class FutureNameTest : public testing::Test {
 protected:
  void TearDown() override { CurrentConfig() = ConfigClass(); }
};

}  // namespace

TEST_F(FutureNameTest, RowKeyTakesShootingThenModificationThenFileDate) {
  EXPECT_EQ(RowDateKey(picture(shot(), modified(), fileDate())), QStringLiteral("20240315143025"));
  EXPECT_EQ(RowDateKey(picture(0, modified(), fileDate())), QStringLiteral("20240401090000"));
  EXPECT_EQ(RowDateKey(picture(0, 0, fileDate())), QStringLiteral("20240502184510"));
  EXPECT_EQ(RowDateKey(picture(0, 0, 0)), QString());
  // A date no key can hold is no date, rather than a failure that would stop the list.
  EXPECT_EQ(RowDateKey(picture(0, 0, rt::makeDate(9999, 12, 31, 0, 0, 0) + 400)), QString());

  EXPECT_TRUE(HasExifDate(picture(shot(), 0, fileDate())));
  EXPECT_TRUE(HasExifDate(picture(0, modified(), fileDate())));
  EXPECT_FALSE(HasExifDate(picture(0, 0, fileDate())));
}

TEST_F(FutureNameTest, ShowsBodyPlaceholderAndUnchangedExtension) {
  const JpegInfosClass info = picture(shot(), modified(), fileDate());
  ConfigClass& config = CurrentConfig();
  EXPECT_EQ(FutureName(QStringLiteral("/photos/IMG_1.JpG"), info), QStringLiteral("20240315XX.JpG"));

  config.SetExtension(2);  // the extension as the rename writes it
  config.SetSuffixType(1);
  config.SetDigits(3);
  EXPECT_EQ(FutureName(QStringLiteral("/photos/IMG_1.JpG"), info), QStringLiteral("20240315000.jpg"));

  config.SetExtension(0);
  config.SetIsSuffix(false);
  config.SetPrefix(QStringLiteral("Vacances "));
  EXPECT_EQ(FutureName(QStringLiteral("/photos/IMG_1.JpG"), info), QStringLiteral("Vacances 20240315.JpG"));

  // The extension is the file name's own: a dot in a folder never makes one.
  EXPECT_EQ(FutureName(QStringLiteral("/my.photos/IMG_1"), info), QStringLiteral("Vacances 20240315"));
  EXPECT_EQ(NewExtensionText(QStringLiteral("IMG.JpG"), 1), QStringLiteral(".JPG"));
  EXPECT_EQ(NewExtensionText(QStringLiteral("IMG.JpG"), 2), QStringLiteral(".jpg"));
  EXPECT_EQ(NewExtensionText(QStringLiteral("IMG.JpG"), 7), QStringLiteral(".JpG"));
  EXPECT_EQ(NewExtensionText(QStringLiteral("IMG"), 2), QString());

  EXPECT_EQ(FutureName(QStringLiteral("/photos/x.jpg"), picture(0, 0, 0)), QString());
}

// The correction moves the future name but not the row's key; the file date moves only when
// the correction is asked for files without EXIF date too.
TEST_F(FutureNameTest, ClockCorrectionShiftsTheFutureNameOnly) {
  ConfigClass& config = CurrentConfig();
  for (int i = 1; i <= 3; ++i) config.SetIsTimeDigit(i, true);
  config.SetIsSuffix(false);
  config.SetOffsetApply(true);
  config.SetDateExif(rt::makeDate(2024, 1, 1, 10, 0, 0));
  config.SetDateReal(rt::makeDate(2024, 1, 1, 11, 30, 0));

  const JpegInfosClass dated = picture(shot(), 0, fileDate());
  EXPECT_EQ(RowDateKey(dated), QStringLiteral("20240315143025"));
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), dated), QStringLiteral("20240315160025.jpg"));

  const JpegInfosClass undated = picture(0, 0, fileDate());
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), undated), QStringLiteral("20240502184510.jpg"));
  config.SetOffsetNoDate(true);
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), undated), QStringLiteral("20240502201510.jpg"));
  EXPECT_EQ(RowDateKey(undated), QStringLiteral("20240502184510"));

  // A correction that carries the date out of range shows no name, with the error reported.
  testsupport::ReportedErrors errors;
  config.SetDateReal(config.DateExif() + 3000000);
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), dated), QString());
  EXPECT_EQ(errors.messages().size(), 1);
}

// Files without EXIF date are named as the rename names them: from the row's date key
// ("Utiliser la date fichier"), or not at all when the rename keeps them or asks their name.
// A row marked as EXIF whose dates can no longer be read still goes by its file date.
TEST_F(FutureNameTest, UndatedFilesFollowTheSettingForFilesWithoutExifDate) {
  ConfigClass& config = CurrentConfig();
  const JpegInfosClass undated = picture(0, 0, fileDate());
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), undated, QStringLiteral("20230101120000"), false),
            QStringLiteral("20230101XX.jpg"));
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), undated, QStringLiteral("20230101120000"), true),
            QStringLiteral("20240502XX.jpg"));
  config.SetNotExif(2);
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), undated), QString());
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), picture(shot(), 0, fileDate())), QStringLiteral("20240315XX.jpg"));
  config.SetNotExif(1);
  EXPECT_EQ(FutureName(QStringLiteral("a.jpg"), undated), QString());
}
