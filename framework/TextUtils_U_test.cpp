#include "TextUtils_U.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace nFramework;

TEST(TextUtils, Utf8CountsAndCutsWholeCharacters) {
  EXPECT_EQ(Utf8Length("São"), 3u);
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Left("Ação", 2), "Aç");
  EXPECT_EQ(Utf8Left("Ação", 9), "Ação");
  EXPECT_EQ(Utf8Right("Ação", 2), "ão");
  EXPECT_TRUE(CabeNoCampo("Ação", 4));
  EXPECT_FALSE(CabeNoCampo("Ação", 3));
}

TEST(TextUtils, PaddingFillsToTheWidthAndNeverCuts) {
  EXPECT_EQ(PreencherEsquerda("7", 2, "0"), "07");
  EXPECT_EQ(PreencherEsquerda("12345", 2, "0"), "12345");
  EXPECT_EQ(PreencherEsquerda("São", 5, ""), "  São");
  EXPECT_EQ(PreencherEsquerda("x", 3, "ç"), "ççx");
  EXPECT_EQ(PreencherEsquerda("5", 4, "ab"), "aba5");
  EXPECT_EQ(PreencherEsquerda("5", -1, "0"), "5");
  EXPECT_EQ(PreencherDireita("7", 5, "0"), "70000");
  EXPECT_EQ(Utf8Length(PreencherDireita("Associação", 80, "")), 80u);
}

TEST(TextUtils, FixedWidthFieldsHaveExactlyTheWidth) {
  EXPECT_EQ(FmtNumero("12", 4), "0012");
  EXPECT_EQ(FmtNumero("", 3), "000");
  EXPECT_EQ(FmtNumero("1234.50", 16), "0000000001234.50");
  EXPECT_EQ(FmtNumero("-1234.50", 16), "-000000001234.50");
  EXPECT_EQ(FmtNumero("123456", 4), "3456");
  EXPECT_EQ(FmtTexto("ab", 4), "ab  ");
  EXPECT_EQ(FmtTexto("São Paulo", 5), "São P");
  EXPECT_EQ(Utf8Length(FmtTexto("Lançamento de estorno", 10)), 10u);
}

TEST(TextUtils, CleaningKeepsDigitsOrLettersAndFallsBack) {
  EXPECT_EQ(LimparStrToInteger("-1,234.50", "0"), "123450");
  EXPECT_EQ(LimparStrToInteger("abc", "0000000000000"), "0000000000000");
  EXPECT_EQ(LimparStrToInscricaoFederal("12.345.678/0001-90", ""), "12345678000190");
  EXPECT_EQ(LimparStrToInscricaoFederal("123.456.789-09", "0"), "12345678909");
  EXPECT_EQ(LimparStrToInscricaoFederal("  ", "0"), "0");
  EXPECT_EQ(LimparStrToAlphaNumeric("88.015-100", "0"), "88015100");
  EXPECT_EQ(LimparStrToAlphaNumeric("--", "0"), "0");
  EXPECT_EQ(LimparStrToAlphaNumeric("Av. São João, 12", ""), "AvSãoJoão12");
  EXPECT_EQ(LimparStrToAlphaNumeric("Av. São João, 12", "", true), "Av São João 12");
  EXPECT_EQ(LimparStrToAlphaNumeric("a-b×c", "", false, "-"), "a-bc");
}

TEST(TextUtils, HistoryJoinsDescriptionAndComplement) {
  EXPECT_EQ(MontarHist("PAGTO FORNECEDOR", "NF 123"), "PAGTO FORNECEDOR NF 123");
  EXPECT_EQ(MontarHist("PAGTO ", ""), "PAGTO");
  EXPECT_EQ(MontarHist("", " NF 1 "), "NF 1");
}

TEST(TextUtils, RoundValorIsDecimalCorrect) {
  EXPECT_EQ(RoundValor(2.675, 2), 2.68);
  EXPECT_EQ(RoundValor(-2.675, 2), -2.68);
  EXPECT_EQ(RoundValor(1.005, 2), 1.01);
  EXPECT_EQ(RoundValor(0.1 + 0.2, 2), 0.3);
  EXPECT_EQ(RoundValor(1234.5, 0), 1235.0);
  EXPECT_EQ(RoundValor(1234.4999, 2), 1234.5);
  EXPECT_FALSE(std::signbit(RoundValor(-0.004, 2)));
}

TEST(TextUtils, ClassificationLevels) {
  EXPECT_EQ(QtdNiveis(""), 0);
  EXPECT_EQ(QtdNiveis("1"), 1);
  EXPECT_EQ(QtdNiveis("1.1.2.00.000"), 5);
  EXPECT_EQ(QtdNiveisSemZero("1.1.2.00.000"), 3);
  EXPECT_EQ(QtdNiveisSemZero("0.00"), 0);
  EXPECT_EQ(RetirarUltimoNivelClassificacao("1.1.2"), "1.1");
  EXPECT_EQ(RetirarUltimoNivelClassificacao("1"), "");
}

TEST(TextUtils, SyntheticParentKeepsTheMask) {
  EXPECT_EQ(PegarContaSinteticaSuperior("1.1.2.00"), "1.1.0.00");
  EXPECT_EQ(PegarContaSinteticaSuperior("1.1.0.00"), "1.0.0.00");
  EXPECT_EQ(PegarContaSinteticaSuperior("3.1.1.2.1.01.00"), "3.1.1.2.1.00.00");
  EXPECT_EQ(PegarContaSinteticaSuperior("1.1.2"), "1.1");
  EXPECT_EQ(PegarContaSinteticaSuperior("3.1.1.2.1.01.05"), "3.1.1.2.1.01");
  EXPECT_EQ(PegarContaSinteticaSuperior("3.1.1.2.1.01.05", "9.9.9.9.9.99.99"), "3.1.1.2.1.01.00");
  EXPECT_EQ(PegarContaSinteticaSuperior("1.1.2", "9.9.9.99"), "1.1");
  for (const char* top : {"1", "1.0.00", "0.0", ""}) EXPECT_EQ(PegarContaSinteticaSuperior(top), "") << top;
}

TEST(TextUtils, FormatMaskTextFillsTheMaskPositions) {
  EXPECT_EQ(FormatMaskText("00.000.000/0000-00;0;_", "12345678000190"), "12.345.678/0001-90");
  EXPECT_EQ(FormatMaskText("9.9.9.99.99;0;_", "1123"), "1.1.2.3_.__");
  EXPECT_EQ(FormatMaskText("9.9.9.9.9.99.99;0;0", "31121"), "3.1.1.2.1.00.00");
  EXPECT_EQ(FormatMaskText("9.9.9.9.9.99.99;0;0", "311210105"), "3.1.1.2.1.01.05");
  EXPECT_EQ(FormatMaskText("9.9.9.9.9.99.99;0;0", "31121010599"), "3.1.1.2.1.01.0599");
  EXPECT_EQ(FormatMaskText("99.99;1;_", "12.34"), "12.34");
  EXPECT_EQ(FormatMaskText(">LL-000;0; ", "ab12"), "AB-12 ");
  EXPECT_EQ(FormatMaskText("\\099;0;_", "12"), "012");
}
