#include "lib/include/OrvoLib22.h"
#include "runtime/ComGuid.h"

#include <gtest/gtest.h>

using rt::com::guidFromString;
using rt::com::guidToString;

TEST(ComGuid, TextFormRoundTripsForEveryIdentifier) {
  for (const OrvoLib22::ClassInfo* info : OrvoLib22::kClasses) {
    for (const GUID& id : {info->clsid, info->iid}) {
      const QString text = guidToString(id);
      ASSERT_EQ(text.size(), 38) << info->name;
      EXPECT_EQ(guidFromString(text), id) << text.toStdString();
    }
  }
  EXPECT_EQ(guidToString(OrvoLib22::kLibraryId), QStringLiteral("{50725C86-AF41-4DC3-964A-4282834D4D00}"));
  // Byte order of the last two groups: as written, first byte first.
  EXPECT_EQ(guidToString(CLSID_HexFunctions), QStringLiteral("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF8}"));
  EXPECT_EQ(CLSID_HexFunctions.Data4[0], 0x8C);
  EXPECT_EQ(CLSID_HexFunctions.Data4[7], 0xF8);
}

TEST(ComGuid, ReadsAnyCaseAndWritesUpperCase) {
  const auto id = guidFromString(QStringLiteral("{0a8d63e5-9b17-437d-8c4e-f1728ecadcf8}"));
  ASSERT_TRUE(id);
  EXPECT_EQ(*id, CLSID_HexFunctions);
  EXPECT_EQ(guidToString(*id), QStringLiteral("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF8}"));
}

TEST(ComGuid, RefusesMalformedTexts) {
  const QString malformed[] = {
      QString(),
      QStringLiteral("0A8D63E5-9B17-437D-8C4E-F1728ECADCF8"),      // no braces
      QStringLiteral("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF8"),     // one brace
      QStringLiteral(" {0A8D63E5-9B17-437D-8C4E-F1728ECADCF8}"),   // blank around
      QStringLiteral("{0A8D63E59-B17-437D-8C4E-F1728ECADCF8}"),    // dash misplaced
      QStringLiteral("{0A8D63E5-9B17-437D-8C4EF-1728ECADCF8}"),    // dash misplaced
      QStringLiteral("{0A8D63G5-9B17-437D-8C4E-F1728ECADCF8}"),    // not a hex digit
      QStringLiteral("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF8 }"),   // too long
      QStringLiteral("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF}"),     // too short
      QStringLiteral("{0A8D63E5-9B17-437D-8C4E-F1728ECADCF\u00C9}"),  // non-ASCII
      QStringLiteral("{+A8D63E5-9B17-437D-8C4E-F1728ECADCF8}"),    // sign
  };
  for (const QString& text : malformed) {
    EXPECT_FALSE(guidFromString(text)) << text.toStdString();
  }
}
