#include "UlmoMenuRegra_U.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ClassRegistry_U.h"

using namespace nFramework;
using namespace nUlmoMenu;

namespace {

// A stand-in for the module class of a row: its name, its own selection keys (or the
// base's) and the override every module class writes.
class TStandIn : public TnDataModule {
 public:
  explicit TStandIn(const TLinhaMenu& aLinha) : FLinha(aLinha) {}
  std::string_view ClassName() const override { return FLinha.Classe; }
  std::string PegarVerificaSelecao() const override {
    return FLinha.Selecao ? std::string(*FLinha.Selecao) : TnDataModule::PegarVerificaSelecao();
  }
  void GerarPrincAction(TnActionList& aList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos) override {
    if (FLinha.Tipo != tlSemAcao) nUlmoMenu::GerarPrincAction(*this, aList, aOnExecute, aModulos);
  }

 private:
  const TLinhaMenu& FLinha;
};

// All 51 classes registered, as the four libraries will register them.
class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& l : LinhasMenu) nRegisterClass(l.Classe, [&l] { return std::make_unique<TStandIn>(l); });
  }
  void TearDown() override {
    for (const auto& l : LinhasMenu) nUnRegisterClass(l.Classe);
  }
  static std::set<std::string> Nomes(const TnPerModulos& aModulos) {
    TnActionList lista;
    nGerarPrincActions(lista, nullptr, aModulos);
    std::set<std::string> r;
    for (const auto& a : lista) r.insert(a->Name);
    EXPECT_EQ(r.size(), lista.Count()) << "action names must be unique";
    return r;
  }
  static std::set<std::string> Acoes(std::initializer_list<const char*> aClasses) {
    std::set<std::string> r;
    for (const char* c : aClasses) r.insert(std::string("act") + c);
    return r;
  }
  static TnAction& Acao(TnActionList& aLista, std::string_view aClasse) {
    TnAction* a = aLista.FindAction("act" + std::string(aClasse));
    if (!a) throw EInternalError("sem ação " + std::string(aClasse));
    return *a;
  }
};

const std::set<std::string> kLookupsDe1 = {
    "actTUlmoDCSistema", "actTUlmoDCPlano", "actTUlmoDCTipoContaCtb", "actTUlmoDCTipoMovimCtb",
    "actTUlmoDCTCEOrigemLctoCtb", "actTUlmoDCPatBemTipoCategoriaBem", "actTUlmoDCPatBemTipoDetalhamentoBem",
    "actTUlmoDCTCESistemaEmpresa"};

}  // namespace

TEST(MenuTabela, HoldsThe51RegisteredClassesOnce) {
  std::set<std::string_view> nomes;
  int principais = 0, area = 0, sem = 0;
  for (const auto& l : LinhasMenu) {
    EXPECT_TRUE(nomes.insert(l.Classe).second) << l.Classe;
    EXPECT_TRUE(std::string_view("ABCD").find(l.Biblioteca) != std::string_view::npos) << l.Classe;
    principais += l.Tipo == tlPrincipal;
    area += l.Tipo == tlAreaTrabalho;
    sem += l.Tipo == tlSemAcao;
    if (l.Tipo == tlAreaTrabalho) {
      EXPECT_TRUE(l.Classe.ends_with("AreaTrabalho") || l.Classe == "TUlmoDMTCESistemaEmpresa") << l.Classe;
    }
  }
  EXPECT_EQ(principais, 30);
  EXPECT_EQ(area, 15);
  EXPECT_EQ(sem, 6);
}

TEST_F(MenuTest, OnlyModule8GivesEveryMainActionButTheCompanyLinkLookup) {
  std::set<std::string> esperadas;
  for (const auto& l : LinhasMenu)
    if (l.Tipo == tlPrincipal && l.Classe != "TUlmoDCTCESistemaEmpresa") esperadas.insert("act" + std::string(l.Classe));
  EXPECT_EQ(esperadas.size(), 29u);
  EXPECT_EQ(Nomes({8}), esperadas);
}

TEST_F(MenuTest, OnlyModule1GivesTheWorkAreaAndTheLookupsOf1) {
  std::set<std::string> esperadas = kLookupsDe1;
  for (const auto& l : LinhasMenu)
    if (l.Tipo == tlAreaTrabalho) esperadas.insert("act" + std::string(l.Classe));
  EXPECT_EQ(esperadas.size(), 23u);
  std::set<std::string> obtidas = Nomes({1});
  EXPECT_EQ(obtidas, esperadas);
  // The lookup of the chart mapping is offered only for module 8, unlike the other lookups.
  EXPECT_EQ(obtidas.count("actTUlmoDCPlanoPlEspec"), 0u);
  EXPECT_EQ(Nomes({8}).count("actTUlmoDCPlanoPlEspec"), 1u);
}

TEST_F(MenuTest, BothModulesGiveEveryActionAndNoModuleGivesNone) {
  EXPECT_EQ(Nomes({1, 8}).size(), 45u);
  EXPECT_TRUE(Nomes({}).empty());
  EXPECT_TRUE(Nomes({0, 2, 191}).empty());
  EXPECT_EQ(Nomes({1, 8, 100}), Nomes({1, 8}));
}

