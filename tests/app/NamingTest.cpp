// Name bodies, numbering suffixes, extension case and the file-name key filter.

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/NameComposition.h"
#include "runtime/RuntimeError.h"
#include "tests/support/ReportedErrors.h"

#include <gtest/gtest.h>

#include <QSet>

#include <limits>

namespace {

const QString kKey = QStringLiteral("20240315143025");

void setAllTime(ConfigClass& c, bool withSeparators) {
  for (int i = 1; i <= 3; ++i) c.SetIsTimeDigit(i, true);
  c.SetIsTimeSep(0, withSeparators);
  c.SetIsTimeSep(1, withSeparators);
}

QString newName(const ConfigClass& c, int32_t n, const QString& ext) {
  return c.FormatName(kKey) + FormatIndice(n, SuffixPattern(c.Digits(), c.SuffixType())) +
         ExtensionText(ext, c.Extension());
}

}  // namespace

TEST(NameCompositionTest, FreshRecordNamesByDateWithLetterSuffix) {
  ConfigClass c;
  EXPECT_EQ(c.FormatName(kKey), "20240315");
  EXPECT_EQ(SuffixPattern(c.Digits(), c.SuffixType()), "XX");
  EXPECT_EQ(newName(c, 1, "JPG"), "20240315AA.JPG");
  EXPECT_EQ(newName(c, 2, "JPG"), "20240315AB.JPG");
  c.SetExtension(2);
  EXPECT_EQ(newName(c, 1, "JPG"), "20240315AA.jpg");
}

TEST(NameCompositionTest, SeparatorsFollowOnlyFieldsThatArePresent) {
  ConfigClass c;
  c.SetIsDateSep(0, true);
  c.SetIsDateSep(1, true);
  c.SetDateSep("-");
  EXPECT_EQ(c.FormatName(kKey), "2024-03-15");

  setAllTime(c, true);
  c.SetTimeSep("-");
  c.SetDateTimeSep("_");
  EXPECT_EQ(c.FormatName(kKey), "2024-03-15_14-30-25");
  c.SetTimeSep("h");
  EXPECT_EQ(c.FormatName(kKey), "2024-03-15_14h30h25");

  ConfigClass yearOnly;
  yearOnly.SetIsDateDigit(2, false);
  yearOnly.SetIsDateDigit(3, false);
  yearOnly.SetIsDateSep(0, true);
  yearOnly.SetIsDateSep(1, true);  // month absent: its separator is not written
  yearOnly.SetDateSep("-");
  EXPECT_EQ(yearOnly.FormatName(kKey), "2024-");

  ConfigClass noYear;
  noYear.SetIsDateDigit(1, false);
  noYear.SetIsDateSep(0, true);  // year absent: no separator
  noYear.SetDateSep("-");
  EXPECT_EQ(noYear.FormatName(kKey), "0315");

  ConfigClass longSeps;  // separators and free texts are appended whole
  longSeps.SetIsDateSep(0, true);
  longSeps.SetDateSep("--");
  setAllTime(longSeps, false);
  longSeps.SetDateTimeSep(" at ");
  longSeps.SetPrefix("Trip ");
  longSeps.SetPostfix(" (Rome)");
  EXPECT_EQ(longSeps.FormatName(kKey), "Trip 2024--0315 at 143025 (Rome)");
}

TEST(NameCompositionTest, DateTimeSeparatorNeedsSomethingBeforeTheTime) {
  ConfigClass c;
  for (int i = 1; i <= 3; ++i) c.SetIsDateDigit(i, false);
  setAllTime(c, false);
  c.SetDateTimeSep("_");
  EXPECT_EQ(c.FormatName(kKey), "143025");
  c.SetPrefix("P");
  EXPECT_EQ(c.FormatName(kKey), "P_143025");

  ConfigClass dateOnly;  // no time field: no date-time separator
  dateOnly.SetDateTimeSep("_");
  EXPECT_EQ(dateOnly.FormatName(kKey), "20240315");

  ConfigClass nothing;
  for (int i = 1; i <= 3; ++i) nothing.SetIsDateDigit(i, false);
  nothing.SetDateTimeSep("_");
  EXPECT_EQ(nothing.FormatName(kKey), "");
  EXPECT_EQ(newName(nothing, 1, "jpg"), "AA.jpg");
}

TEST(NameCompositionTest, ShortOrEmptyKeysGiveShortPiecesWithoutFailing) {
  ConfigClass c;
  setAllTime(c, true);
  c.SetTimeSep(":");
  EXPECT_EQ(c.FormatName("202403"), "202403::");
  EXPECT_EQ(c.FormatName("2024031514"), "2024031514::");
  EXPECT_EQ(c.FormatName(""), "::");
}

