#include "UlmoArqPRGerarBase_U.h"

#include <gtest/gtest.h>

#include "AtomicFile_U.h"
#include "Exceptions_U.h"
#include "LayoutsPR_U.h"
#include "Leiaute_U.h"

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
  const TLeiaute leiaute{"REC",
                         {{.Nome = "a", .Largura = 1, .Tipo = TTipoCampo::Numero, .Preenchimento = '0'},
                          {.Nome = "b", .Largura = 2, .Tipo = TTipoCampo::Numero, .Preenchimento = '0'},
                          {.Nome = "c", .Largura = 2, .Tipo = TTipoCampo::Numero, .Preenchimento = '0'},
                          {.Nome = "d", .Largura = 2, .Tipo = TTipoCampo::Numero, .Preenchimento = '0'}},
                         "|"};
  TStringSink saida;
  TEscritorLeiaute escritor(saida, "teste.txt");
  TLinha& linha = escritor.Linha(leiaute);
  EscreverNiveis(linha, "1.2", 4);
  linha.Gravar();
  TLinha& outra = escritor.Linha(leiaute);
  EscreverNiveis(outra, "3.4.5.6.7.8", 4);
  outra.Gravar();
  escritor.Concluir();
  // A level without a part stays empty, not zero-filled; further parts are left out.
  EXPECT_EQ(saida.Text(), "1|02||\r\n3|04|05|06\r\n");
}

TEST(RegrasValoresPRTest, CadaRegistroTerminaNoCampoFimVazio) {
  for (const TLeiaute* l : {&LayoutPessoaSEICED(), &LayoutPlanoContabil(), &LayoutSaldoCtbExercAnt(),
                            &LayoutMovCtbMensal(), &LayoutPlanoContabilEstatal(), &LayoutBalanceteMensalEstatal(),
                            &LayoutBens()}) {
    ASSERT_FALSE(l->Campos.empty());
    EXPECT_EQ(l->Separador, "|");
    EXPECT_STREQ(l->Campos.back().Nome, "Fim");
    EXPECT_EQ(l->Campos.back().Largura, 0);
  }
  EXPECT_EQ(LayoutPlanoContabil().Campos.size(), 21u);
  EXPECT_EQ(LayoutSaldoCtbExercAnt().Campos.size(), 15u);
  EXPECT_EQ(LayoutMovCtbMensal().Campos.size(), 21u);
  EXPECT_EQ(LayoutBalanceteMensalEstatal().Campos.size(), 19u);
  EXPECT_EQ(LayoutBens().Campos.size(), 10u);
}

}  // namespace
