#include "UlmoDMTipoContaCtb_U.h"

#include <gtest/gtest.h>

#include "CadastrosTeste_U.h"
#include "ClassRegistry_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

// A register that TCE-PR does not use, with the fields of a valid row other than the system.
struct TCasoPR {
  const char* Classe;
  const char* Tabela;
  TCampos Campos;
};

const TCasoPR kCasos[] = {
    {"TUlmoDMTipoContaCtb", "TCETIPOCONTACTB", {{"DESCRTIPOCONTATCE", "Banco"}, {"BANCARIA", "1"}}},
    {"TUlmoDMTipoContaCtbAreaTrabalho", "TCETIPOCONTACTB", {{"DESCRTIPOCONTATCE", "Banco"}, {"BANCARIA", "1"}}},
    {"TUlmoDMTipoMovimCtb", "TCETIPOMOVIMCTB", {{"DESCRTIPOMOVIM", "Aplicação"}}},
    {"TUlmoDMTipoMovimCtbAreaTrabalho", "TCETIPOMOVIMCTB", {{"DESCRTIPOMOVIM", "Aplicação"}}},
    {"TUlmoDMTCEOrigemLctoCtb", "TCEORIGEMLCTOCTB", {{"CODIGOORIGLCTOCTB", "AP"}, {"CODIGOTIPOMOVIMCTB", "1"}}},
    {"TUlmoDMTCEOrigemLctoCtbAreaTrabalho",
     "TCEORIGEMLCTOCTB",
     {{"CODIGOORIGLCTOCTB", "AP"}, {"CODIGOTIPOMOVIMCTB", "1"}}},
};

class RecusaPRTest : public CadastrosTest, public ::testing::WithParamInterface<TCasoPR> {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    // Movement type 1 exists in every system, so the origin's link holds under each.
    Executar(
        "insert into ORIGLCTOCTB values ('AP', 'Aplicação');"
        "insert into TCETIPOMOVIMCTB values (1, 1, 'Um'), (2, 1, 'Dois'), (3, 1, 'Três');");
  }
  std::string Salvar(const char* aSistema) {
    auto obj = nCriarInstancia(GetParam().Classe);
    auto& reg = dynamic_cast<TnDMClientDataSet&>(*obj);
    reg.Abrir();
    reg.nClientDataSet().Append();
    Preencher(reg, {{"CODIGOSISTEMATCE", aSistema}});
    Preencher(reg, GetParam().Campos);
    return Gravar(reg);
  }
};

}  // namespace

TEST_P(RecusaPRTest, ARowOfAPRSystemIsRefusedAndOfAnyOtherSaved) {
  auto linhas = [&](const char* aSistema) {
    return VarToStr(PegarValorCampo(GetParam().Tabela, "count(*)", std::string("CODIGOSISTEMATCE = ") + aSistema));
  };
  const std::string antes = Conteudo(GetParam().Tabela);
  EXPECT_EQ(Salvar("2"), "Esta rotina não é utilizada para o TCE/PR. Dados não gravados!");
  EXPECT_EQ(Conteudo(GetParam().Tabela), antes);
  const std::string antesSC = linhas("1"), antesPr = linhas("3");
  EXPECT_EQ(Salvar("1"), "");
  EXPECT_EQ(Salvar("3"), "");  // "pr" is not "PR"
  EXPECT_NE(linhas("1"), antesSC);
  EXPECT_NE(linhas("3"), antesPr);
}

INSTANTIATE_TEST_SUITE_P(CourtRegisters, RecusaPRTest, ::testing::ValuesIn(kCasos),
                         [](const auto& aInfo) { return std::string(aInfo.param.Classe); });

// Under PR nothing of these registers is ever saved: no other check may speak first, such as
// an origin's movement type that a PR system cannot have.
TEST_P(RecusaPRTest, UnderParanaThePRRefusalComesBeforeAnyOtherCheck) {
  auto obj = nCriarInstancia(GetParam().Classe);
  auto& reg = dynamic_cast<TnDMClientDataSet&>(*obj);
  reg.Abrir();
  reg.nClientDataSet().Append();
  Preencher(reg, {{"CODIGOSISTEMATCE", "2"}});
  EXPECT_EQ(Gravar(reg), "Esta rotina não é utilizada para o TCE/PR. Dados não gravados!");
  reg.nClientDataSet().Append();
  Preencher(reg, {{"CODIGOSISTEMATCE", "2"}});
  Preencher(reg, GetParam().Campos);
  if (reg.nClientDataSet().FindField("CODIGOTIPOMOVIMCTB")) Preencher(reg, {{"CODIGOTIPOMOVIMCTB", "7"}});
  EXPECT_EQ(Gravar(reg), "Esta rotina não é utilizada para o TCE/PR. Dados não gravados!");
}
