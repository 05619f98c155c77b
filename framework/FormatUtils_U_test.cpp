#include "FormatUtils_U.h"

#include <cmath>
#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;

namespace {

// Brazilian separators for one test, put back afterwards.
class BrazilianSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    FSaved = FormatSettings;
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
  }
  void TearDown() override { FormatSettings = FSaved; }
  TFormatSettings FSaved;
};

TDateTime Sample() { return EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 45); }

}  // namespace

TEST(FormatFloat, RoundsHalfAwayFromZeroOnDecimalDigits) {
  EXPECT_EQ(FormatFloat("0.00", 0.125), "0.13");
  EXPECT_EQ(FormatFloat("0.00", -0.125), "-0.13");
  EXPECT_EQ(FormatFloat("0.00", 1.005), "1.01");
  EXPECT_EQ(FormatFloat("0.00", Currency::FromDouble(1.005)), "1.01");
  EXPECT_EQ(FormatFloat("0.00", Currency::FromString("-0.125")), "-0.13");
  EXPECT_EQ(FormatFloat("0.00", 9.995), "10.00");
  EXPECT_EQ(FormatFloat("0.00", 0.0), "0.00");
  EXPECT_EQ(FormatFloat("#0.00", -0.001), "0.00");
  EXPECT_EQ(FormatFloat("0.00", 1e20), "100000000000000000000.00");
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("0.00", std::nan("")), "NAN");
}

TEST(FormatFloat, PlaceholdersGroupingAndLiterals) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatFloat("#,##0.00", -1234.5), "-1,234.50");
  EXPECT_EQ(FormatFloat("#,##0", Currency::FromInt(1000000)), "1,000,000");
  EXPECT_EQ(FormatFloat("00000", 42.0), "00042");
  EXPECT_EQ(FormatFloat("0", 12345.0), "12345");
  EXPECT_EQ(FormatFloat("00-00", 123456.0), "1234-56");
  EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
  EXPECT_EQ(FormatFloat("0.##", 1.0), "1");
  EXPECT_EQ(FormatFloat("0.0#", 1.5), "1.5");
  EXPECT_EQ(FormatFloat(".00", 12.5), "12.50");
  EXPECT_EQ(FormatFloat("\"R$ \"#,##0.00", -1234.5), "-R$ 1,234.50");
  EXPECT_EQ(FormatFloat("0.00' %'", 12.345), "12.35 %");
}

TEST(FormatFloat, SectionsForNegativeAndZero) {
  EXPECT_EQ(FormatFloat("0.00;(0.00)", -1.5), "(1.50)");
  EXPECT_EQ(FormatFloat("0.00;(0.00)", -0.001), "0.00");
  EXPECT_EQ(FormatFloat("0.00;;\"zero\"", 0.0), "zero");
  EXPECT_EQ(FormatFloat("0.00;;\"zero\"", -0.004), "zero");
  EXPECT_EQ(FormatFloat("0.00;;\"zero\"", -2.0), "-2.00");  // empty negative section: the first, signed
  EXPECT_EQ(FormatFloat("\"a;b\"0", 3.0), "a;b3");
}

TEST_F(BrazilianSettings, SeparatorsComeFromFormatSettings) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
  EXPECT_EQ(FormatFloat("0.00", Currency::FromString("-7.5")), "-7,50");
  EXPECT_EQ(FloatToStr(2.5), "2,5");
}

// A screen formats with its own settings and leaves the process-wide ones (the court files')
// as they are.
TEST(FormatFloat, SettingsGivenToTheCallOverrideTheGlobalOnes) {
  EXPECT_EQ(FormatFloat("#,##0.00", Currency::FromString("1234567.5"), FormatSettingsTela), "1.234.567,50");
  EXPECT_EQ(FormatFloat("#,##0.00", -1234.5, FormatSettingsTela), "-1.234,50");
  EXPECT_EQ(FloatToStr(2.5, FormatSettingsTela), "2,5");
  EXPECT_EQ(FloatToStr(-1.5e-7, FormatSettingsTela), "-1,5E-7");
  EXPECT_EQ(FormatSettings.DecimalSeparator, '.');
  EXPECT_EQ(FormatFloat("#,##0.00", Currency::FromString("1234.5")), "1,234.50");
  EXPECT_EQ(FloatToStr(2.5), "2.5");
}

