// The program's own integer key filter.

#include "app/common/KeyFilters.h"

#include <gtest/gtest.h>

TEST(KeyFilters, FilterIntPassesDigitsBackspaceAndSignsUnlessPositive) {
  for (int code = -300; code < 300; ++code) {
    const auto key = static_cast<int16_t>(code);
    const bool digitOrBackspace = code == 8 || (code >= '0' && code <= '9');
    const bool sign = code == '+' || code == '-';
    EXPECT_EQ(KeyFilters::FilterInt(key), digitOrBackspace || sign ? key : 0) << code;
    EXPECT_EQ(KeyFilters::FilterInt(key, true), digitOrBackspace ? key : 0) << code;
  }
}
