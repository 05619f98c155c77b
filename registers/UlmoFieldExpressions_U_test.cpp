#include "UlmoFieldExpressions_U.h"

#include <gtest/gtest.h>

#include "CadastrosTeste_U.h"
#include "Exceptions_U.h"
#include "FieldExpression_U.h"
#include "Utilitarios_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

// The functions as the registers' expressions reach them: by name, every argument as text.
TVariant Chamar(const char* aNome, const std::vector<std::string>& aArgs) {
  return FieldExpressionFunctions().Chamar(aNome, aArgs);
}

class FieldExpressionsTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    Executar(
        "insert into EMPRESA values (5, 'Cinco'), (6, 'Seis'), (7, 'Sete');"
        "insert into TCESISTEMAEMPRESA values (2, 5), (1, 6);"
        "insert into TCETIPOCONTACTB values (1, 1, 'Normal', '0'), (1, 2, 'Banco', '1');");
    SetLogDebugSink([this](const std::string& aLinha) { FLog.push_back(aLinha); });
  }
  void TearDown() override {
    SetLogDebugSink(nullptr);
    CadastrosTest::TearDown();
  }
  std::vector<std::string> FLog;
};

}  // namespace

TEST_F(FieldExpressionsTest, ValidarUfTCEComparesTheStateExactlyAndLogsTheCall) {
  EXPECT_TRUE(Chamar("VALIDARUFTCE", {"2", "PR"}).AsBoolean());
  EXPECT_FALSE(Chamar("VALIDARUFTCE", {"1", "PR"}).AsBoolean());
  EXPECT_FALSE(Chamar("VALIDARUFTCE", {"3", "PR"}).AsBoolean());  // "pr" is not "PR"
  EXPECT_FALSE(Chamar("VALIDARUFTCE", {"2", "pr"}).AsBoolean());
  EXPECT_FALSE(Chamar("VALIDARUFTCE", {"99", "PR"}).AsBoolean());
  EXPECT_EQ(FLog.front(), "VALIDARUFTCE(2,PR):True");
  EXPECT_EQ(FLog.size(), 5u);
}

TEST_F(FieldExpressionsTest, ValidarUfTCEWithoutASystemUsesTheActiveCompanysSystem) {
  SetExternalVar("gCodigoEmpresaAtiva", "5");
  EXPECT_TRUE(Chamar("VALIDARUFTCE", {"", "PR"}).AsBoolean());
  EXPECT_TRUE(Chamar("VALIDARUFTCE", {"0", "PR"}).AsBoolean());
  SetExternalVar("gCodigoEmpresaAtiva", "6");
  EXPECT_FALSE(Chamar("VALIDARUFTCE", {"0", "PR"}).AsBoolean());
  // An active company without a link has no state: only the empty state matches.
  SetExternalVar("gCodigoEmpresaAtiva", "7");
  EXPECT_FALSE(Chamar("VALIDARUFTCE", {"0", "PR"}).AsBoolean());
  EXPECT_TRUE(Chamar("VALIDARUFTCE", {"0", ""}).AsBoolean());
}

TEST_F(FieldExpressionsTest, EhContaTCEBancariaIsTrueOnlyForABankTypeOfThatSystem) {
  EXPECT_TRUE(Chamar("EHCONTATCEBANCARIA", {"1", "2"}).AsBoolean());
  EXPECT_FALSE(Chamar("EHCONTATCEBANCARIA", {"1", "1"}).AsBoolean());
  EXPECT_FALSE(Chamar("EHCONTATCEBANCARIA", {"2", "2"}).AsBoolean());
  EXPECT_FALSE(Chamar("EHCONTATCEBANCARIA", {"1", ""}).AsBoolean());
  Executar("insert into TCETIPOCONTACTB values (1, 0, 'Zero', '1');");
  EXPECT_TRUE(Chamar("EHCONTATCEBANCARIA", {"1", ""}).AsBoolean());  // an empty type reads as 0
  EXPECT_TRUE(FLog.empty());
}

TEST_F(FieldExpressionsTest, PegarSistemaTCEGivesTheLinkedSystemOrZero) {
  EXPECT_EQ(Chamar("PEGARSISTEMATCE", {"5"}).AsInteger(), 2);
  EXPECT_EQ(Chamar("PEGARSISTEMATCE", {"7"}).AsInteger(), 0);
  Executar("insert into TCESISTEMA values (0, 'Zero', 'SC', '9'); insert into TCESISTEMAEMPRESA values (0, 7);");
  EXPECT_EQ(Chamar("PEGARSISTEMATCE", {"7"}).AsInteger(), 0);
  EXPECT_EQ(FLog.front(), "PEGARSISTEMATCE(5):2");
}

// The company argument once went into the condition as typed, so any text reached the SQL.
TEST_F(FieldExpressionsTest, PegarSistemaTCEPutsOnlyACompanyCodeIntoItsQuery) {
  EXPECT_EQ(Chamar("PEGARSISTEMATCE", {"7 or 1 = 1"}).AsInteger(), 0);
  EXPECT_EQ(Chamar("PEGARSISTEMATCE", {"5); drop table TCESISTEMAEMPRESA; --"}).AsInteger(), 0);
  EXPECT_EQ(Conteudo("TCESISTEMAEMPRESA"), "1|6\n2|5\n");
  // Zero, below zero, empty or not a number: 0 without asking the database.
  SetConexao(nullptr);
  for (const char* empresa : {"0", "-5", "", "abc"}) EXPECT_EQ(Chamar("PEGARSISTEMATCE", {empresa}).AsInteger(), 0);
  EXPECT_THROW(Chamar("PEGARSISTEMATCE", {"5"}), std::exception);  // a real code does ask
}

TEST_F(FieldExpressionsTest, TheInstanceIsHeldByTheUtilitiesRegistryAndMadeAgainAfterRelease) {
  Chamar("PEGARSISTEMATCE", {"5"});
  size_t registrados = nUtilitariosRegistrados();
  ASSERT_GE(registrados, 1u);
  LiberarUtilitarios();
  EXPECT_EQ(nUtilitariosRegistrados(), 0u);
  EXPECT_EQ(Chamar("PEGARSISTEMATCE", {"5"}).AsInteger(), 2);
  EXPECT_EQ(nUtilitariosRegistrados(), 1u);
}
