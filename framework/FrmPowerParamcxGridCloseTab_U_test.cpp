#include "FrmPowerParamcxGridCloseTab_U.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"

using namespace nFramework;

namespace {

TEST(ConvertCaptionEmNomeTest, KeepsLettersAndDigitsWithoutAccents) {
  EXPECT_EQ(ConvertCaptionEmNome("Lançamento Contábil", 0), "LancamentoContabil");
  EXPECT_EQ(ConvertCaptionEmNome("Ações (2024) - Índice nº 1", 0), "Acoes2024Indicen1");
  EXPECT_EQ(ConvertCaptionEmNome("Conta Contábil", 5), "Conta");
  EXPECT_EQ(ConvertCaptionEmNome("€ —", 0), "");
}

class TProcessoSemForm : public TnDMPowerParam {};
class TProcessoComDM : public TnDMPowerParam {
 public:
  std::string GetFormClass() const override { return "TnDMPowerParam"; }
};

TEST(CriarFormularioProcessoTest, RefusesAProcessWithoutAGridForm) {
  TProcessoSemForm semForm;
  EXPECT_THROW(nCriarFormularioProcesso(semForm), EInternalError);
  nRegisterClass<TnDMPowerParam>();
  TProcessoComDM comDM;
  EXPECT_THROW(nCriarFormularioProcesso(comDM), EInternalError);
  nUnRegisterClass<TnDMPowerParam>();
}

TEST(GerentecxGridTest, ViewsAreFoundByNameTheLastOneWinning) {
  TClientDataSet a, b;
  a.AddFieldDef("X", TFieldType::ftInteger);
  a.CreateDataSet();
  TnGerentecxGrid gerente("TFormTeste");
  gerente.CriarTabSheetBanded("Aba", a);
  gerente.ConfigurarGridFields(false, true);
  gerente.CriarTabSheetBanded("Aba", b);
  EXPECT_EQ(gerente.FindView("ABA")->DataSet, &b);
  EXPECT_EQ(gerente.FindView("Outra"), nullptr);
  EXPECT_THROW(gerente.GetDetalhes("Outra"), EInternalError);
  ASSERT_EQ(gerente.Views()[0]->Columns.size(), 1u);
  EXPECT_FALSE(gerente.Views()[0]->Columns[0].Visible);
  EXPECT_TRUE(gerente.Views()[0]->Columns[0].AllowGroup);
}

// A view of three columns A, B, C under a manager of the form "TFormTeste".
struct TGradeTeste {
  TClientDataSet dados;
  TnGerentecxGrid gerente{"TFormTeste"};
  explicit TGradeTeste(std::initializer_list<const char*> aCampos = {"A", "B", "C"}) {
    for (const char* c : aCampos) dados.AddFieldDef(c, TFieldType::ftInteger);
    dados.CreateDataSet();
    gerente.CriarTabSheetBanded("Aba", dados);
    gerente.ConfigurarGridFields(true, false);
  }
  TnViewcxGrid& View() { return *gerente.Views()[0]; }
  std::string Ordem() {
    std::string r;
    for (const auto& c : View().Columns) r += c.FieldName;
    return r;
  }
};

class LayoutUsuarioTest : public ::testing::Test {
 protected:
  void SetUp() override { TnGerentecxGrid::LimparLayoutsSalvos(); }
  void TearDown() override {
    SetArmazenamentoLayout(nullptr);
    TnGerentecxGrid::LimparLayoutsSalvos();
  }
};

TEST_F(LayoutUsuarioTest, OrderWidthAndGroupingComeBackOverTheDefault) {
  {
    TGradeTeste g;
    g.gerente.StoreAsDefaultConfig();
    TnViewcxGrid& v = g.View();
    std::swap(v.Columns[0], v.Columns[2]);  // C B A
    v.ViewGetColumnByFieldName("B")->Width = 187;
    v.ViewGetColumnByFieldName("A")->GroupIndex = 0;
    v.ViewGetColumnByFieldName("A")->Visible = false;
    g.gerente.SalvarFormIniFile();
  }
  TGradeTeste g;
  g.gerente.StoreAsDefaultConfig();
  g.gerente.RestoreFormIniFile();
  EXPECT_EQ(g.Ordem(), "CBA");
  EXPECT_EQ(g.View().ViewGetColumnByFieldName("B")->Width, 187);
  EXPECT_EQ(g.View().ColunasAgrupadas(), std::vector<std::string>{"A"});
  EXPECT_FALSE(g.View().ViewGetColumnByFieldName("A")->Visible);
  g.gerente.RestaurarPadrao();
  EXPECT_EQ(g.Ordem(), "ABC");
  EXPECT_EQ(g.View().ViewGetColumnByFieldName("B")->Width, 0);
  EXPECT_TRUE(g.View().ColunasAgrupadas().empty());
}

TEST_F(LayoutUsuarioTest, AFieldAddedSinceTheSaveKeepsItsPlaceAfterItsNeighbour) {
  {
    TGradeTeste g;
    std::reverse(g.View().Columns.begin(), g.View().Columns.end());  // C B A
    g.gerente.SalvarFormIniFile();
  }
  TGradeTeste g({"A", "N", "B", "C"});
  g.gerente.RestoreFormIniFile();
  EXPECT_EQ(g.Ordem(), "CBAN");
  TGradeTeste primeiro({"X", "A", "B", "C"});
  primeiro.gerente.RestoreFormIniFile();
  EXPECT_EQ(primeiro.Ordem(), "XCBA");
}

TEST_F(LayoutUsuarioTest, TheInstalledStorageIsKeyedByFormAndView) {
  struct TArmazenamento : IArmazenamentoLayout {
    std::map<std::string, std::string> textos;
    std::optional<std::string> Ler(const std::string& aForm, const std::string& aView) override {
      auto it = textos.find(aForm + "/" + aView);
      if (it == textos.end()) return std::nullopt;
      return it->second;
    }
    void Gravar(const std::string& aForm, const std::string& aView, const std::string& aTexto) override {
      textos[aForm + "/" + aView] = aTexto;
    }
  } armazenamento;
  SetArmazenamentoLayout(&armazenamento);
  {
    TGradeTeste g;
    g.View().ViewGetColumnByFieldName("C")->Width = 90;
    g.gerente.SalvarFormIniFile();
  }
  ASSERT_EQ(armazenamento.textos.size(), 1u);
  EXPECT_EQ(armazenamento.textos.begin()->first, "TFormTeste/Aba");
  // The in-memory storage of the command line was not written.
  SetArmazenamentoLayout(nullptr);
  TGradeTeste semHook;
  semHook.gerente.RestoreFormIniFile();
  EXPECT_EQ(semHook.View().ViewGetColumnByFieldName("C")->Width, 0);
  SetArmazenamentoLayout(&armazenamento);
  TGradeTeste comHook;
  comHook.gerente.RestoreFormIniFile();
  EXPECT_EQ(comHook.View().ViewGetColumnByFieldName("C")->Width, 90);
}

TEST_F(LayoutUsuarioTest, AStoredTextThatIsNoLayoutLeavesTheDefault) {
  TnGerentecxGrid::TLayoutView v{"Aba", false, {{"A", false, 1, true, 55}, {"B", true, -1, false, 0}}};
  auto lido = TnGerentecxGrid::LerTextoLayout(TnGerentecxGrid::TextoLayout(v));
  ASSERT_TRUE(lido);
  EXPECT_FALSE(lido->LevelVisible);
  ASSERT_EQ(lido->Columns.size(), 2u);
  EXPECT_EQ(lido->Columns[0].FieldName, "A");
  EXPECT_EQ(lido->Columns[0].GroupIndex, 1);
  EXPECT_EQ(lido->Columns[0].Width, 55);
  EXPECT_TRUE(lido->Columns[0].AllowGroup);
  EXPECT_FALSE(lido->Columns[0].Visible);
  for (const char* ruim : {"", "coluna\tA\t1\t-1\t0\t0\n", "layout\t2\n", "layout\t1\ncoluna\tA\t1\t-1\t0\n",
                           "layout\t1\ncoluna\tA\t1\t-1\t0\t99999\n", "layout\t1\ncoluna\tA\tx\t-1\t0\t0\n",
                           "layout\t1\noutra\n"})
    EXPECT_FALSE(TnGerentecxGrid::LerTextoLayout(ruim)) << ruim;
  EXPECT_FALSE(TnGerentecxGrid::LerTextoLayout(std::string(70000, 'x')));

  ArmazenamentoLayout().Gravar("TFormTeste", "Aba", "layout\t1\ncoluna\tA\t0\t-1\t0\tlargo\n");
  TGradeTeste g;
  g.gerente.RestoreFormIniFile();
  EXPECT_TRUE(g.View().ViewGetColumnByFieldName("A")->Visible);
}

}  // namespace
