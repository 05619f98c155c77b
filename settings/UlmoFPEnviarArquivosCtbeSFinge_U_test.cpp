#include "UlmoFPEnviarArquivosCtbeSFinge_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "UlmoFPConsultaSfingeOnlineDadosEnviados_U.h"

using namespace nFramework;
using namespace nUlmoSettings;

namespace {

// A send process as the form sees it: only its two grid datasets, by component name.
class TProcessoFalso : public TnDMPowerParam {
 public:
  explicit TProcessoFalso(bool aComLcto = true) {
    SetCaption("Enviar Arquivos Contábeis e-Sfinge Web - SC");
    TClientDataSet& conta = AddClientDataSet("nClientDataSetConta");
    conta.AddFieldDef("Enviar", TFieldType::ftInteger);
    conta.AddFieldDef("ContaTce", TFieldType::ftString, 20);
    conta.CreateDataSet();
    if (!aComLcto) return;
    TClientDataSet& lcto = AddClientDataSet("nClientDataSetLcto");
    lcto.AddFieldDef("Enviar", TFieldType::ftInteger);
    lcto.AddFieldDef("NumeroSlip", TFieldType::ftInteger);
    lcto.AddFieldDef("DataLancamento", TFieldType::ftDate);
    lcto.AddFieldDef("ValorLancamento", TFieldType::ftFloat);
    lcto.CreateDataSet();
  }
  std::string GetFormClass() const override { return "TUlmoFPEnviarArquivoCtbeSFinge"; }
};

class FormEsfingeTest : public ::testing::Test {
 protected:
  void SetUp() override { TnGerentecxGrid::LimparLayoutsSalvos(); }
  void TearDown() override { TnGerentecxGrid::LimparLayoutsSalvos(); }

