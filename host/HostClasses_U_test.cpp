// The sibling modules' registers, lookups and processes as the court module reaches them: by
// name through the class registry.
#include <gtest/gtest.h>

#include "BancoTeste_U.h"
#include "ClassRegistry_U.h"
#include "ControleMensagem_U.h"
#include "DMClientDataSet_U.h"
#include "Demo_U.h"
#include "Dicionario_U.h"
#include "IrnCadastros_U.h"
#include "KaloDPAreaTrabalhoTCE_U.h"
#include "PeskPermissoes_U.h"
#include "PowerParam_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

class HostClassesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FBanco = new TBancoTeste("classes");
    GerarDemo();
  }
  static void TearDownTestSuite() {
    delete FBanco;
    FBanco = nullptr;
  }
  void SetUp() override { SetConexao(&FBanco->Conexao()); }
  static TBancoTeste* FBanco;

  static TnDMPtr<TnDMClientDataSet> Cadastro(const char* nome) {
    auto r = nComoClasse<TnDMClientDataSet>(nCriarInstancia(nome));
    if (!r) throw Exception(std::string(nome) + " não é um cadastro");
    r->Abrir();
    return r;
  }
  static std::string Recusa(TnDMClientDataSet& r) {
    try {
      r.nClientDataSet().Post();
    } catch (const Exception& e) {
      r.nClientDataSet().Cancel();
      return e.what();
    }
    return "";
  }
};
TBancoTeste* HostClassesTest::FBanco = nullptr;

// A work-area action of the court module and a main one, as its libraries contribute them.
class TTesteDMAreaTrabalho : public TnDataModule {
  N_CLASSE(TTesteDMAreaTrabalho)
 public:
  void GerarPrincAction(TnActionList& aLista, TNotifyEvent, const TnPerModulos& aModulos) override {
    if (aModulos.Contem(1)) {
      TnAction& a = aLista.CriarAction();
      a.Name = "actTTesteDMAreaTrabalho";
      a.Caption = "Sistema";
      a.Category = "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)\\10 Cadastros";
      a.Ordem = 10;
      a.SetClasseContainer("TKaloDPAreaTrabalhoTCE", "");
    }
    if (aModulos.Contem(8)) {
      TnAction& b = aLista.CriarAction();
      b.Name = "actTTesteDMPrincipal";
      b.Caption = "Sistema";
      b.Category = "10 Cadastros";
      b.SetControlaDireito(false);
    }
  }
};

}  // namespace

TEST_F(HostClassesTest, TheCourtModuleFindsEveryClassByTheNameItUses) {
  for (const char* nome : {"TKaloDPGerarSaldoCtbIndividual", "TKaloDPAreaTrabalhoTCE", "TKaloDMPlanoEspec",
                           "TKaloDCPlanoEspec", "KaloDCOrigemLctoCtb", "TirnDMEmpresa", "TirnDCEmpresa", "TirnDCEstab",
                           "TirnDCBanco", "TirnDCAgencia", "TirnDCCFOP", "TirnDCEstado", "TirnDPAgendaTributaria"})
    EXPECT_TRUE(nClasseRegistrada(nome)) << nome;
  // The dictionary's lookups are classes that exist.
  for (const auto& e : Dicionario().Entradas()) {
    if (e.ClasseLookup.empty() || e.ClasseLookup.rfind("TUlmo", 0) == 0) continue;  // the court module's own
    EXPECT_TRUE(nClasseRegistrada(e.ClasseLookup)) << e.Nome << ": " << e.ClasseLookup;
  }
  EXPECT_EQ(Dicionario().Encontrar("SIGLAESTADO")->ClasseLookup, "TirnDCEstado");
}

TEST_F(HostClassesTest, LookupsListTheHostRowsWithTheFieldsTheirUsersName) {
  auto empresas = Cadastro("TirnDCEmpresa");
  EXPECT_EQ(empresas->PegarTipoObjeto(), 2);
  EXPECT_EQ(empresas->nClientDataSet().RecordCount(), 4);
  EXPECT_NE(empresas->nClientDataSet().FindField("NomeEmpresa"), nullptr);
  auto origens = Cadastro("KaloDCOrigemLctoCtb");
  ASSERT_TRUE(origens->nClientDataSet().Locate("CodigoOrigLctoCtb", {"ZZ"}));
  EXPECT_EQ(origens->nClientDataSet().FieldByName("DESCRORIGLCTOCTB").AsString(), "Encerramento do Exercício");
  EXPECT_EQ(Cadastro("TirnDCEstado")->nClientDataSet().RecordCount(), 27);
  EXPECT_GE(Cadastro("TirnDCBanco")->nClientDataSet().RecordCount(), 5);
  EXPECT_EQ(Cadastro("TirnDCAgencia")->nClientDataSet().RecordCount(), 12);
  EXPECT_EQ(Cadastro("TirnDCEstab")->nClientDataSet().RecordCount(), 4);
  EXPECT_EQ(Cadastro("TirnDCCFOP")->nClientDataSet().RecordCount(), 36);
  auto plano = Cadastro("TKaloDCPlanoEspec");
  EXPECT_TRUE(plano->nClientDataSet().Locate("CodigoEmpresa;ContaCtb", {1, 8}));
  EXPECT_EQ(plano->nClientDataSet().FieldByName("DescrConta").AsString(), "Banco do Brasil S.A. - Conta Movimento");
}

