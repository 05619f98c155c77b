#include "UlmoArqPRGerarCtb_U.h"

#include <gtest/gtest.h>

#include "ArqPRTeste_U.h"
#include "Exceptions_U.h"
#include "UlmoArqPRGerarEstatal_U.h"

using namespace nFramework;
using namespace nUlmoPR;
using namespace nUlmoPRTeste;

namespace {

// Renders one generator into memory over the fixture company.
class GeradoresPRTest : public ::testing::Test {
 protected:
  void SetUp() override {
    C.SetCodigoEmpresa(1);
    C.SetCodigoSistema(3);
    C.SetDataInicial(EncodeDate(2024, 1, 1));
    C.SetDataFinal(EncodeDate(2024, 12, 31));
    C.SetPlanoEstatal(3);
    C.IdPessoa = 9;
    C.IdPessoaEntidade = 8;
    C.TipoMovimentoCtb = 3;
    C.PastaDestino = "/nao/usada";
  }
  std::vector<std::string> Gerar(TUlmoArqPRGerarBase& AGerador) {
    TStringSink sink;
    AGerador.ControleDados = &C;
    AGerador.SetSink(&sink);
    AGerador.GerarArquivo();
    std::vector<std::string> r;
    std::string t = Windows1252ToUtf8(sink.Text());
    for (size_t i = 0, f; (f = t.find("\r\n", i)) != std::string::npos; i = f + 2) r.push_back(t.substr(i, f - i));
    return r;
  }

  TBancoPR FBanco;
  TUlmoArqPRControleDados C;
};

TEST(EnderecoPRTest, PartesVaziasSaemComSeusSeparadores) {
  EXPECT_EQ(MontarEndereco(" Rua ", "das Flores", "10", "Centro"), "Rua das Flores, Num 10, Bairro Centro");
  EXPECT_EQ(MontarEndereco("", "Av Brasil", " ", "Centro"), "Av Brasil, Bairro Centro");
  EXPECT_EQ(MontarEndereco("", "", "5", ""), "Num 5");
  EXPECT_EQ(MontarEndereco("", "", "", ""), "");
}

TEST_F(GeradoresPRTest, PessoaTipoDeInscricaoSemTraducaoELogradouroAusente) {
  TUlmoArqPRGerarPessoaSEICED pessoa;
  pessoa.ControleDados = &C;
  EXPECT_EQ(pessoa.NomeArquivoCompleto(), "/nao/usada/PessoaSEICED.txt");
  FBanco.Sql("update ESTAB set TIPOINSCR = 5, CEPENDERESTAB = null, NUMENDERESTAB = null");
  EXPECT_EQ(Gerar(pessoa), std::vector<std::string>{"5|11222333000181|Município de Teste|Rua das Flores, Bairro Centro|00000000|"});
  FBanco.Sql("update ESTAB set TIPOINSCR = 3, CEPENDERESTAB = '80.000-000'");
  EXPECT_EQ(Gerar(pessoa)[0].substr(0, 2), "0|");
  FBanco.Sql("update ESTAB set CODIGOTIPOLOGRAD = null");
  EXPECT_TRUE(Gerar(pessoa).empty());
}

TEST_F(GeradoresPRTest, MovimentoComOTipoDaExecucaoEIndependenteDeSaldoQueFalhou) {
  TUlmoArqPRGerarMovCtbMensal mov;
  std::vector<std::string> linhas = Gerar(mov);
  ASSERT_EQ(linhas.size(), 4u);
  for (const auto& l : linhas) EXPECT_NE(l.find("|2024|0"), std::string::npos) << l;
  EXPECT_EQ(linhas[0], "9|1|1|1|1|1|01|00||||||2024|01|3|F|1|100.00|0.00|");

  // An opening-balance file that fails half-way leaves its one-month range on the shared
  // balances; the movement file must still see every month.
  TClientDataSet& saldo = C.curSaldoTCE();
  saldo.SetIndexFieldNames("DATASALDO;CLASSIFCONTA");
  saldo.SetRange({TVariant::FromDate(EncodeDate(2024, 1, 1))}, {TVariant::FromDate(EncodeDate(2024, 1, 1))});
  EXPECT_EQ(Gerar(mov).size(), 4u);
}

TEST_F(GeradoresPRTest, SaldoAnteriorSoDoPrimeiroMesDoPeriodo) {
  TUlmoArqPRGerarSaldoCtbExercAnt saldo;
  EXPECT_EQ(Gerar(saldo), (std::vector<std::string>{"9|8|1|1|1|1|1|01|00||2024|F|D|150.00|",
                                                     "9|8|2|1|1|1|1|01|00||2024|P|C|150.00|"}));
  // From March the bank account has a previous balance; FecharDados released the range.
  C.SetDataInicial(EncodeDate(2024, 3, 1));
  EXPECT_EQ(Gerar(saldo), (std::vector<std::string>{"9|8|1|1|1|1|1|01|00||2024|F|D|219.50|",
                                                     "9|8|1|1|1|1|1|02|00||2024||D|30.50|",
                                                     "9|8|2|1|1|1|1|01|00||2024|P|C|250.00|"}));
  EXPECT_EQ(C.curSaldoTCE().RecordCount(), 10 + 10 + 10);
}

TEST_F(GeradoresPRTest, EstatalContaSemPontosEClassificacaoInvalida) {
  FBanco.Sql("update PLANOESPEC set CLASSIFCONTA = '1.1.02' where CONTACTB = 13");
  TUlmoArqPRGerarPlanoContabilEstatal plano;
  std::vector<std::string> linhas = Gerar(plano);
  ASSERT_EQ(linhas.size(), 4u);
  EXPECT_EQ(linhas[1], "9|1102|2024|BANCO|D|N|");
  TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil balancete;
  EXPECT_EQ(Gerar(balancete)[2], "9|02|1102|1|1|1|1|1|02|00||||||2024|30.50|0.00|");

  FBanco.Sql("update PLANOESPEC set CLASSIFCONTA = '1.X' where CONTACTB = 13");
  TUlmoArqPRControleDados outro;
  outro.SetCodigoEmpresa(1);
  outro.SetCodigoSistema(3);
  outro.SetDataInicial(EncodeDate(2024, 1, 1));
  outro.SetDataFinal(EncodeDate(2024, 12, 31));
  TUlmoArqPRGerarPlanoContabilEstatal invalido;
  invalido.ControleDados = &outro;
  TStringSink sink;
  invalido.SetSink(&sink);
  EXPECT_THROW(invalido.GerarArquivo(), EConvertError);
  EXPECT_FALSE(sink.Committed());
}

TEST_F(GeradoresPRTest, BensDoPeriodoPorNumero) {
  TUlmoArqPRGerarBens bens;
  C.SetDataFinal(EncodeDate(2025, 1, 1));
  std::vector<std::string> linhas = Gerar(bens);
  ASSERT_EQ(linhas.size(), 3u);
  EXPECT_EQ(linhas[2], "9|102|Mesa|1|2|12|345|1|2025-01-01|");
  C.SetDataInicial(EncodeDate(2025, 2, 1));
  C.SetDataFinal(EncodeDate(2025, 2, 28));
  EXPECT_TRUE(Gerar(bens).empty());
}

}  // namespace
