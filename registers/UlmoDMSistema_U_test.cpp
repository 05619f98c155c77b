#include "UlmoDMSistema_U.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "CadastrosTeste_U.h"
#include "ClassRegistry_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

// The registers and lookups of this library's court registers, with their work-area variants.
const std::vector<std::string> kClasses = {
    "TUlmoDMSistema", "TUlmoDMSistemaAreaTrabalho", "TUlmoDCSistema", "TUlmoDMPlano", "TUlmoDMPlanoAreaTrabalho",
    "TUlmoDCPlano", "TUlmoDMTipoContaCtb", "TUlmoDMTipoContaCtbAreaTrabalho", "TUlmoDCTipoContaCtb",
    "TUlmoDMTipoMovimCtb", "TUlmoDMTipoMovimCtbAreaTrabalho", "TUlmoDCTipoMovimCtb", "TUlmoDMPlanoPlEspec",
    "TUlmoDMPlanoPlEspecAreaTrabalho", "TUlmoDCPlanoPlEspec", "TUlmoDMTCESistemaEmpresa", "TUlmoDCTCESistemaEmpresa",
    "TUlmoDMTCEOrigemLctoCtb", "TUlmoDMTCEOrigemLctoCtbAreaTrabalho", "TUlmoDCTCEOrigemLctoCtb",
    "TUlmoDMPatBemTipoCategoriaBem", "TUlmoDCPatBemTipoCategoriaBem", "TUlmoDMPatBemTipoDetalhamentoBem",
    "TUlmoDCPatBemTipoDetalhamentoBem"};

// The names of the actions these classes contribute for a module set.
std::set<std::string> Acoes(std::initializer_list<int> aModulos) {
  TnPerModulos modulos;
  for (int m : aModulos) modulos.Incluir(m);
  TnActionList lista;
  nGerarPrincActions(lista, nullptr, modulos);
  std::set<std::string> r;
  for (const auto& a : lista)
    if (std::find(kClasses.begin(), kClasses.end(), a->Name.substr(3)) != kClasses.end()) r.insert(a->Name);
  return r;
}

std::set<std::string> Nomes(std::initializer_list<const char*> aClasses) {
  std::set<std::string> r;
  for (const char* c : aClasses) r.insert(std::string("act") + c);
  return r;
}

}  // namespace

TEST(CourtRegisters, EachIsRegisteredByNameTheRegisterBeforeItsWorkAreaVariant) {
  std::vector<std::string> registradas = nClassesRegistradas();
  auto posicao = [&](const std::string& c) { return std::find(registradas.begin(), registradas.end(), c); };
  for (const auto& c : kClasses) {
    ASSERT_NE(posicao(c), registradas.end()) << c;
    auto obj = nCriarInstancia(c);
    auto* reg = dynamic_cast<TnDMClientDataSet*>(obj.get());
    ASSERT_NE(reg, nullptr) << c;
    EXPECT_EQ(reg->PegarTipoObjeto(), c.starts_with("TUlmoDC") ? 2 : 1) << c;
    EXPECT_FALSE(reg->BooleanoBase()) << c;
    const std::string sufixo = "AreaTrabalho";
    if (c.size() > sufixo.size() && c.ends_with(sufixo)) {
      EXPECT_LT(posicao(c.substr(0, c.size() - sufixo.size())), posicao(c)) << c;
      // The chart mapping's variant keeps the register's form.
      EXPECT_EQ(reg->TipoForm(), c == "TUlmoDMPlanoPlEspecAreaTrabalho" ? ntfCadastro : ntfAreaTrabalho) << c;
    }
  }
}

TEST(CourtRegisters, Module8GetsTheRegistersAndLookupsAndModule1TheWorkAreaAndTheCompanyLink) {
  EXPECT_EQ(Acoes({8}),
            Nomes({"TUlmoDMSistema", "TUlmoDCSistema", "TUlmoDMPlano", "TUlmoDCPlano", "TUlmoDMTipoContaCtb",
                   "TUlmoDCTipoContaCtb", "TUlmoDMTipoMovimCtb", "TUlmoDCTipoMovimCtb", "TUlmoDMPlanoPlEspec",
                   "TUlmoDCPlanoPlEspec", "TUlmoDMTCEOrigemLctoCtb", "TUlmoDCTCEOrigemLctoCtb",
                   "TUlmoDMPatBemTipoCategoriaBem", "TUlmoDCPatBemTipoCategoriaBem", "TUlmoDMPatBemTipoDetalhamentoBem",
                   "TUlmoDCPatBemTipoDetalhamentoBem"}));
  EXPECT_EQ(Acoes({1}),
            Nomes({"TUlmoDMSistemaAreaTrabalho", "TUlmoDMPlanoAreaTrabalho", "TUlmoDMTipoContaCtbAreaTrabalho",
                   "TUlmoDMTipoMovimCtbAreaTrabalho", "TUlmoDMPlanoPlEspecAreaTrabalho",
                   "TUlmoDMTCEOrigemLctoCtbAreaTrabalho", "TUlmoDMTCESistemaEmpresa", "TUlmoDCTCESistemaEmpresa",
                   "TUlmoDCSistema", "TUlmoDCPlano", "TUlmoDCTipoContaCtb", "TUlmoDCTipoMovimCtb",
                   "TUlmoDCTCEOrigemLctoCtb", "TUlmoDCPatBemTipoCategoriaBem", "TUlmoDCPatBemTipoDetalhamentoBem"}));
  EXPECT_TRUE(Acoes({}).empty());
}