  static std::vector<std::string> AbasVisiveis(TnFrmPowerParamcxGridCloseTab& aForm) {
    std::vector<std::string> r;
    for (const auto& view : aForm.Gerente().Views())
      if (view->LevelVisible) r.push_back(view->Caption);
    return r;
  }
};

TEST_F(FormEsfingeTest, TheFormIsFoundByItsProcessAndOffersItsActionOnThePanel) {
  TProcessoFalso processo;
  auto form = nCriarFormularioProcesso(processo);
  ASSERT_NE(dynamic_cast<TUlmoFPEnviarArquivoCtbeSFinge*>(form.get()), nullptr);
  EXPECT_EQ(form->FByteFlag, 1);
  EXPECT_EQ(&form->GetDMPower(), &processo);
  ASSERT_NE(processo.npqPowerParam.FindAction("actConfigurarCxGrid"), nullptr);
  // No tab until the action lays them out.
  EXPECT_TRUE(AbasVisiveis(*form).empty());
  // Configured again, the panel still lists the action once; the form gone, not at all.
  form->ConfigurarGerente();
  EXPECT_EQ(processo.npqPowerParam.Acoes().size(), 1u);
  form.reset();
  EXPECT_EQ(processo.npqPowerParam.FindAction("actConfigurarCxGrid"), nullptr);
}

TEST_F(FormEsfingeTest, LayoutRunTwiceLeavesExactlyTheTwoTabsVisible) {
  TProcessoFalso processo;
  auto form = nCriarFormularioProcesso(processo);
  ASSERT_TRUE(processo.ExecutarAcao("actConfigurarCxGrid"));
  form->Gerente().GetDetalhes("Conta Contábil").LevelVisible = false;
  ASSERT_TRUE(processo.ExecutarAcao("actConfigurarCxGrid"));

  EXPECT_EQ(form->Gerente().Views().size(), 2u);
  EXPECT_EQ(AbasVisiveis(*form), (std::vector<std::string>{"Conta Contábil", "Lançamento Contábil"}));
  TnViewcxGrid& conta = form->Gerente().GetDetalhes("Conta Contábil");
  EXPECT_EQ(conta.Name, "ContaContabil");
  EXPECT_EQ(conta.DataSet, &processo.ComponentByName<TClientDataSet>("nClientDataSetConta"));
  EXPECT_EQ(conta.DataSet->DisplayCaption, "Conta Contábil");
  EXPECT_EQ(form->Gerente().GetDetalhes("Lançamento Contábil").Name, "LancamentoContabil");
}

TEST_F(FormEsfingeTest, EntriesAreGroupedBySlipHiddenThenByDateExpanded) {
  TProcessoFalso processo;
  auto form = nCriarFormularioProcesso(processo);
  processo.ExecutarAcao("actConfigurarCxGrid");

  TnViewcxGrid& lcto = form->Gerente().GetDetalhes("Lançamento Contábil");
  EXPECT_EQ(lcto.ColunasAgrupadas(), (std::vector<std::string>{"NumeroSlip", "DataLancamento"}));
  EXPECT_FALSE(lcto.ViewGetColumnByFieldName("NumeroSlip")->Visible);
  EXPECT_TRUE(lcto.ViewGetColumnByFieldName("NumeroSlip")->AllowGroup);
  EXPECT_TRUE(lcto.ViewGetColumnByFieldName("DataLancamento")->Visible);
  EXPECT_TRUE(lcto.ViewGetColumnByFieldName("ValorLancamento")->Visible);
  EXPECT_EQ(lcto.ViewGetColumnByFieldName("ValorLancamento")->GroupIndex, -1);
  EXPECT_TRUE(lcto.Expandido);
  // The account tab is not grouped.
  EXPECT_TRUE(form->Gerente().GetDetalhes("Conta Contábil").ColunasAgrupadas().empty());
}

TEST_F(FormEsfingeTest, TheUsersSavedLayoutWinsOverTheDefault) {
  {
    TProcessoFalso processo;
    auto form = nCriarFormularioProcesso(processo);
    processo.ExecutarAcao("actConfigurarCxGrid");
    TnViewcxGrid& lcto = form->Gerente().GetDetalhes("Lançamento Contábil");
    lcto.ViewGetColumnByFieldName("NumeroSlip")->Visible = true;
    lcto.ViewGetColumnByFieldName("ValorLancamento")->Visible = false;
    form->Gerente().SalvarFormIniFile();
  }
  TProcessoFalso processo;
  auto form = nCriarFormularioProcesso(processo);
  processo.ExecutarAcao("actConfigurarCxGrid");
  TnViewcxGrid& lcto = form->Gerente().GetDetalhes("Lançamento Contábil");
  EXPECT_TRUE(lcto.ViewGetColumnByFieldName("NumeroSlip")->Visible);
  EXPECT_FALSE(lcto.ViewGetColumnByFieldName("ValorLancamento")->Visible);
  // The default stored before the user's layout is the form's own.
  form->Gerente().RestaurarPadrao();
  EXPECT_FALSE(lcto.ViewGetColumnByFieldName("NumeroSlip")->Visible);
  EXPECT_TRUE(lcto.ViewGetColumnByFieldName("ValorLancamento")->Visible);
}

TEST_F(FormEsfingeTest, AProcessLackingADatasetStopsTheLayoutAtThatTab) {
  TProcessoFalso processo(false);
  auto form = nCriarFormularioProcesso(processo);
  try {
    processo.ExecutarAcao("actConfigurarCxGrid");
    FAIL() << "layout without the entries' dataset";
  } catch (const EInternalError& e) {
    EXPECT_STREQ(e.what(), "Erro interno: Item não encontrado: nClientDataSetLcto");
  }
  // The account tab was laid out before the stop; no entry tab exists.
  EXPECT_EQ(AbasVisiveis(*form), std::vector<std::string>{"Conta Contábil"});
}

TEST_F(FormEsfingeTest, TheConsultationFormShowsTheProcessDataset) {
  class TConsultaFalsa : public TnDMPowerParam {
   public:
    TConsultaFalsa() {
      SetCaption("Consulta Arquivos Contábeis e-Sfinge Online");
      TClientDataSet& ds = AddClientDataSet("nClientDataSet");
      ds.AddFieldDef("Protocolo", TFieldType::ftString, 40);
      ds.CreateDataSet();
    }
    std::string GetFormClass() const override { return "TUlmoFPConsultaSfingeOnlineDadosEnviados"; }
  } processo;
  auto form = nCriarFormularioProcesso(processo);
  ASSERT_NE(dynamic_cast<TUlmoFPConsultaSfingeOnlineDadosEnviados*>(form.get()), nullptr);
  EXPECT_EQ(form->Caption, "Consulta Arquivos Contábeis e-Sfinge Online");
  EXPECT_EQ(AbasVisiveis(*form), std::vector<std::string>{"Consulta Arquivos Contábeis e-Sfinge Online"});
  ASSERT_NE(form->Gerente().Views()[0]->ViewGetColumnByFieldName("Protocolo"), nullptr);
}

}  // namespace

namespace {

TEST(FormEsfingeCloudTest, InTheCloudTheFormsOwnDataSourceIsDetached) {
  TProcessoFalso processo;
  processo.AddClientDataSet("nClientDataSet").AddFieldDef("X", TFieldType::ftInteger);
  nFramework::nConfig().Cloud = true;
  auto form = nCriarFormularioProcesso(processo);
  nFramework::nConfig().Cloud = false;
  EXPECT_EQ(form->DataSource, nullptr);
  auto local = nCriarFormularioProcesso(processo);
  EXPECT_EQ(local->DataSource, processo.FindComponent<TClientDataSet>("nClientDataSet"));
}

}  // namespace
