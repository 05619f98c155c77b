#include "DecimalText_U.h"

#include <cstdint>
#include <gtest/gtest.h>

using namespace nFramework;

TEST(DecimalText, RoundsTheDigitsAPersonReadsHalfAwayFromZero) {
  EXPECT_EQ(TDecimalText::FromDouble(1.005).Rounded(2).ToString(), "1.01");
  EXPECT_EQ(TDecimalText::FromDouble(-2.675).Rounded(2).ToString(), "-2.68");
  EXPECT_EQ(TDecimalText::FromDouble(9.995).Rounded(2).ToString(), "10");
  EXPECT_EQ(TDecimalText::FromDouble(0.0004).Rounded(3).ToString(), "0");
  EXPECT_EQ(TDecimalText::FromDouble(-0.0004).Rounded(3).ToString(), "0");  // no negative zero
  EXPECT_EQ(TDecimalText::FromDouble(0.1 + 0.2).ToString(), "0.30000000000000004");
  EXPECT_EQ(TDecimalText::FromDouble(1e20).ToString(), "100000000000000000000");
  EXPECT_EQ(TDecimalText::FromDouble(-0.0).ToString(), "0");
  EXPECT_EQ(TDecimalText::FromDouble(5e-324).Rounded(2).ToString(), "0");
}

TEST(DecimalText, CurrencyKeepsItsExactDigits) {
  EXPECT_EQ(TDecimalText::FromCurrency(Currency::FromRaw(-10050)).ToString(), "-1.005");
  EXPECT_EQ(TDecimalText::FromCurrency(Currency::FromRaw(INT64_MIN)).ToString(), "-922337203685477.5808");
  EXPECT_EQ(TDecimalText::FromCurrency(Currency::FromRaw(INT64_MAX)).Rounded(0).ToString(), "922337203685478");
}
