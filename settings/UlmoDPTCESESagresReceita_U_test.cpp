// The three rule grids: revenue, expense and asset.
#include "UlmoDPTCESESagresReceita_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "SettingsTeste_U.h"
#include "UlmoDPTCESagresDespesa_U.h"
#include "UlmoDPTCESagresPatrimonio_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nSettingsTeste;

namespace {

class RegraGridTest : public SettingsTest {
 protected:
  void TearDown() override {
    TnDMRegraBaseCalculo::SetEditorFormula(nullptr);
    SettingsTest::TearDown();
  }
  template <class T>
  std::unique_ptr<T> Carregar(const char* aEmpresa = "5") {
    auto g = nCriarObjeto<T>();
    g->Param("pCodigoEmpresa").SetValue(aEmpresa);
    nExecutarProcesso(*g);
    return g;
  }
};

}  // namespace

TEST_F(RegraGridTest, ACompanyWithoutRulesSeesEveryFixedItemWithAnEmptyRule) {
  auto g = Carregar<TUlmoDPTCESESagresReceita>();
  TClientDataSet& d = g->curDados;
  ASSERT_EQ(d.RecordCount(), 16);
  d.First();
  EXPECT_EQ(d.FieldByName("TipoReceita").AsInteger(), 1);
  EXPECT_EQ(d.FieldByName("Descricao").AsString(), "01 - Receita de Serviços de Água");
  EXPECT_TRUE(d.FieldByName("RegraCalculo").IsNull());
  EXPECT_FALSE(d.FieldByName("TipoReceita").Visible);
  EXPECT_TRUE(d.FieldByName("Descricao").ReadOnly);
  EXPECT_EQ(d.FieldByName("Descricao").DisplayLabel, "Receita");
  d.Last();
  EXPECT_EQ(d.FieldByName("TipoReceita").AsInteger(), 99);
  EXPECT_EQ(d.FieldByName("Descricao").AsString(), "99 - Deduçao - Outras Deduçoes");
  EXPECT_EQ(Carregar<TUlmoDPTCESagresDespesa>()->curDados.RecordCount(), 17);
}

TEST_F(RegraGridTest, ASaveReplacesTheCompanysRulesWithTheRowsThatHoldOne) {
  Executar(
      "insert into TCESESAGRESRECEITA values (5, 4, 'SALDOATUAL(10)'), (5, 50, 'SALDOATUAL(1)'),"
      " (6, 4, 'DEBITO(3)');");
  auto g = Carregar<TUlmoDPTCESESagresReceita>();
  TClientDataSet& d = g->curDados;
  ASSERT_TRUE(d.Locate("TipoReceita", {4}));
  EXPECT_EQ(d.FieldByName("RegraCalculo").AsString(), "SALDOATUAL(10)");
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 0);
  EXPECT_FALSE(g->Alterado());

  ASSERT_TRUE(d.Locate("TipoReceita", {90}));
  d.Edit();
  d.FieldByName("RegraCalculo").SetAsString("credito(20) * 0.0365");
  d.Post();
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 1);
  EXPECT_TRUE(g->Alterado());
  ASSERT_TRUE(g->ExecutarAcao("actSalvar"));
  // The unknown item 50 goes; the other company's rule stays.
  EXPECT_EQ(Conteudo("TCESESAGRESRECEITA"), "5|4|SALDOATUAL(10)\n5|90|credito(20) * 0.0365\n6|4|DEBITO(3)\n");
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 0);
  EXPECT_FALSE(g->Alterado());
}

