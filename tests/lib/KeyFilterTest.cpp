// KeyFilter, created by class identifier: which keys each filter passes, changes or swallows.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"
#include "tests/lib/LibTestSupport.h"

#include <gtest/gtest.h>

using rt::com::ComPtr;

namespace {

class KeyFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_KeyFilter, filter_), S_OK); }

  // Runs a filter over every code from 0 to 255 and returns what came back for each.
  template <class Call>
  std::vector<int16_t> overAllCodes(Call call) {
    std::vector<int16_t> out;
    for (int16_t code = 0; code < 256; ++code) {
      int16_t r = -1;
      EXPECT_EQ(call(code, &r), S_OK) << code;
      out.push_back(r);
    }
    return out;
  }

  ComPtr<_KeyFilter> filter_;
};

bool isDigit(int code) { return code >= '0' && code <= '9'; }

}  // namespace

TEST_F(KeyFilterTest, IntegerFiltersPassDigitsAndBackspaceOnly) {
  const auto anyInt = overAllCodes([&](int16_t c, int16_t* r) { return filter_->FilterInt(c, QVariant(), r); });
  const auto positive = overAllCodes([&](int16_t c, int16_t* r) { return filter_->FilterInt(c, true, r); });
  const auto uint = overAllCodes([&](int16_t c, int16_t* r) { return filter_->FilterUint(c, r); });
  for (int code = 0; code < 256; ++code) {
    const bool passes = code == 8 || isDigit(code);
    const bool sign = code == '+' || code == '-';
    EXPECT_EQ(anyInt[code], passes || sign ? code : 0) << code;
    EXPECT_EQ(positive[code], passes ? code : 0) << code;
    EXPECT_EQ(uint[code], passes ? code : 0) << code;
  }
  // The flag may come as any runtime flag value.
  int16_t r = 0;
  ASSERT_EQ(filter_->FilterInt('-', QStringLiteral("Vrai"), &r), S_OK);
  EXPECT_EQ(r, 0);
  ASSERT_EQ(filter_->FilterInt('-', 0, &r), S_OK);
  EXPECT_EQ(r, '-');
}

TEST_F(KeyFilterTest, HexAndDecimalFiltersChangeWhatTheyAccept) {
  const auto hex = overAllCodes([&](int16_t c, int16_t* r) { return filter_->FilterHex(c, r); });
  for (int code = 0; code < 256; ++code) {
    int expected = 0;
    if (code == 8 || isDigit(code) || (code >= 'A' && code <= 'F')) expected = code;
    if (code >= 'a' && code <= 'f') expected = code - 'a' + 'A';
    EXPECT_EQ(hex[code], expected) << code;
  }
  const auto dec = overAllCodes([&](int16_t c, int16_t* r) { return filter_->FilterDec(c, QStringLiteral(";x"), r); });
  for (int code = 0; code < 256; ++code) {
    int expected = 0;
    if (code == 8 || isDigit(code) || code == '+' || code == '-') expected = code;
    if (code == ',' || code == '.') expected = ';';
    EXPECT_EQ(dec[code], expected) << code;
  }
  int16_t r = 0;
  ASSERT_EQ(filter_->FilterDec(',', QVariant(), &r), S_OK);  // default separator "."
  EXPECT_EQ(r, '.');
  EXPECT_EQ(filter_->FilterDec('.', QString(), &r), errorStatus(5));
}

TEST_F(KeyFilterTest, UpperCaseFilterMapsEveryCharacter) {
  int16_t r = 0;
  ASSERT_EQ(filter_->FilterMaj('a', &r), S_OK);
  EXPECT_EQ(r, 'A');
  ASSERT_EQ(filter_->FilterMaj(0xE9, &r), S_OK);  // é
  EXPECT_EQ(r, 0xC9);
  ASSERT_EQ(filter_->FilterMaj(8, &r), S_OK);
  EXPECT_EQ(r, 8);
  EXPECT_EQ(filter_->FilterMaj(-5, &r), errorStatus(5));
  // FilterMaj is the fifth member.
  ASSERT_EQ((libtest::callSlot<int16_t, int16_t*>(filter_.get(), libtest::kFirstMemberSlot + 4, int16_t{'q'}, &r)), S_OK);
  EXPECT_EQ(r, 'Q');
}
