// The one reader of decimal numbers that the saved game, the chart source and the mixer's
// settings share: where a number stops, its sign, and what 32 bits cannot hold.
#include <gtest/gtest.h>

#include "platform/decimal.h"

namespace qm {
namespace {

TEST(Decimal, APrefixTakesASignAndTheDigitsAsFarAsTheyGo) {
  EXPECT_EQ(ReadDecimalPrefix("42 apples").value, 42);
  EXPECT_EQ(ReadDecimalPrefix("42 apples").length, 2u);
  EXPECT_EQ(ReadDecimalPrefix("+7x").value, 7);
  EXPECT_EQ(ReadDecimalPrefix("+7x").length, 2u);
  EXPECT_EQ(ReadDecimalPrefix("-0").value, 0);
  EXPECT_EQ(ReadDecimalPrefix("-2147483648").value, INT32_MIN);
  // No digit after the sign, a second sign or a leading blank: no number at all.
  for (const char* none : {"", "-", "+", "+-5", "--5", "-+5", " 5", "x5", "\xEF\xBC\x91"}) {
    EXPECT_EQ(ReadDecimalPrefix(none).length, 0u) << none;
    EXPECT_EQ(ReadDecimalPrefix(none).value, 0) << none;
  }
  // Too many digits: the nearest 32-bit value, and the whole run of digits is read.
  const DecimalPrefix big = ReadDecimalPrefix("99999999999;");
  EXPECT_FALSE(big.in_range);
  EXPECT_EQ(big.value, INT32_MAX);
  EXPECT_EQ(big.length, 11u);
  EXPECT_EQ(ReadDecimalPrefix("-2147483649").value, INT32_MIN);
  EXPECT_FALSE(ReadDecimalPrefix("-2147483649").in_range);
}

TEST(Decimal, AWholeNumberIsTheWholeTextAndFits) {
  EXPECT_EQ(ParseWholeDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ParseWholeDecimal("+12"), 12);
  EXPECT_EQ(ParseWholeDecimal("-30"), -30);
  for (const char* bad : {"", "+", "12a", "1 ", "0x10", "2147483648", "-2147483649", "1.5"})
    EXPECT_FALSE(ParseWholeDecimal(bad).has_value()) << bad;
}

}  // namespace
}  // namespace qm