TEST(CourtRegisters, AWorkAreaVariantAsksForNoSelectionExceptTheChartMappingsCompany) {
  for (const char* c : {"TUlmoDMPlanoAreaTrabalho", "TUlmoDMTipoContaCtbAreaTrabalho",
                        "TUlmoDMTipoMovimCtbAreaTrabalho", "TUlmoDMTCEOrigemLctoCtbAreaTrabalho"})
    EXPECT_EQ(nCriarInstancia(c)->PegarVerificaSelecao(), "") << c;
  EXPECT_EQ(nCriarInstancia("TUlmoDMPlano")->PegarVerificaSelecao(), "CodigoSistemaTCE");
  EXPECT_EQ(nCriarInstancia("TUlmoDMPlanoPlEspecAreaTrabalho")->PegarVerificaSelecao(), "CodigoEmpresa");
}

class SistemaTest : public CadastrosTest {};

TEST_F(SistemaTest, TheWorkAreaShowsTheSystemsFiveDetailsInOrderEachFilteredBySystem) {
  Executar(
      "insert into EMPRESA values (5, 'Cinco'); insert into TCESISTEMAEMPRESA values (1, 5);"
      "insert into TCETIPOMOVIMCTB values (1, 1, 'Movimento'), (2, 1, 'Outro');");
  auto mestre = Abrir<TUlmoDMSistemaAreaTrabalho>();
  EXPECT_EQ(mestre->nClientDataSet().RecordCount(), 3);
  std::vector<std::string> vistos;
  for (const auto& d : mestre->Detalhes()) {
    vistos.push_back(d.Classe + "/" + d.Caption);
    EXPECT_EQ(d.CampoMestre, "CODIGOSISTEMATCE");
    EXPECT_EQ(d.CampoDetalhe, "CODIGOSISTEMATCE");
    auto obj = nCriarInstancia(d.Classe);
    auto& detalhe = dynamic_cast<TnDMClientDataSet&>(*obj);
    detalhe.FetchRegistros(d.CampoDetalhe + " = 1");
    for (auto& ds = detalhe.nClientDataSet(); !ds.Eof(); ds.Next())
      EXPECT_EQ(ds.FieldByName("CODIGOSISTEMATCE").AsInteger(), 1) << d.Classe;
  }
  EXPECT_EQ(vistos, (std::vector<std::string>{"TUlmoDMPlanoAreaTrabalho/Plano de Contas",
                                              "TUlmoDMTipoContaCtbAreaTrabalho/Tipo Contas",
                                              "TUlmoDMTipoMovimCtbAreaTrabalho/Tipo Movimento",
                                              "TUlmoDMTCEOrigemLctoCtbAreaTrabalho/Origem",
                                              "TUlmoDMTCESistemaEmpresa/Cadastro Empresa"}));
  EXPECT_TRUE(nCriarObjeto<TUlmoDMSistema>()->Detalhes().empty());
}

TEST_F(SistemaTest, ASystemNeedsAKnownStateAndACodeInRangeAndIsProposedTheNextCode) {
  auto r = Abrir<TUlmoDMSistema>();
  const std::string antes = Conteudo("TCESISTEMA");
  EXPECT_EQ(Incluir(*r, {{"DESCRSISTEMATCE", "TCE/XX"}, {"SIGLAESTADO", "XX"}, {"MASCPLANOTCE", "9"}}),
            "O valor do campo \"Estado\" não está cadastrado: XX!");
  EXPECT_EQ(Incluir(*r, {{"CODIGOSISTEMATCE", "10000"}, {"DESCRSISTEMATCE", "TCE/RS"}, {"SIGLAESTADO", "RS"},
                         {"MASCPLANOTCE", "9"}}),
            "Código do sistema inválido!");
  EXPECT_EQ(Conteudo("TCESISTEMA"), antes);
  EXPECT_EQ(Incluir(*r, {{"DESCRSISTEMATCE", "TCE/RS"}, {"SIGLAESTADO", "RS"}, {"MASCPLANOTCE", "9"}}), "");
  EXPECT_EQ(VarToStr(PegarValorCampo("TCESISTEMA", "DESCRSISTEMATCE", "CODIGOSISTEMATCE = 4")), "TCE/RS");
}