TEST_F(MenuTest, EveryRowsValuesReachItsAction) {
  TnActionList lista;
  int chamadas = 0;
  nGerarPrincActions(lista, [&](void*) { ++chamadas; }, {1, 8});
  const TnAction padrao(nullptr);
  for (const auto& l : LinhasMenu) {
    SCOPED_TRACE(std::string(l.Classe));
    TnAction* a = lista.FindAction("act" + std::string(l.Classe));
    if (l.Tipo == tlSemAcao) {
      EXPECT_EQ(a, nullptr);
      continue;
    }
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->ActionList(), &lista);
    EXPECT_EQ(a->Caption, l.Caption);
    EXPECT_EQ(a->Ordem, l.Ordem.value_or(padrao.Ordem));
    EXPECT_EQ(a->ImageIndex, l.Imagem.value_or(padrao.ImageIndex));
    EXPECT_EQ(a->VerificaSelecao, l.Selecao ? std::string(*l.Selecao) : "");
    EXPECT_EQ(a->Flag1, l.Flag1.value_or(padrao.Flag1));
    EXPECT_EQ(a->ControlaDireito(), l.ControlaDireito.value_or(padrao.ControlaDireito()));
    if (l.Tipo == tlAreaTrabalho) {
      EXPECT_EQ(a->Category, "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)\\" + std::string(l.Categoria));
      EXPECT_FALSE(a->Flag2);
      EXPECT_TRUE(a->AreaTrabalho);
      EXPECT_EQ(a->ClasseContainer, "TKaloDPAreaTrabalhoTCE");
    } else {
      EXPECT_EQ(a->Category, l.Categoria);
      EXPECT_EQ(a->Flag2, l.Flag2.value_or(padrao.Flag2));
      EXPECT_EQ(a->AreaTrabalho, l.AreaTrabalho.value_or(padrao.AreaTrabalho));
      EXPECT_EQ(a->ClasseContainer, "");
    }
    a->Execute();
  }
  EXPECT_EQ(chamadas, 45);
}

TEST_F(MenuTest, RowsReadAsThePartWritesThem) {
  TnActionList lista;
  nGerarPrincActions(lista, nullptr, {1, 8});
  TnAction& consulta = Acao(lista, "TUlmoDPConsultaSfingeOnlineDadosEnviados");
  EXPECT_EQ(consulta.Category, "20 Consultas");
  EXPECT_EQ(consulta.Caption, "Consulta Arquivos Contábeis e-Sfinge Online");
  EXPECT_EQ(consulta.Ordem, 20);
  EXPECT_EQ(consulta.ImageIndex, 398);
  EXPECT_EQ(consulta.VerificaSelecao, "CODIGOSISTEMATCE;CODIGOEMPRESA");
  EXPECT_TRUE(consulta.Flag1 && consulta.Flag2 && consulta.AreaTrabalho);
  EXPECT_FALSE(consulta.ControlaDireito());
  TnAction& mapeamento = Acao(lista, "TUlmoDMPlanoPlEspec");
  EXPECT_EQ(mapeamento.ImageIndex, 108);
  EXPECT_EQ(mapeamento.VerificaSelecao, "CodigoSistemaTCE;CodigoEmpresa");
  EXPECT_FALSE(mapeamento.AreaTrabalho);
  TnAction& bens = Acao(lista, "TUlmoDPRelacionarBens");
  EXPECT_EQ(bens.Category, "10 Cadastros\\80 TCE/PR");
  EXPECT_TRUE(bens.ControlaDireito());
  EXPECT_EQ(Acao(lista, "TUlmoDPGerarArquivosCtbSagresWebSE").Caption, "Gerar Arquivos Contábeis Sagres Web - SE");
  EXPECT_TRUE(Acao(lista, "TUlmoDPGerarArquivosCtbPR").Flag1);
  EXPECT_EQ(Acao(lista, "TUlmoDPTCESagresPatrimonio").Category, "10 Cadastros\\70 TCE/SE");
  EXPECT_EQ(Acao(lista, "TUlmoDCPatBemTipoCategoriaBem").Category, "");
  TnAction& empresa = Acao(lista, "TUlmoDMTCESistemaEmpresa");
  EXPECT_EQ(empresa.Category, "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)\\10 Cadastros");
  EXPECT_EQ(empresa.Ordem, 70);
  EXPECT_EQ(Acao(lista, "TUlmoDMPlanoPlEspecAreaTrabalho").Caption, "Planos de Contas Específico TCE");
  EXPECT_EQ(Acao(lista, "TUlmoDMTipoMovimCtbAreaTrabalho").Caption, "Tipo Movimentos Contábil");
  EXPECT_EQ(Acao(lista, "TUlmoDPRelacionarPlanoPlEspecAreaTrabalho").Ordem, 90);
  EXPECT_EQ(Acao(lista, "TUlmoDCSistema").Ordem, TnAction(nullptr).Ordem);
  EXPECT_EQ(Acao(lista, "TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho").Category,
            "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)\\30 Arquivos");
}

TEST_F(MenuTest, ASubclassOverrideOfTheSelectionCounts) {
  struct TVariante : TStandIn {
    using TStandIn::TStandIn;
    std::string PegarVerificaSelecao() const override { return "CodigoEmpresa"; }
  };
  TnActionList lista;
  TVariante v(*EncontrarLinha("TUlmoDMPlano"));
  v.GerarPrincAction(lista, nullptr, {8});
  EXPECT_EQ(lista[0].VerificaSelecao, "CodigoEmpresa");
}

TEST_F(MenuTest, AClassWithoutARowOrWithoutAnActionMustNotCallTheRule) {
  TnActionList lista;
  TStandIn forma(*EncontrarLinha("TUlmoFPEnviarArquivoCtbeSFinge"));
  EXPECT_THROW(nUlmoMenu::GerarPrincAction(forma, lista, nullptr, {1, 8}), EInternalError);
  struct TSemLinha : TnDataModule {
    std::string_view ClassName() const override { return "TUlmoDMNaoTabelado"; }
  } sem;
  EXPECT_THROW(nUlmoMenu::GerarPrincAction(sem, lista, nullptr, {8}), EInternalError);
  EXPECT_EQ(lista.Count(), 0u);
  EXPECT_EQ(EncontrarLinha("tulmodmsistema"), &LinhasMenu[0]);
}