TEST(FloatToStr, FifteenSignificantDigits) {
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(12.0), "12");
  EXPECT_EQ(FloatToStr(-3.5), "-3.5");
  EXPECT_EQ(FloatToStr(123456.789), "123456.789");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
}

TEST(FormatDateTime, PatternsTheSystemUses) {
  TDateTime t = Sample();
  EXPECT_EQ(FormatDateTime("yyyy", t), "2024");
  EXPECT_EQ(FormatDateTime("yyyymm", t), "202403");
  EXPECT_EQ(FormatDateTime("yyyymmdd", t), "20240305");
  EXPECT_EQ(FormatDateTime("ddmmyyyy", t), "05032024");
  EXPECT_EQ(FormatDateTime("DDMMYYYY", t), "05032024");
  EXPECT_EQ(FormatDateTime("YYYY-MM-dd", t), "2024-03-05");
  EXPECT_EQ(FormatDateTime("yymmddhhnnsszzz", t), "240305070809045");
  EXPECT_EQ(FormatDateTime("yyyy_mm", t), "2024_03");
  EXPECT_EQ(FormatDateTime("yyyy/mm", t), "2024/03");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", t), "05/03/2024");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", t), "07:08:09");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", t), "05/03/2024 07:08:09");
}

TEST(FormatDateTime, ShortTokensMinutesAfterHoursAndLiterals) {
  TDateTime t = Sample();
  EXPECT_EQ(FormatDateTime("d/m/yy", t), "5/3/24");
  EXPECT_EQ(FormatDateTime("hh:mm", t), "07:08");
  EXPECT_EQ(FormatDateTime("hh:mm dd/mm", t), "07:08 05/03");
  EXPECT_EQ(FormatDateTime("h:n:s.z", t), "7:8:9.45");
  EXPECT_EQ(FormatDateTime("'Competência: 'mm/yyyy", t), "Competência: 03/2024");
  TDateTime lastInstant = EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 59, 999);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", lastInstant), "2023-12-31 23:59:59.999");
}

TEST(StrToDate, AcceptsPanelDatesAndRejectsTheRest) {
  TDateTime d = 0;
  EXPECT_TRUE(TryStrToDate("05/03/2024", d));
  EXPECT_EQ(d, EncodeDate(2024, 3, 5));
  EXPECT_TRUE(TryStrToDate(" 5/3/2024 ", d));
  EXPECT_EQ(d, EncodeDate(2024, 3, 5));
  EXPECT_TRUE(TryStrToDate("29/02/2024", d));
  for (const char* bad : {"", "  /  /    ", "31/02/2024", "29/02/2023", "05/13/2024", "05/03/2024x",
                          "05/03/24", "05-03-2024", "005/03/2024", "05/03/20245"})
    EXPECT_FALSE(TryStrToDate(bad, d)) << bad;
  EXPECT_EQ(StrToDate("31/12/2023"), EncodeDate(2023, 12, 31));
  EXPECT_EQ(StrToDateDef("31/02/2024", 7), 7);
  try {
    StrToDate("31/02/2024");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'31/02/2024' não é uma data válida");
  }
}

TEST(DateToStr, FollowsTheShortDateFormat) {
  EXPECT_EQ(DateToStr(Sample()), "05/03/2024");
  TFormatSettings saved = FormatSettings;
  FormatSettings.ShortDateFormat = "yyyy-mm-dd";
  EXPECT_EQ(DateToStr(Sample()), "2024-03-05");
  FormatSettings = saved;
}
