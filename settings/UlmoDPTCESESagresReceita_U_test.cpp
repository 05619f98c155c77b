// The three rule grids: revenue, expense and asset.
#include "UlmoDPTCESESagresReceita_U.h"

#include <gtest/gtest.h>

#include "CelulaTeste_U.h"
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
  // The cell's button, as a grid presses it.
  TField& regra = d.FieldByName("RegraCalculo");
  ASSERT_TRUE(regra.OnButtonClick);
  regra.OnButtonClick(regra);
  EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(d.FieldByName("RegraCalculo").AsString(), "MOVIMENTO(7)");
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 1);
}

// The editor's text went into the field as it came: past the field's size the grid kept only
// its first characters, another rule than the one the editor had checked.
TEST_F(RegraGridTest, ARuleFromTheEditorLongerThanTheFieldWasCut) {
  auto g = Carregar<TUlmoDPTCESESagresReceita>();
  TClientDataSet& d = g->curDados;
  ASSERT_TRUE(d.Locate("TipoReceita", {3}));
  std::string longa = "1";
  while (longa.size() < 1001) longa += "+1";
  TnDMRegraBaseCalculo::SetEditorFormula([&](const std::string&) { return longa; });
  try {
    g->curDadosRegraCalculoDefIntButtonClick();
    FAIL() << "aceita";
  } catch (const EnCampoGrid& e) {
    EXPECT_STREQ(e.what(), "A regra passa de 1000 caracteres.");
  }
  EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(d.FieldByName("RegraCalculo").IsNull());
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 0);
}

// The editor shows the company's balances, those of the year of its latest entry; a company
// the balance cannot serve still edits, told why there are none.
TEST_F(RegraGridTest, TheEditorIsHandedTheCompanysBalancesOrWhyThereAreNone) {
  Executar("insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA)"
           " values (5, 40, '4.1', 'Receita de Água', 2);");
  auto g = Carregar<TUlmoDPTCESESagresReceita>();
  std::string descricao;
  bool tinha = true;
  Currency credito = Currency::FromInt(-1);
  TnDMRegraBaseCalculo::SetEditorFormula([&](const std::string& f, const TnDMRegraBaseCalculo& r) {
    descricao = r.DescricaoPlano();
    tinha = r.TemPlano();
    credito = tinha ? r.ExecutarFormulaCTB("CREDITO(40)") : Currency::FromInt(-1);
    return f;
  });
  // The nature of group 4 is not configured: no balances.
  g->curDadosRegraCalculoDefIntButtonClick();
  EXPECT_FALSE(tinha);
  EXPECT_EQ(descricao.rfind("Saldos indisponíveis: ", 0), 0u) << descricao;

  Executar("insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO4) values (5, -1);"
           "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBCRED, VALORLCTOCTB)"
           " values (5, 1, 1, '2022-11-30', 40, 25), (5, 2, 1, '2023-03-10', 40, 100);");
  g->curDadosRegraCalculoDefIntButtonClick();
  EXPECT_TRUE(tinha);
  EXPECT_EQ(descricao, "Saldos de 01/01/2023 a 31/03/2023");
  EXPECT_EQ(credito, Currency::FromInt(100));
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

TEST_F(RegraGridTest, ARuleIsCheckedWhenTypedAsTheSaveChecksIt) {
  auto g = Carregar<TUlmoDPTCESagresDespesa>();
  TClientDataSet& d = g->curDados;
  EXPECT_EQ(g->DataSetsGrade(), std::vector<std::string>{"curDados"});
  EXPECT_EQ(d.CamposChave, "Descricao");
  EXPECT_EQ(d.CampoEstilo, "Alterado");
  EXPECT_EQ(d.EstiloDestaque, "fonte-verde");
  EXPECT_EQ(d.FieldByName("Descricao").DisplayLabel, "Despesa");
  ASSERT_TRUE(d.Locate("TipoDespesa", {12}));
  try {
    DigitarCelula(d, "RegraCalculo", "SALDOATUAL(10) +");
    FAIL() << "an invalid rule was taken";
  } catch (const EnCampoGrid& e) {
    EXPECT_STREQ(e.what(), "Regra definida é inválida.");
    EXPECT_EQ(e.Campo(), "RegraCalculo");
  }
  EXPECT_TRUE(d.FieldByName("RegraCalculo").IsNull());
  EXPECT_FALSE(g->Alterado());
  // The grid would keep the first 1000 characters only: another rule than the one checked.
  std::string longa = "SALDOATUAL(10)";
  while (longa.size() <= 1000) longa += " + SALDOATUAL(10)";
  EXPECT_THROW(DigitarCelula(d, "RegraCalculo", longa), EnCampoGrid);
  EXPECT_THROW(DigitarCelula(d, "Descricao", "12 - Outra"), Exception);
  EXPECT_THROW(DigitarCelula(d, "TipoDespesa", "13"), Exception);

  DigitarCelula(d, "RegraCalculo", "debito(3) - credito(4)");
  EXPECT_EQ(d.FieldByName("Alterado").AsInteger(), 1);
  DigitarCelula(d, "RegraCalculo", "");  // no rule
  EXPECT_EQ(d.FieldByName("RegraCalculo").AsString(), "");
}

TEST_F(RegraGridTest, ASaveWithNothingChangedWarnsAndWritesNothing) {
  // A stored rule the grid does not show, and one the formula engine refuses: a save would
  // drop the first and stop at the second.
  Executar("insert into TCESESAGRESRECEITA values (5, 50, 'SALDOATUAL(1)'), (5, 6, 'CREDITO(31');");
  const std::string antes = Conteudo("TCESESAGRESRECEITA");
  auto g = Carregar<TUlmoDPTCESESagresReceita>();
  g->GetMsgTreeLista()->Clear();
  ASSERT_TRUE(g->ExecutarAcao("actSalvar"));
  EXPECT_EQ(Conteudo("TCESESAGRESRECEITA"), antes);
  ASSERT_EQ(g->GetMsgTreeLista()->Raizes().size(), 1u);
  EXPECT_EQ(g->GetMsgTreeLista()->Raizes()[0]->Tipo, tmAviso);
  EXPECT_EQ(g->GetMsgTreeLista()->Raizes()[0]->Texto, "Nenhuma alteração para gravar.");
  EXPECT_FALSE(g->GetMsgTreeLista()->Falhou());
}

TEST_F(RegraGridTest, TheAssetGridIsNamedByTypeAndKind) {
  auto g = Carregar<TUlmoDPTCESagresPatrimonio>();
  TClientDataSet& d = g->curDados;
  EXPECT_EQ(d.CamposChave, "DescrTipoPatrimonio;DescrTipoLancamento");
  EXPECT_EQ(d.DisplayCaption, "Patrimônio");
  for (const char* campo : {"TipoPatrimonio", "TipoLancamento", "Alterado"}) {
    EXPECT_FALSE(d.FieldByName(campo).Visible) << campo;
    EXPECT_TRUE(d.FieldByName(campo).ReadOnly) << campo;
  }
  ASSERT_TRUE(d.Locate("TipoPatrimonio;TipoLancamento", {5, "D"}));
  EXPECT_THROW(DigitarCelula(d, "RegraCalculo", "SALDOATUAL("), EnCampoGrid);
  DigitarCelula(d, "RegraCalculo", "SALDOATUAL(7)");
  g->Salvar();
  EXPECT_EQ(Conteudo("TCESESAGRESPATRIMONIO"), "5|5|D|SALDOATUAL(7)\n");
}
