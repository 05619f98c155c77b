#include "ClassRegistry_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "FieldExpression_U.h"
#include "ModuleLoader_U.h"
#include "Utilitarios_U.h"

using namespace nFramework;

namespace {

std::vector<std::string>& Eventos() {
  static std::vector<std::string> eventos;
  return eventos;
}

class TRegDMCadastro : public TnDataModule {
  N_CLASSE(TRegDMCadastro)
 public:
  void DataModuleCreate() override { Eventos().push_back("create " + Contexto()); }
  void DataModuleDestroy() override { Eventos().push_back("destroy"); }
};

class TRegDMFilho : public TRegDMCadastro {
  N_CLASSE(TRegDMFilho)
};

// Registers for one test and leaves the registry as it found it.
struct TRegistrado {
  TnRegistroUnidade FUnidade{nClasse<TRegDMCadastro>(), nClasse<TRegDMFilho>()};
  TRegistrado() { Eventos().clear(); }
  ~TRegistrado() { DestruirTodosDM(); }
};

}  // namespace

TEST(ClassRegistry, ARepeatedRegistrationCountsAndTheClassLeavesWithTheLastRemoval) {
  nRegisterClass<TRegDMCadastro>();
  nRegisterClass<TRegDMCadastro>();
  auto nomes = nClassesRegistradas();
  EXPECT_EQ(std::count(nomes.begin(), nomes.end(), "TRegDMCadastro"), 1);
  nUnRegisterClass<TRegDMCadastro>();
  EXPECT_TRUE(nClasseRegistrada("TRegDMCadastro"));
  nUnRegisterClass<TRegDMCadastro>();
  EXPECT_FALSE(nClasseRegistrada("TRegDMCadastro"));
}

TEST(ClassRegistry, NamesMatchWithoutCaseAndWithoutTheLeadingT) {
  TRegistrado r;
  EXPECT_EQ(nNomeRegistrado("tregdmcadastro"), "TRegDMCadastro");
  EXPECT_EQ(nNomeRegistrado("RegDMFilho"), "TRegDMFilho");
  EXPECT_EQ(nNomeRegistrado("TNaoHa"), "");
  auto obj = nCriarInstancia("RegDMFilho");
  EXPECT_EQ(obj->ClassName(), "TRegDMFilho");
}

TEST(ClassRegistry, CriarDMGivesOneInstancePerNameAndContext) {
  TRegistrado r;
  TnDataModule* a = CriarDM("TRegDMCadastro", nullptr, "SaldoCtb");
  EXPECT_EQ(CriarDM("tregdmcadastro", nullptr, "saldoctb"), a);
  TnDataModule* b = CriarDM("TRegDMCadastro", nullptr, "TCE_PR");
  EXPECT_NE(a, b);
  EXPECT_EQ(Eventos(), (std::vector<std::string>{"create SaldoCtb", "create TCE_PR"}));
  DestruirDM("TRegDMCadastro", "SaldoCtb");
  EXPECT_EQ(Eventos().back(), "destroy");
  EXPECT_EQ(nInstanciasVivas(), 1u);
  EXPECT_NE(CriarDM("TRegDMCadastro", nullptr, "SaldoCtb"), nullptr);
  EXPECT_EQ(nInstanciasVivas(), 2u);
}

TEST(ClassRegistry, CriarDMNovoGivesANewInstanceEachTimeAndRefusesAnUnknownName) {
  TRegistrado r;
  TnDataModule* a = CriarDMNovo("TRegDMCadastro", nullptr);
  TnDataModule* b = CriarDMNovo("TRegDMCadastro", nullptr);
  EXPECT_NE(a, b);
  DestruirDMDefinitivo(a);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(nInstanciasVivas(), 1u);
  try {
    CriarDMNovo("TKaloDPGerarSaldoCtbIndividual", nullptr);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Classe não registrada: TKaloDPGerarSaldoCtbIndividual");
  }
}

TEST(ClassRegistry, AnInstanceOwnedOutsideRunsItsDestroyHandlerWhenFreed) {
  TRegistrado r;
  { auto obj = nCriarInstancia("TRegDMCadastro"); }
  EXPECT_EQ(Eventos(), (std::vector<std::string>{"create ", "destroy"}));
  EXPECT_FALSE(nComoClasse<TRegDMFilho>(nCriarInstancia("TRegDMCadastro")));
  EXPECT_EQ(Eventos().size(), 4u);
  EXPECT_EQ(Eventos().back(), "destroy");
  auto filho = nComoClasse<TRegDMCadastro>(nCriarInstancia("TRegDMFilho"));
  EXPECT_EQ(filho->ClassName(), "TRegDMFilho");
}