TEST(NameCompositionTest, NumericSuffixesArePaddedAndNeverCut) {
  EXPECT_EQ(FormatIndice(1, "00"), "01");
  EXPECT_EQ(FormatIndice(7, "000"), "007");
  EXPECT_EQ(FormatIndice(123, "00"), "123");
  EXPECT_EQ(FormatIndice(100, "00"), "100");
  EXPECT_EQ(FormatIndice(0, "0"), "0");
  EXPECT_EQ(FormatIndice(-3, "00"), "-03");
  EXPECT_EQ(FormatIndice(std::numeric_limits<int32_t>::min(), "00"), "-2147483648");
  EXPECT_EQ(FormatIndice(std::numeric_limits<int32_t>::max(), "0"), "2147483647");
}

TEST(NameCompositionTest, LetterSuffixesCountInBase26) {
  EXPECT_EQ(FormatIndice(1, "XX"), "AA");
  EXPECT_EQ(FormatIndice(2, "XX"), "AB");
  EXPECT_EQ(FormatIndice(26, "XX"), "AZ");
  EXPECT_EQ(FormatIndice(27, "XX"), "BA");
  EXPECT_EQ(FormatIndice(676, "XX"), "ZZ");
  EXPECT_EQ(FormatIndice(677, "XX"), "BAA");
  EXPECT_EQ(FormatIndice(1, "XXXX"), "AAAA");
  EXPECT_EQ(FormatIndice(std::numeric_limits<int32_t>::max(), "X"), "GYTISYW");
  // Digits 0 makes an empty pattern: letters, whatever the suffix type.
  EXPECT_EQ(SuffixPattern(0, 1), "");
  EXPECT_EQ(FormatIndice(5, SuffixPattern(0, 1)), "E");
  EXPECT_EQ(FormatIndice(1, ""), "A");
  EXPECT_EQ(FormatIndice(26, ""), "Z");
  EXPECT_EQ(FormatIndice(27, ""), "BA");
  EXPECT_EQ(SuffixPattern(3, 1), "000");
  EXPECT_EQ(SuffixPattern(3, 7), "000");
}

TEST(NameCompositionTest, LetterSuffixesBelowOneStayDistinctAndSafeForFileNames) {
  testsupport::ReportedErrors errors;
  QSet<QString> seen;
  for (int32_t n = -700; n <= 700; ++n) {
    const QString suffix = FormatIndice(n, "XX");
    ASSERT_FALSE(suffix.isEmpty()) << n;
    EXPECT_FALSE(seen.contains(suffix)) << n << " repeats " << suffix.toStdString();
    seen.insert(suffix);
    for (QChar ch : suffix) {
      EXPECT_TRUE((ch >= 'A' && ch <= 'Z') || ch == '-') << n << " gives " << suffix.toStdString();
    }
  }
  EXPECT_EQ(FormatIndice(0, "XX"), "-AB");
  EXPECT_TRUE(errors.messages().isEmpty());
}

TEST(NameCompositionTest, SmallestNumberHasNoLetterSuffixAndIsReported) {
  testsupport::ReportedErrors errors;
  EXPECT_EQ(FormatIndice(std::numeric_limits<int32_t>::min(), "XX"), "");
  ASSERT_EQ(errors.messages().size(), 1);
  EXPECT_EQ(errors.messages().front(),
            ErrorHandling::BuildErrorMessage("Global.FormatIndice", rt::ErrOverflow,
                                             rt::errorDescription(rt::ErrOverflow)));
  EXPECT_EQ(FormatIndice(std::numeric_limits<int32_t>::min() + 1, "X"), "-GYTISYY");
  EXPECT_EQ(errors.messages().size(), 1);
}

TEST(NameCompositionTest, ExtensionCaseFollowsTheSetting) {
  EXPECT_EQ(ExtensionText("JpG", 0), ".JpG");
  EXPECT_EQ(ExtensionText("JpG", 1), ".JPG");
  EXPECT_EQ(ExtensionText("JpG", 2), ".jpg");
  EXPECT_EQ(ExtensionText("JpG", 3), ".JpG");
  EXPECT_EQ(ExtensionText("JpG", 255), ".JpG");
  EXPECT_EQ(ExtensionText("", 1), ".");
  EXPECT_EQ(ExtensionText(QString::fromUtf8("jpé"), 1), QString::fromUtf8(".JPÉ"));
}

TEST(NameCompositionTest, FileNameFilterRefusesOnlyWhatFileNamesRefuse) {
  for (char16_t refused : {u'"', u'*', u'.', u'/', u':', u'<', u'>', u'?', u'\\', u'|'})
    EXPECT_EQ(FilterFileName(refused), 0) << static_cast<int>(refused);
  for (uint16_t control = 0; control < 32; ++control)
    EXPECT_EQ(FilterFileName(control), control == 8 ? 8 : 0) << control;
  // Everything else passes, far beyond the 8-bit range.
  for (char16_t accepted : {u' ', u'a', u'Z', u'0', u'-', u'_', u'\'', u'é', u'\u4e2d', u'\u20ac',
                            u'\x7f', u'\xffff'})
    EXPECT_EQ(FilterFileName(accepted), accepted) << static_cast<int>(accepted);
}
