#include "UlmoArqPRGerarCtb_U.h"

#include <gtest/gtest.h>

#include "Leiaute_U.h"

#include <functional>

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
  void SetUp() override { Configurar(C); }
  static void Configurar(TUlmoArqPRControleDados& AC) {
    AC.SetCodigoEmpresa(1);
    AC.SetCodigoSistema(3);
    AC.SetDataInicial(EncodeDate(2024, 1, 1));
    AC.SetDataFinal(EncodeDate(2024, 12, 31));
    AC.SetPlanoEstatal(3);
    AC.IdPessoa = 9;
    AC.IdPessoaEntidade = 8;
    AC.TipoMovimentoCtb = 3;
    AC.PastaDestino = "/nao/usada";
  }
  std::vector<std::string> Gerar(TUlmoArqPRGerarBase& AGerador) { return Gerar(AGerador, C); }
  std::vector<std::string> Gerar(TUlmoArqPRGerarBase& AGerador, TUlmoArqPRControleDados& AC) {
    TStringSink sink;
    AGerador.ControleDados = &AC;
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
  FBanco.Sql("update ESTAB set TIPOINSCR = 3, CEPENDERESTAB = '80000-000'");
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

// The balance and chart files of the fixture company, over fresh shared data (read after the
// mappings given).
std::vector<std::vector<std::string>> ArquivosDeSaldoEPlano(
    const std::function<std::vector<std::string>(TUlmoArqPRGerarBase&)>& AGerar) {
  TUlmoArqPRGerarPlanoContabil plano;
  TUlmoArqPRGerarSaldoCtbExercAnt saldo;
  TUlmoArqPRGerarMovCtbMensal mov;
  TUlmoArqPRGerarPlanoContabilEstatal estatal;
  TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil balancete;
  return {AGerar(plano), AGerar(saldo), AGerar(mov), AGerar(estatal), AGerar(balancete)};
}

TEST_F(GeradoresPRTest, MapeamentoVencidoAntesDoPeriodoNaoMudaNenhumArquivo) {
  auto antes = ArquivosDeSaldoEPlano([this](TUlmoArqPRGerarBase& g) { return Gerar(g); });
  // The cash account was mapped to the banks account in 2023: every file used to count it twice.
  FBanco.Sql("insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, "
             "CONTATCE, TIPONATURSALDO, TIPOSUPERAVITFINANC, IDENTIFIPATQUALITATIVA) values "
             "(1, 12, '2023-01-01', '2023-12-31', 3, 11112, 1, '2', 4);");
  TUlmoArqPRControleDados outro;
  Configurar(outro);
  auto depois = ArquivosDeSaldoEPlano([&](TUlmoArqPRGerarBase& g) { return Gerar(g, outro); });
  ASSERT_EQ(antes.size(), depois.size());
  for (size_t i = 0; i < antes.size(); ++i) {
    EXPECT_FALSE(antes[i].empty()) << i;
    EXPECT_EQ(depois[i], antes[i]) << i;
  }
}

TEST_F(GeradoresPRTest, MapeamentoTrocadoNoPeriodoContaCadaMesUmaVezNaContaDoSeuUltimoDia) {
  // From February the cash account is mapped to the banks account, with other attributes.
  FBanco.Sql("update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-01-31' where CONTACTB = 12;"
             "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, "
             "CONTATCE, TIPONATURSALDO, TIPOSUPERAVITFINANC, IDENTIFIPATQUALITATIVA) values "
             "(1, 12, '2024-02-01', '2024-12-31', 3, 11112, 1, '2', 4);");
  auto f = ArquivosDeSaldoEPlano([this](TUlmoArqPRGerarBase& g) { return Gerar(g); });
  using V = std::vector<std::string>;
  // The court chart covers the period: the mapping of its last day; Caixa (01) is mapped by no account then.
  EXPECT_EQ(f[0], (V{"9|1|0|0|0|0|00|00||||||2024|Ativo|D|N||||", "9|1|1|0|0|0|00|00||||||2024|Ativo circulante|D|N||||",
                     "9|1|1|1|1|0|00|00||||||2024|Caixa e equivalentes|D|N||||",
                     "9|1|1|1|1|1|00|00||||||2024|Caixa e equivalentes em moeda|D|N|P|F|O|",
                     "9|1|1|1|1|1|02|00||||||2024|Bancos|D|S|P|F|O|", "9|1|1|1|1|1|02|00||||||2024|Bancos|D|S|P|F|O|",
                     "9|2|0|0|0|0|00|00||||||2024|Passivo|C|N||||",
                     "9|2|1|1|1|1|01|00||||||2024|Fornecedores|C|S|P|F|F|"}));
  // The opening balance: the mapping of the period's first day.
  EXPECT_EQ(f[1], (V{"9|8|1|1|1|1|1|01|00||2024|F|D|150.00|", "9|8|2|1|1|1|1|01|00||2024|P|C|150.00|"}));
  // Each month once, under the mapping of its last day.
  EXPECT_EQ(f[2], (V{"9|1|1|1|1|1|01|00||||||2024|01|3|F|1|100.00|0.00|", "9|2|1|1|1|1|01|00||||||2024|01|3|P|3|0.00|100.00|",
                     "9|1|1|1|1|1|02|00||||||2024|02|3||2|30.50|0.00|", "9|1|1|1|1|1|02|00||||||2024|02|3|2|4|0.00|30.50|"}));
  EXPECT_EQ(f[3], (V{"9|11|2024|CIRCULANTE|D|S|", "9|111|2024|CAIXA|D|N|", "9|112|2024|BANCO|D|N|",
                     "9|21|2024|FORNECEDORES|C|N|"}));
  EXPECT_EQ(f[4], (V{"9|01|111|1|1|1|1|1|01|00||||||2024|100.00|0.00|", "9|01|21|2|1|1|1|1|01|00||||||2024|0.00|100.00|",
                     "9|02|111|1|1|1|1|1|02|00||||||2024|0.00|30.50|", "9|02|112|1|1|1|1|1|02|00||||||2024|30.50|0.00|"}));
}

TEST_F(GeradoresPRTest, MapeamentoTrocadoNoPrimeiroMesSeparaAAberturaDoMovimentoDoMes) {
  FBanco.Sql("update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-01-15' where CONTACTB = 12;"
             "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, "
             "CONTATCE, TIPONATURSALDO, TIPOSUPERAVITFINANC, IDENTIFIPATQUALITATIVA) values "
             "(1, 12, '2024-01-16', '2024-12-31', 3, 11112, 1, '2', 4);");
  auto f = ArquivosDeSaldoEPlano([this](TUlmoArqPRGerarBase& g) { return Gerar(g); });
  using V = std::vector<std::string>;
  EXPECT_EQ(f[1], (V{"9|8|1|1|1|1|1|01|00||2024|F|D|150.00|", "9|8|2|1|1|1|1|01|00||2024|P|C|150.00|"}));
  EXPECT_EQ(f[2][0], "9|1|1|1|1|1|02|00||||||2024|01|3|2|4|100.00|0.00|");
  EXPECT_EQ(f[2].size(), 4u);
}

TEST_F(GeradoresPRTest, ValorMaiorQueOCampoNaoECortadoEmNenhumArquivoDeSaldo) {
  FBanco.Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, "
             "VALORLCTOCTB) values (1, 7, 1, '2024-02-20', 13, null, 9999999999999.99), "
             "(1, 8, 1, '2024-02-21', 13, null, 9999999999999.99);");
  TUlmoArqPRGerarMovCtbMensal mov;
  TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil balancete;
  for (TUlmoArqPRGerarBase* g : std::initializer_list<TUlmoArqPRGerarBase*>{&mov, &balancete}) {
    TStringSink sink;
    g->ControleDados = &C;
    g->SetSink(&sink);
    try {
      g->GerarArquivo();
      ADD_FAILURE() << g->NomeArquivo() << ": an amount of 17 characters was written";
    } catch (const ENaoCabe& e) {
      EXPECT_NE(std::string(e.what()).find("(conta contábil 13), campo vlDebito"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(sink.Committed()) << g->NomeArquivo();
  }
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

TEST_F(GeradoresPRTest, AnUnclassifiedAssetOfThePeriodWasLeftOutOfTheFileUnseen) {
  ExecutarSQLDireto("insert into PATBEM values (1, 4, 103, 'Cadeira', '2024-12-20')");
  ControleMensagem().LimparListaMensagem();
  TUlmoArqPRGerarBens bens;
  C.SetDataFinal(EncodeDate(2025, 1, 1));
  EXPECT_EQ(Gerar(bens).size(), 3u);  // the classified ones only, as the court asks
  EXPECT_EQ(ControleMensagem().ListaMensagem().Contar(tmAviso), 1u);
  C.SetDataFinal(EncodeDate(2024, 12, 19));  // bought after the period: nothing to say
  ControleMensagem().LimparListaMensagem();
  Gerar(bens);
  EXPECT_EQ(ControleMensagem().ListaMensagem().Contar(tmAviso), 0u);
}

}  // namespace
