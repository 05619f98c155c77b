#include "Currency_U.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "Exceptions_U.h"
#include "MapClass_U.h"
#include "Variant_U.h"

using namespace nFramework;

TEST(Currency, FromDoubleAddedAUnitToAmountsAboveFiftyBillion) {
  EXPECT_EQ(Currency::FromDouble(99999999999.99).ToString(), "99999999999.99");
  EXPECT_EQ(Currency::FromDouble(1000000000000.01).ToString(), "1000000000000.01");
  EXPECT_EQ(Currency::FromDouble(-1000000000000.01).ToString(), "-1000000000000.01");
  EXPECT_EQ(Currency::FromDouble(1e12).ToString(), "1000000000000");
  EXPECT_EQ(Currency::FromDouble(2.675).ToString(), "2.675");
}

// A value of thirteen integer digits read from a REAL column came out a cent higher: the nudge
// meant for 1.005 grew with the value.
TEST(Currency, ThirteenIntegerDigitsFromADoubleGainedACent) {
  EXPECT_EQ(Currency::FromDouble(9999999999999.99), Currency::FromString("9999999999999.99"));
  EXPECT_EQ(Currency::FromDouble(-9999999999999.99), Currency::FromString("-9999999999999.99"));
  EXPECT_EQ(Currency::FromDouble(987654321987.65), Currency::FromString("987654321987.65"));
  EXPECT_EQ(Currency::FromDouble(2.675), Currency::FromString("2.675"));
  EXPECT_EQ(Currency::FromDouble(0.1 + 0.2), Currency::FromString("0.3"));
  EXPECT_EQ(Currency::FromDouble(1e12), Currency::FromInt(1000000000000));
}

TEST(Currency, FromDoubleRoundsHalfAwayFromZeroAtTheFourthDecimal) {
  EXPECT_EQ(Currency::FromDouble(1.005).Raw(), 10050);
  EXPECT_EQ(Currency::FromDouble(-1.005).Raw(), -10050);
  EXPECT_EQ(Currency::FromDouble(0.00005).Raw(), 1);
  EXPECT_EQ(Currency::FromDouble(-0.00005).Raw(), -1);
  EXPECT_EQ(Currency::FromDouble(123456789.12).Raw(), 1234567891200);
}

TEST(Currency, RoundAndText) {
  EXPECT_EQ(Currency::FromString("0.125").Round(2).ToString(), "0.13");
  EXPECT_EQ(Currency::FromString("-0.125").Round(2).ToString(), "-0.13");
  EXPECT_EQ(Currency::FromString("1,5").ToString(), "1.5");
  EXPECT_EQ(Currency::FromString("2.00005").Raw(), 20001);
  EXPECT_THROW(Currency::FromString("1.2.3"), EConvertError);
  EXPECT_THROW(Currency::FromString(""), EConvertError);
}

// The nudge that reads 1.005 as 1.0050 grew with the value: from 50 billion on (a state's
// yearly revenue) it added a ten-thousandth to every whole amount.
TEST(Currency, LargeWholeAmountsFromDoubleGainedATenThousandth) {
  EXPECT_EQ(Currency::FromDouble(50000000000.0).Raw(), 500000000000000);
  EXPECT_EQ(Currency::FromDouble(-123456789012.34).Raw(), -1234567890123400);
  EXPECT_EQ(Currency::FromDouble(300000000000.25).Raw(), 3000000000002500);
  EXPECT_EQ(Currency::FromDouble(-900000000000000.0).Raw(), -9000000000000000000);
}