TEST_F(RegraGridTest, AnInvalidRuleStopsTheSaveOnItsRowAndWritesNothing) {
  Executar("insert into TCESESAGRESDESPESA values (5, 1, 'SALDOATUAL(10)');");
  auto g = Carregar<TUlmoDPTCESagresDespesa>();
  TClientDataSet& d = g->curDados;
  ASSERT_TRUE(d.Locate("TipoDespesa", {1}));
  d.Edit();
  d.FieldByName("RegraCalculo").Clear();  // an empty rule passes
  d.Post();
  ASSERT_TRUE(d.Locate("TipoDespesa", {12}));
  d.Edit();
  d.FieldByName("RegraCalculo").SetAsString("SALDOATUAL(10) +");
  d.Post();
  d.First();
  try {
    g->Salvar();
    FAIL() << "saved";
  } catch (const EnCampoGrid& e) {
    EXPECT_STREQ(e.what(), "Regra definida é inválida.");
    EXPECT_EQ(e.Campo(), "RegraCalculo");
  }
  EXPECT_EQ(d.FieldByName("TipoDespesa").AsInteger(), 12);
  EXPECT_EQ(Conteudo("TCESESAGRESDESPESA"), "5|1|SALDOATUAL(10)\n");
  // Cancelling brings the stored rules back.
  g->Cancelar();
  ASSERT_TRUE(d.Locate("TipoDespesa", {1}));
  EXPECT_EQ(d.FieldByName("RegraCalculo").AsString(), "SALDOATUAL(10)");
}

TEST_F(RegraGridTest, TheFormulaEditorChangesTheRowOnlyWhenTheTextChanges) {
  auto g = Carregar<TUlmoDPTCESESagresReceita>();
  TClientDataSet& d = g->curDados;
  ASSERT_TRUE(d.Locate("TipoReceita", {2}));
  std::string visto = "-";
  TnDMRegraBaseCalculo::SetEditorFormula([&](const std::string& f) {
    visto = f;
    return f;
  });
  g->curDadosRegraCalculoDefIntButtonClick();
  EXPECT_EQ(visto, "");
  EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 0);
  TnDMRegraBaseCalculo::SetEditorFormula([](const std::string&) { return std::string("MOVIMENTO(7)"); });
  g->curDadosRegraCalculoDefIntButtonClick();
  EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(d.FieldByName("RegraCalculo").AsString(), "MOVIMENTO(7)");
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 1);
}

TEST_F(RegraGridTest, AnAssetRuleBelongsToOneTypeAndKind) {
  Executar("insert into TCESESAGRESPATRIMONIO values (5, 3, 'D', 'CREDITO(30)');");
  auto g = Carregar<TUlmoDPTCESagresPatrimonio>();
  TClientDataSet& d = g->curDados;
  ASSERT_EQ(d.RecordCount(), 12);
  for (d.First(); !d.Eof(); d.Next()) {
    bool alvo = d.FieldByName("TipoPatrimonio").AsInteger() == 3 && d.FieldByName("TipoLancamento").AsString() == "D";
    EXPECT_EQ(d.FieldByName("RegraCalculo").AsString(), alvo ? "CREDITO(30)" : "");
    if (alvo) {
      EXPECT_EQ(d.FieldByName("DescrTipoPatrimonio").AsString(), "3 - Imóveis");
      EXPECT_EQ(d.FieldByName("DescrTipoLancamento").AsString(), "D - Depreciação");
    }
  }
  EXPECT_TRUE(g->CelulasMescladas("DescrTipoPatrimonio"));
  ASSERT_TRUE(d.Locate("TipoPatrimonio;TipoLancamento", {1, "P"}));
  d.Edit();
  d.FieldByName("RegraCalculo").SetAsString("SALDOATUAL(1)");
  d.Post();
  g->Salvar();
  EXPECT_EQ(Conteudo("TCESESAGRESPATRIMONIO"), "5|1|P|SALDOATUAL(1)\n5|3|D|CREDITO(30)\n");
}

TEST_F(RegraGridTest, TheCompanyMustBeGivenAndExist) {
  auto g = nCriarObjeto<TUlmoDPTCESESagresReceita>();
  EXPECT_THROW(nExecutarProcesso(*g), EnParam);
  g->Param("pCodigoEmpresa").SetValue("7");
  try {
    nExecutarProcesso(*g);
    FAIL();
  } catch (const EnParam& e) {
    EXPECT_STREQ(e.what(), "Código da empresa inválido!");
  }
  EXPECT_THROW(g->Salvar(), Exception);  // never loaded
}
