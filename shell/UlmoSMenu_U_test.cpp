#include "BancoVazioTeste_U.h"
#include "UlmoSMenu_U.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Nutil_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "UlmoJobCadastro_U.h"
#include "UlmoSSplash_U.h"

using namespace nFramework;

namespace {

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    ExecutarSQLDireto("insert into TCESISTEMA values (12, 'TCE/SC Municípios', 'SC', '9.9'), (12345, 'TCE/RS', 'RS', '9')");
  }
  void TearDown() override {
    SetConexao(nullptr);
    LimparExternalVars();
  }
  // The status bar after the menu's look is set up with that external variable.
  static TnStatusBar Barra(const char* aSistema, int aLargura = 800) {
    if (aSistema) SetExternalVar("gCodigoSistemaTCEAtiva", aSistema);
    TUlmoSMenu menu;
    menu.nStatusBar.SetWidth(aLargura);
    menu.ConfigurarVisualMenu();
    return menu.nStatusBar;
  }
  std::unique_ptr<TnDMConexao> FConexao;
};

}  // namespace

TEST_F(StatusBarTest, NoUsableSelectionAddsNoPanel) {
  for (const char* sistema : {static_cast<const char*>(nullptr), "", "abc", "0", "7"}) {
    SCOPED_TRACE(sistema ? sistema : "(unset)");
    TnStatusBar barra = Barra(sistema);
    EXPECT_EQ(barra.PanelCount(), 2);
    EXPECT_EQ(barra.Panels(1).Width, TnFrmMenuBrivo::LarguraPainel1);
  }
}

TEST_F(StatusBarTest, TheActiveSystemGetsAThirdPanelOfTheRemainingWidth) {
  TnStatusBar barra = Barra("12");
  ASSERT_EQ(barra.PanelCount(), 3);
  EXPECT_EQ(barra.Panels(2).Text, "0012 TCE/SC Municípios");
  EXPECT_EQ(barra.Panels(0).Width, 250);
  EXPECT_EQ(barra.Panels(1).Width, 400);
  EXPECT_EQ(barra.Panels(2).Width, 150);
  // A longer code keeps all its digits; half of an odd width is rounded down.
  barra = Barra("12345", 801);
  ASSERT_EQ(barra.PanelCount(), 3);
  EXPECT_EQ(barra.Panels(2).Text, "12345 TCE/RS");
  EXPECT_EQ(barra.Panels(1).Width, 400);
  EXPECT_EQ(barra.Panels(2).Width, 151);
}

TEST_F(StatusBarTest, ADeletedSystemShowsNoPanelAndNoError) {
  ExecutarSQLDireto("delete from TCESISTEMA where CODIGOSISTEMATCE = 12");
  EXPECT_EQ(Barra("12").PanelCount(), 2);
}

TEST(UlmoSMenu, TheFourButtonsComeAfterTheFrameworksOwnInOrder) {
  TUlmoSMenu menu;
  TnFrmMenuBrivo base;
  base.CriarBtnToolBar();
  menu.CriarBtnToolBar();
  const size_t proprios = base.ToolBar.size();
  ASSERT_GE(proprios, 1u);
  ASSERT_EQ(menu.ToolBar.size(), proprios + 4);
  struct TEsperado {
    const char *Classe, *Descricao;
    bool Flag;
    const char* Caption;
  };
  const TEsperado esperados[] = {
      {"TUlmoDMPlano", "Cadastro do Plano de Contas TCE", false, "Plano TCE"},
      {"TUlmoDMPlanoPlEspec", "Cadastro do Relacionamento de Contas", false, "Relacionamento"},
      {"TKaloDMPlanoEspec", "Cadastro do Plano de Contas Específico", false, "Plano Contas"},
      {TUlmoSMenu::ClasseAgendaTributaria, "Agenda Tributária", true, "Agenda Tributária"},
  };
  for (size_t i = 0; i < proprios; ++i) EXPECT_EQ(menu.ToolBar[i].Classe, base.ToolBar[i].Classe);
  for (size_t i = 0; i < 4; ++i) {
    const TnToolButton& b = menu.ToolBar[proprios + i];
    EXPECT_EQ(b.Classe, esperados[i].Classe);
    EXPECT_EQ(b.Descricao, esperados[i].Descricao);
    EXPECT_EQ(b.AbrirComoProcesso, esperados[i].Flag);
    EXPECT_EQ(b.Caption, esperados[i].Caption);
    EXPECT_EQ(b.Numero, 0);
  }
}

TEST(UlmoSMenu, TheFormsResourceAndTheSplash) {
  TUlmoSMenu menu;
  EXPECT_EQ(menu.Caption, "Tribunal de Contas do Estado - Brivo");
  EXPECT_EQ(menu.actTnDMSelecao->Caption, "Selecionar Sistema TCE");
  EXPECT_EQ(menu.actTnDMSelecao->Hint, "Selecionar Sistema TCE");
  EXPECT_EQ(menu.nActionList.FindAction("actTnDMSelecao"), menu.actTnDMSelecao);
  auto itens = TUlmoSSplash().GetListaSplashItens();
  EXPECT_EQ(itens.size(), 9u);
  EXPECT_TRUE(std::none_of(itens.begin(), itens.end(), [](const std::string& s) { return s.empty(); }));
}

TEST(UlmoJobCadastro, TheHookIsInstalledAndRunsAfterAConversionOnly) {
  ASSERT_TRUE(FDepoisConverter);
  EXPECT_EQ(FDepoisConverter.target<void (*)(void*)>() ? *FDepoisConverter.target<void (*)(void*)>() : nullptr,
            &TUlmoJobCadastro::DepoisConverter);
  auto banco = std::filesystem::temp_directory_path() / ("ulmo_job_" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(banco);
  nConfig().Banco = banco.string();
  int antes = TnInserirOuAtualizarJobCadastroPadrao::Execucoes();
  AbrirBanco(true);  // a new database
  EXPECT_EQ(TnInserirOuAtualizarJobCadastroPadrao::Execucoes(), antes + 1);
  FecharBanco();
  AbrirBanco();  // already converted: nothing to run
  EXPECT_EQ(TnInserirOuAtualizarJobCadastroPadrao::Execucoes(), antes + 1);
  FecharBanco();
  RestaurarConfiguracao();
  for (const char* ext : {"", "-wal", "-shm"}) std::filesystem::remove(banco.string() + ext);
}