// A money text of more digits than 64 bits hold (a cell or a CSV typed "9223372036854775807")
// overflowed the count, undefined behaviour that gave an arbitrary amount; so did a double past
// the range (1e300, infinity), and the text and rounding of the lowest value.
TEST(Currency, MoneyPastTheSixtyFourBitsWasReadAsAnArbitraryAmount) {
  EXPECT_EQ(Currency::FromString("922337203685477.5807").Raw(), INT64_MAX);
  EXPECT_EQ(Currency::FromString("-922337203685477,5807").Raw(), -INT64_MAX);
  for (const char* t : {"922337203685477.5808", "922337203685478", "9223372036854775807", "-99999999999999999999999",
                        "922337203685477.58079"})
    EXPECT_THROW(Currency::FromString(t), EConvertError) << t;
  try {
    Currency::FromString("9223372036854775807");
    ADD_FAILURE() << "sem erro";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'9223372036854775807' está fora da faixa dos valores monetários");
  }
  EXPECT_THROW(Currency::FromString("99999999999999999999x"), EConvertError);
  for (double d : {1e300, -1e300, 922337203685477.6, HUGE_VAL, -HUGE_VAL, std::nan("")})
    EXPECT_THROW(Currency::FromDouble(d), EConvertError) << d;
  EXPECT_EQ(Currency::FromRaw(INT64_MIN).ToString(), "-922337203685477.5808");
  EXPECT_EQ(Currency::FromRaw(INT64_MAX).Round(0).Raw(), 9223372036854770000);
  EXPECT_EQ(Currency::FromRaw(INT64_MIN + 1).Round(2).Raw(), -9223372036854775800);
}

TEST(Variant, NullReadsAsDefaultsAndConversionsFollowThePlatform) {
  TVariant n;
  EXPECT_EQ(n.AsInteger(), 0);
  EXPECT_EQ(n.AsString(), "");
  EXPECT_FALSE(n.AsBoolean());
  EXPECT_EQ(VarToIntDef(TVariant("abc"), 7), 7);
  EXPECT_EQ(VarToIntDef(TVariant("12"), 7), 12);
  EXPECT_EQ(VarToIntDef(Null, 3), 3);
  EXPECT_EQ(TVariant::FromDate(EncodeDate(2024, 2, 29)).AsString(), "29/02/2024");
  EXPECT_EQ(TVariant(2.5).AsString(), "2.5");
  EXPECT_EQ(TVariant("2024-03-01").AsDateTime(), EncodeDate(2024, 3, 1));
  auto arr = TVariant::FromArray({1, "x", Null});
  EXPECT_EQ(arr.Count(), 3u);
  EXPECT_EQ(arr[1].AsString(), "x");
  EXPECT_TRUE(arr[2].IsNull());
}

TEST(DateUtils, CalendarAndIsoRoundTrip) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  TDateTime t = EncodeDate(2023, 11, 15) + EncodeTime(13, 45, 7, 250);
  EXPECT_EQ(DateTimeToISO(t), "2023-11-15 13:45:07.250");
  EXPECT_EQ(*TryISOToDateTime("2023-11-15 13:45:07.250"), t);
  EXPECT_EQ(DateToISO(EndOfTheMonth(EncodeDate(2024, 2, 10))), "2024-02-29");
  EXPECT_EQ(DateToISO(IncMonth(EncodeDate(2024, 1, 31))), "2024-02-29");
  EXPECT_FALSE(TryISOToDateTime("2023-13-01"));
  EXPECT_FALSE(TryISOToDateTime("15/11/2023"));
}

ULMO_MAP_CLASS(TMapExample, int, ALFA, BETA, GAMA);

TEST(MapClass, DeclaresMembersInOrder) {
  const auto& m = TMapExample::Members();
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].first, "ALFA");
  EXPECT_EQ(m[2].first, "GAMA");
  TMapExample x;
  int v = 5;
  x.*(m[1].second) = &v;
  EXPECT_EQ(x.BETA, &v);
}

// Scaling the binary value with a relative nudge turned 9999999999999.99 read from a REAL
// column into 10000000000000 and 1000000000000.12 into 1000000000000.121.
TEST(Currency, LargeAmountsFromDoubleKeepTheirCents) {
  EXPECT_EQ(Currency::FromDouble(9999999999999.99).ToString(), "9999999999999.99");
  EXPECT_EQ(Currency::FromDouble(-9999999999999.99).ToString(), "-9999999999999.99");
  EXPECT_EQ(Currency::FromDouble(1000000000000.12).ToString(), "1000000000000.12");
  EXPECT_EQ(Currency::FromDouble(1234567890123.45).ToString(), "1234567890123.45");
  EXPECT_EQ(Currency::FromDouble(2.675).ToString(), "2.675");
  EXPECT_EQ(Currency::FromDouble(0.1 + 0.2).ToString(), "0.3");
  EXPECT_EQ(Currency::FromDouble(1e-300).Raw(), 0);
  EXPECT_THROW(Currency::FromDouble(1e15), EConvertError);
  EXPECT_THROW(Currency::FromDouble(std::nan("")), EConvertError);
}
