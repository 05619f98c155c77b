#include "KaloDPGerarSaldoCtbIndividual_U.h"

#include <gtest/gtest.h>

#include "BancoTeste_U.h"
#include "ClassRegistry_U.h"
#include "Demo_U.h"
#include "Mapper_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

class SaldoProcessoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FBanco = new TBancoTeste("saldo_processo");
    GerarDemo();
  }
  static void TearDownTestSuite() {
    delete FBanco;
    FBanco = nullptr;
  }
  void SetUp() override { SetConexao(&FBanco->Conexao()); }
  void TearDown() override { DestruirTodosDM(); }
  static TBancoTeste* FBanco;
};
TBancoTeste* SaldoProcessoTest::FBanco = nullptr;

ULMO_MAP_CLASS(TMapSaldo, TField, CONTACTB, SALDOATUAL);

}  // namespace

// As the TCE-RS trial balance asks: by name and context, every parameter set as text.
TEST_F(SaldoProcessoTest, ACallerByNameGetsTheBalancesInItsComponent) {
  auto* p = dynamic_cast<TnDMPowerParam*>(CriarDM("TKaloDPGerarSaldoCtbIndividual", nullptr, "SaldoCtb"));
  ASSERT_NE(p, nullptr);
  for (auto [alias, valor] : std::vector<std::pair<const char*, const char*>>{
           {"pCodigoEmpresa", "2"}, {"pCodigoEstab", ""}, {"pContaCtb", ""}, {"pClassifConta", ""},
           {"pDataInicial", "01/03/2024"}, {"pDataFinal", "31/03/2024"}, {"pCodigoMoeda", "0"},
           {"pRelacionarEstab", "0"}, {"pTipoAgruparData", "0"}, {"pTotalizarSintetica", "1"},
           {"pConsiderarFiltroLctoCtb", "0"}, {"pListarContasMovimentoZero", "1"}, {"pFiltroOrigemLcto", ""}})
    p->Param(alias).SetValue(valor);
  p->Executar();
  auto* saldos = p->FindComponent<TClientDataSet>("nClientDataSet");
  ASSERT_NE(saldos, nullptr);
  EXPECT_EQ(saldos->RecordCount(), 218);  // every account of the chart
  saldos->SetIndexFieldNames("CLASSIFCONTA;TIPOCONTA;CONTACTB");
  saldos->First();
  EXPECT_EQ(saldos->FieldByName("CLASSIFCONTA").AsString(), "1");
  EXPECT_GT(saldos->FieldByName("SALDOATUAL").AsCurrency(), Currency());
  EXPECT_EQ(saldos->FieldByName("DATASALDO").AsDateTime(), EncodeDate(2024, 3, 1));
}

// As the SAGRES rules ask: one free-standing instance run month after month, its dataset
// taken again each time; maps bound to it in the first month keep reading the later ones.
TEST_F(SaldoProcessoTest, RunsAgainIntoTheSameFields) {
  TnDataModule* dm = CriarDMNovo("TKaloDPGerarSaldoCtbIndividual", nullptr);
  auto* p = dynamic_cast<TnDMPowerParam*>(dm);
  ASSERT_NE(p, nullptr);
  auto mes = [&](const char* inicio, const char* fim) {
    p->LimparParamsINI();
    p->Param("pTipoSaldoCtb").SetValue("0");
    p->Param("pCodigoEmpresa").SetValue("4");
    p->Param("pDataInicial").SetValue(inicio);
    p->Param("pDataFinal").SetValue(fim);
    p->Param("pTipoAgruparData").SetValue("0");
    p->Param("pConsiderarFiltroLctoCtb").SetValue("1");
    p->Param("pFiltroOrigemLcto").SetValue("ZZ");
    p->Param("pListarContasMovimentoZero").SetValue("0");
    p->Executar();
    return &p->ComponentByName<TClientDataSet>("nClientDataSet");
  };
  TClientDataSet* janeiro = mes("01/01/2024", "31/01/2024");
  TMapSaldo& mapa = FieldMapper().MapearFields<TMapSaldo>(*janeiro);
  janeiro->SetIndexFieldNames("CONTACTB");
  ASSERT_TRUE(janeiro->FindKey({8.0}));  // the first bank account
  Currency fimJaneiro = mapa.SALDOATUAL->AsCurrency();
  TClientDataSet* fevereiro = mes("01/02/2024", "29/02/2024");
  EXPECT_EQ(fevereiro, janeiro);
  fevereiro->SetIndexFieldNames("CONTACTB");
  ASSERT_TRUE(fevereiro->FindKey({8.0}));
  EXPECT_EQ(fevereiro->FieldByName("SALDOANTERIOR").AsCurrency(), fimJaneiro);
  EXPECT_EQ(mapa.SALDOATUAL->AsCurrency(), fevereiro->FieldByName("SALDOATUAL").AsCurrency());
  DestruirDMDefinitivo(dm);
}

TEST_F(SaldoProcessoTest, AParameterItCannotUseIsRefusedAtThatParameter) {
  auto p = nComoClasse<TnDMPowerParam>(nCriarInstancia("TKaloDPGerarSaldoCtbIndividual"));
  ASSERT_TRUE(p);
  p->Param("pCodigoEmpresa").SetValue("1");
  p->Param("pDataInicial").SetValue("01/04/2024");
  p->Param("pDataFinal").SetValue("31/03/2024");
  try {
    p->Executar();
    FAIL();
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pDataFinal");
    EXPECT_STREQ(e.what(), "A Data Final não pode ser menor que a Data Inicial!");
  }
  p->Param("pDataFinal").SetValue("30/04/2024");
  p->Param("pCodigoEmpresa").SetValue("9");
  try {
    nExecutarProcesso(*p);
    FAIL();
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pCodigoEmpresa");
    EXPECT_STREQ(e.what(), "Código da empresa inválido!");
  }
  // The panel offers every parameter, with the balance's defaults.
  EXPECT_EQ(p->npqPowerParam.Itens().size(), ParamsSaldoCtb().size());
  EXPECT_EQ(p->Param("pTotalizarSintetica").Value(), "1");
  EXPECT_EQ(p->Param("pListarContasMovimentoZero").Value(), "0");
}

TEST_F(SaldoProcessoTest, AUserRanItFromYearOneOrTo9999) {
  auto p = nComoClasse<TnDMPowerParam>(nCriarInstancia("TKaloDPGerarSaldoCtbIndividual"));
  ASSERT_TRUE(p);
  auto erro = [&](const char* inicial, const char* final_) -> std::string {
    p->Param("pCodigoEmpresa").SetValue("1");
    p->Param("pDataInicial").SetValue(inicial);
    p->Param("pDataFinal").SetValue(final_);
    try {
      nExecutarProcesso(*p);
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return "";
  };
  EXPECT_EQ(erro("01/01/0001", "31/12/2024"), "pDataInicial: Data inicial inválida!");
  EXPECT_EQ(erro("01/01/2024", "31/12/9999"), "pDataFinal: Data final inválida!");
  EXPECT_EQ(erro("01/01/2024", "31/01/2024"), "");
  // A court process asking by name for the year before its period is not a user's typing.
  p->Param("pDataInicial").SetValue("01/01/1899");
  p->Param("pDataFinal").SetValue("31/12/1899");
  EXPECT_NO_THROW(p->Executar());
}
