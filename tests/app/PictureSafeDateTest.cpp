#include "app/naming/ConfigClass.h"
#include "app/picture/SafeDate.h"
#include "tests/support/ReportedErrors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Sets the clock correction of the program's settings record and puts it back afterwards.
class PictureSafeDate : public testing::Test {
 protected:
  void SetUp() override {
    ConfigClass& c = CurrentConfig();
    saved_ = {c.OffsetApply(), c.OffsetNoDate(), c.DateExif(), c.DateReal()};
  }
  void TearDown() override {
    ConfigClass& c = CurrentConfig();
    c.SetOffsetApply(saved_.apply);
    c.SetOffsetNoDate(saved_.noDate);
    c.SetDateExif(saved_.exif);
    c.SetDateReal(saved_.real);
  }
  static void correction(bool apply, bool noDate, rt::DateValue exif, rt::DateValue real) {
    ConfigClass& c = CurrentConfig();
    c.SetOffsetApply(apply);
    c.SetOffsetNoDate(noDate);
    c.SetDateExif(exif);
    c.SetDateReal(real);
  }
  static JpegInfosClass dated(rt::DateValue create, rt::DateValue modif, rt::DateValue file) {
    JpegInfosClass info;
    info.SetCreateDate(create);
    info.SetModifDate(modif);
    info.SetFileDate(file);
    return info;
  }

 private:
  struct {
    bool apply;
    bool noDate;
    rt::DateValue exif;
    rt::DateValue real;
  } saved_{};
};

const rt::DateValue kCreate = rt::makeDate(2005, 6, 1, 8, 0, 0);
const rt::DateValue kModif = rt::makeDate(2006, 1, 2, 3, 4, 5);
const rt::DateValue kFile = rt::makeDate(2010, 7, 8, 9, 10, 11);

}  // namespace

TEST_F(PictureSafeDate, PrefersShootingThenModificationThenFileDate) {
  correction(false, false, 0, 0);
  EXPECT_EQ(GetSafeDate(dated(kCreate, kModif, kFile)), kCreate);
  EXPECT_EQ(GetSafeDate(dated(0, kModif, kFile)), kModif);
  EXPECT_EQ(GetSafeDate(dated(0, 0, kFile)), kFile);
  EXPECT_EQ(GetSafeDate(dated(-1, -2, kFile)), kFile);  // only dates above zero are present
  EXPECT_EQ(GetSafeDate(dated(0, 0, 0)), 0.0);
}

TEST_F(PictureSafeDate, AppliesTheClockCorrection) {
  const rt::DateValue exif = rt::makeDate(2005, 1, 1, 10, 0, 0);
  const rt::DateValue real = rt::makeDate(2005, 1, 1, 11, 30, 0);
  const auto near = [](rt::DateValue a, rt::DateValue b) { return std::abs(a - b) < 1e-9; };

  correction(true, false, exif, real);
  EXPECT_TRUE(near(GetSafeDate(dated(kCreate, kModif, kFile)), rt::makeDate(2005, 6, 1, 9, 30, 0)));
  EXPECT_TRUE(near(GetSafeDate(dated(0, kModif, kFile)), rt::makeDate(2006, 1, 2, 4, 34, 5)));
  EXPECT_EQ(GetSafeDate(dated(0, 0, kFile)), kFile);

  correction(true, true, exif, real);
  EXPECT_TRUE(near(GetSafeDate(dated(0, 0, kFile)), rt::makeDate(2010, 7, 8, 10, 40, 11)));
  // No date at all stays no date, correction or not.
  EXPECT_EQ(GetSafeDate(dated(0, 0, 0)), 0.0);

  // A correction backwards, and none when switched off or when both times are equal.
  correction(true, true, real, exif);
  EXPECT_TRUE(near(GetSafeDate(dated(kCreate, 0, 0)), rt::makeDate(2005, 6, 1, 6, 30, 0)));
  correction(false, true, exif, real);
  EXPECT_EQ(GetSafeDate(dated(kCreate, 0, kFile)), kCreate);
  EXPECT_EQ(GetSafeDate(dated(0, 0, kFile)), kFile);
  correction(true, true, exif, exif);
  EXPECT_EQ(GetSafeDate(dated(kCreate, 0, kFile)), kCreate);
}

TEST_F(PictureSafeDate, ResultsOutsideTheDateRangeAreReportedAsZero) {
  correction(true, false, rt::makeDate(1900, 1, 1, 0, 0, 0), rt::makeDate(9999, 1, 1, 0, 0, 0));
  testsupport::ReportedErrors errors;
  EXPECT_EQ(GetSafeDate(dated(kCreate, 0, kFile)), 0.0);
  ASSERT_EQ(errors.messages().size(), 1);
  EXPECT_TRUE(errors.messages().front().startsWith(QStringLiteral("Error Nr 6 : ")));
  EXPECT_TRUE(errors.messages().front().contains(QStringLiteral("Module : wMain\nFunction : GetSafeDate")));
  // The last representable moment is still a date.
  correction(false, false, 0, 0);
  const rt::DateValue last = rt::makeDate(9999, 12, 31, 23, 59, 59);
  EXPECT_EQ(GetSafeDate(dated(last, 0, 0)), last);
  EXPECT_EQ(errors.messages().size(), 1);
  // Backwards past year 100.
  correction(true, false, rt::makeDate(9999, 1, 1, 0, 0, 0), rt::makeDate(1900, 1, 1, 0, 0, 0));
  EXPECT_EQ(GetSafeDate(dated(kCreate, 0, 0)), 0.0);
  EXPECT_EQ(errors.messages().size(), 2);
}