TEST(ClassRegistry, RemovingAClassFreesItsInstancesBeforeItsCodeCanLeave) {
  auto* unidade = new TnRegistroUnidade{nClasse<TRegDMCadastro>()};
  Eventos().clear();
  CriarDM("TRegDMCadastro", nullptr, "x");
  CriarDMNovo("TRegDMCadastro", nullptr);
  delete unidade;
  EXPECT_EQ(nInstanciasVivas(), 0u);
  EXPECT_EQ(std::count(Eventos().begin(), Eventos().end(), "destroy"), 2);
}

TEST(ClassRegistry, UtilitiesAreCreatedOnceAndFreedByTheFramework) {
  struct TUtil {
    ~TUtil() { Eventos().push_back("util freed"); }
  };
  static TUtil* instancia = nullptr;
  Eventos().clear();
  TUtil& a = CriarUtilitarios(instancia);
  EXPECT_EQ(&CriarUtilitarios(instancia), &a);
  EXPECT_EQ(nUtilitariosRegistrados(), 1u);
  LiberarUtilitarios();
  EXPECT_EQ(instancia, nullptr);
  EXPECT_EQ(Eventos(), std::vector<std::string>{"util freed"});
}

TEST(ModuleLoader, LoadingRegistersTheLibrarysClassesAndUnloadingRemovesThem) {
  {
    TnBibliotecas b;
    b.CarregarBiblioteca(ULMO_MODULO_REGISTRO);
    EXPECT_TRUE(nClasseRegistrada("TTesteDMUm"));
    EXPECT_EQ(nBibliotecaDaClasse("TTesteDMDois"), "ulmo_modulo_registro");
    EXPECT_TRUE(FieldExpressionFunctions().Existe("TESTEMODULO"));
    auto antes = nClassesRegistradas();
    // A second load runs no initialization again: nothing is registered twice.
    b.CarregarBiblioteca(ULMO_MODULO_REGISTRO);
    EXPECT_EQ(nClassesRegistradas(), antes);
    CriarDM("TTesteDMUm", nullptr, "");
    b.Descarregar();
    EXPECT_EQ(nInstanciasVivas(), 0u);
  }
  EXPECT_FALSE(nClasseRegistrada("TTesteDMUm"));
  EXPECT_FALSE(nClasseRegistrada("TTesteDMDois"));
  EXPECT_FALSE(FieldExpressionFunctions().Existe("TESTEMODULO"));
  // Opened again after closing, the library registers again.
  TnBibliotecas b;
  b.CarregarBiblioteca(ULMO_MODULO_REGISTRO);
  EXPECT_TRUE(nClasseRegistrada("TTesteDMUm"));
}

TEST(ModuleLoader, AMissingLibraryIsNamedInTheError) {
  TnBibliotecas b;
  try {
    b.Carregar({"UlmoNaoExiste"}, "/nao/ha");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("/nao/ha/libUlmoNaoExiste.so"), std::string::npos);
  }
  EXPECT_EQ(CaminhoBiblioteca("./x/libY.so", "/p"), "./x/libY.so");
}

TEST(DataModule, ComponentsAreFoundByNameWithoutRegardToCaseAndOfTheirType) {
  TnDataModule dm;
  TClientDataSet& conta = dm.AddClientDataSet("nClientDataSetConta");
  EXPECT_EQ(conta.Name, "nClientDataSetConta");
  EXPECT_EQ(dm.FindComponent<TClientDataSet>("NCLIENTDATASETCONTA"), &conta);
  EXPECT_EQ(dm.FindComponent<TClientDataSet>("nClientDataSetLcto"), nullptr);
  EXPECT_EQ(dm.FindComponent<std::string>("nClientDataSetConta"), nullptr);
  EXPECT_THROW(dm.ComponentByName<TClientDataSet>("nClientDataSetLcto"), EInternalError);
}

TEST(DataModule, TheRightsGeneratorOfAModuleRunsWhenInstalled) {
  TnActionList lista;
  EXPECT_FALSE(nGerarAcoesDireito(8, lista));
  FOnGerarPrincActionMods[8] = [](TnActionList& l) { l.CriarAction().Name = "actDireito"; };
  EXPECT_TRUE(nGerarAcoesDireito(8, lista));
  EXPECT_FALSE(nGerarAcoesDireito(1, lista));
  EXPECT_FALSE(nGerarAcoesDireito(192, lista));
  EXPECT_NE(lista.FindAction("ACTDIREITO"), nullptr);
  FOnGerarPrincActionMods[8] = nullptr;
}
