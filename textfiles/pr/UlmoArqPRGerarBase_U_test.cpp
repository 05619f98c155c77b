#include "UlmoArqPRGerarBase_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;
using namespace nUlmoPR;

namespace {

TEST(RegrasValoresPRTest, NaturezaValorMesEConta) {
  EXPECT_EQ(LetraNatureza(1), "D");
  EXPECT_EQ(LetraNatureza(2), "C");
  EXPECT_EQ(LetraNatureza(0), "X");
  EXPECT_EQ(LetraNatureza(-1), "X");
  EXPECT_EQ(FormatarMes(EncodeDate(2024, 3, 31)), "03");
  EXPECT_EQ(FormatarMes(EncodeDate(2024, 11, 1)), "11");
  EXPECT_EQ(ContaSemPontos("0.1.02"), 102);
  EXPECT_EQ(ContaSemPontos("1.1.2.01.0001"), 112010001);
  EXPECT_THROW(ContaSemPontos("1.A.2"), EConvertError);
  EXPECT_THROW(ContaSemPontos("99999999999999999999"), EConvertError);
  EXPECT_THROW(ContaSemPontos(""), EConvertError);
}

Currency Valor(const char* texto) { return Currency::FromString(texto); }

TEST(RegrasValoresPRTest, ValoresSaoExatosEArredondamMetadeParaLongeDoZero) {
  EXPECT_EQ(FormatarValor(Valor("1234.5")), "1234.50");
  EXPECT_EQ(FormatarValor(Currency()), "0.00");
  EXPECT_EQ(FormatarValor(Valor("1234567.005")), "1234567.01");
  EXPECT_EQ(FormatarValor(Valor("0.125")), "0.13");
  EXPECT_EQ(FormatarValor(Valor("2.675")), "2.68");
  EXPECT_EQ(FormatarValor(Valor("-0.125")), "-0.13");
  EXPECT_EQ(FormatarValor(Valor("1000000000000")), "1000000000000.00");
  // The widest amount of a 16-position field.
  EXPECT_EQ(FormatarValor(Valor("9999999999999.99")), "9999999999999.99");
  Currency soma;
  for (int i = 0; i < 1000000; ++i) soma += Valor("0.1");
  EXPECT_EQ(FormatarValor(soma), "100000.00");
}

TEST(RegrasValoresPRTest, NiveisPreenchemOsPrimeirosCamposEDeixamOsOutrosVazios) {
  TRecord rec("REC");
  std::vector<TColuna*> c;
  for (const char* n : {"a", "b", "c", "d"}) c.push_back(&rec.CreateFieldToString(n, 2));
  PreencherNiveis("1.2", {c[0], c[1], c[2], c[3]});
  EXPECT_EQ(c[0]->Texto(), "1");
  EXPECT_EQ(c[1]->Texto(), "2");
  EXPECT_EQ(c[2]->Texto(), "");
  EXPECT_FALSE(c[3]->IsEmpty());  // set to empty text, not left with an older value
  PreencherNiveis("3.4.5.6.7.8", {c[0], nullptr, c[2]});
  EXPECT_EQ(c[0]->Texto(), "3");
  EXPECT_EQ(c[2]->Texto(), "5");
}

}  // namespace