TEST_F(HostClassesTest, AnUnknownCompanyIsAnInvalidCode) {
  EXPECT_EQ(TirnDCEmpresa::NomeEmpresa(3), "Companhia de Serviços Urbanos de Ponta Grossa S.A.");
  try {
    TirnDCEmpresa::NomeEmpresa(9);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Código da empresa inválido!");
  }
  auto r = Cadastro("TirnDMEmpresa");
  TClientDataSet& d = r->nClientDataSet();
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsInteger(40000);
  d.FieldByName("NOMEEMPRESA").SetAsString("Grande Demais S.A.");
  EXPECT_EQ(Recusa(*r), "Código da empresa inválido!");
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsInteger(1);
  d.FieldByName("NOMEEMPRESA").SetAsString("Repetida S.A.");
  EXPECT_NE(Recusa(*r), "");
  // The chart register refuses an account of a company that does not exist.
  auto plano = Cadastro("TKaloDMPlanoEspec");
  TClientDataSet& p = plano->nClientDataSet();
  p.Append();
  p.FieldByName("CODIGOEMPRESA").SetAsInteger(9);
  p.FieldByName("CONTACTB").SetAsInteger(1);
  p.FieldByName("CLASSIFCONTA").SetAsString("1");
  p.FieldByName("DESCRCONTA").SetAsString("ATIVO");
  EXPECT_NE(Recusa(*plano).find("não está cadastrado"), std::string::npos);
}

TEST_F(HostClassesTest, TheCourtWorkAreaHeadsAndListsTheActionsThatNameIt) {
  TnRegistroUnidade registro{nClasse<TTesteDMAreaTrabalho>()};
  TnActionList contabil;
  nGerarPrincActions(contabil, TNotifyEvent(), TnPerModulos{1});
  TnAction* area = contabil.FindAction("actTKaloDPAreaTrabalhoTCE");
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->Category, "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)");
  auto acoes = TKaloDPAreaTrabalhoTCE::AcoesDaArea(contabil);
  ASSERT_EQ(acoes.size(), 1u);
  EXPECT_EQ(acoes[0]->Name, "actTTesteDMAreaTrabalho");
  TnActionList modulo;
  nGerarPrincActions(modulo, TNotifyEvent(), TnPerModulos{8});
  EXPECT_EQ(modulo.FindAction("actTKaloDPAreaTrabalhoTCE"), nullptr);

  auto p = nComoClasse<TnDMPowerParam>(nCriarInstancia("TKaloDPAreaTrabalhoTCE"));
  nExecutarProcesso(*p);
  const auto& raizes = p->GetMsgTreeLista()->Raizes();
  ASSERT_EQ(raizes.size(), 1u);
  EXPECT_EQ(raizes[0]->Texto, "10 Cadastros");
  ASSERT_EQ(raizes[0]->Filhos.size(), 1u);
  EXPECT_EQ(raizes[0]->Filhos[0]->Texto, "10  Sistema  (actTTesteDMAreaTrabalho)");
}

TEST_F(HostClassesTest, RightsAreRecordedForTheActionsThatControlThem) {
  TPeskPermissoes::LimparDireitos();
  TnRegistroUnidade registro{nClasse<TTesteDMAreaTrabalho>()};
  TnActionList lista;
  nGerarPrincActions(lista, TNotifyEvent(), TnPerModulos{1, 8});
  TPeskPermissoes::PeskDoGerarPrincAction(lista);
  TPeskPermissoes::PeskDoGerarPrincAction(lista);  // again: recorded once
  std::vector<std::string> nomes;
  for (const auto& d : TPeskPermissoes::Direitos()) nomes.push_back(d.Acao);
  EXPECT_NE(std::find(nomes.begin(), nomes.end(), "actTTesteDMAreaTrabalho"), nomes.end());
  EXPECT_EQ(std::find(nomes.begin(), nomes.end(), "actTTesteDMPrincipal"), nomes.end());
  EXPECT_EQ(std::count(nomes.begin(), nomes.end(), "actTTesteDMAreaTrabalho"), 1);
  TPeskPermissoes::LimparDireitos();
}

TEST_F(HostClassesTest, TheTaxCalendarReportsWhatItWouldOpen) {
  auto p = nComoClasse<TnDMPowerParam>(nCriarInstancia("TirnDPAgendaTributaria"));
  p->Param("pCodigoEmpresa").SetValue("2");
  p->Param("pCompetencia").SetValue("03/2024");
  nExecutarProcesso(*p);
  const auto& raizes = p->GetMsgTreeLista()->Raizes();
  ASSERT_EQ(raizes.size(), 1u);
  EXPECT_NE(raizes[0]->Texto.find("empresa 2 - Companhia de Habitação e Obras de Caxias do Sul S.A."), std::string::npos);
  EXPECT_NE(raizes[0]->Texto.find("competência 03/2024"), std::string::npos);
  p->Param("pCodigoEmpresa").SetValue("8");
  EXPECT_THROW(nExecutarProcesso(*p), Exception);
}
