#include "UlmoDMTCESistemaEmpresa_U.h"

#include <gtest/gtest.h>

#include "CadastrosTeste_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

const char* const kJaVinculada = "A empresa selecionada já está vinculada a outro sistema do TCE";

class SistemaEmpresaTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    Executar("insert into EMPRESA values (5, 'Cinco'), (6, 'Seis');");
    FReg = Abrir<TUlmoDMTCESistemaEmpresa>();
  }
  std::string Vincular(const char* aSistema, const char* aEmpresa) {
    return Incluir(*FReg, {{"CODIGOSISTEMATCE", aSistema}, {"CODIGOEMPRESA", aEmpresa}});
  }
  std::string Alterar(const char* aCampo, const char* aValor) {
    FReg->Abrir();
    FReg->nClientDataSet().Edit();
    Preencher(*FReg, {{aCampo, aValor}});
    return Gravar(*FReg);
  }
  std::unique_ptr<TUlmoDMTCESistemaEmpresa> FReg;
};

}  // namespace

TEST_F(SistemaEmpresaTest, ACompanyIsLinkedOnceWhetherByANewRowOrByEditingItsRow) {
  ASSERT_EQ(Vincular("1", "5"), "");
  EXPECT_EQ(Vincular("2", "5"), kJaVinculada);
  EXPECT_EQ(Alterar("CODIGOSISTEMATCE", "2"), kJaVinculada);
  EXPECT_EQ(Conteudo("TCESISTEMAEMPRESA"), "1|5\n");
  // The row of company 5 becomes company 6's, which has no link.
  EXPECT_EQ(Alterar("CODIGOEMPRESA", "6"), "");
  EXPECT_EQ(Conteudo("TCESISTEMAEMPRESA"), "1|6\n");
  // Changing the link: delete, then insert.
  FReg->Abrir();
  FReg->nClientDataSet().Delete();
  ASSERT_EQ(FReg->ApplyUpdates(0), 0);
  EXPECT_EQ(Vincular("2", "6"), "");
  EXPECT_EQ(Conteudo("TCESISTEMAEMPRESA"), "2|6\n");
}

TEST_F(SistemaEmpresaTest, TheSystemTheCompanyAndTheCompanyCodesRangeAreChecked) {
  EXPECT_EQ(Vincular("", "5"), "O campo \"Sistema TCE\" deve ser informado!");
  EXPECT_EQ(Vincular("1", "7"), "O valor do campo \"Empresa\" não está cadastrado: 7!");
  EXPECT_EQ(Vincular("1", "32768"), "Código da empresa inválido!");
  EXPECT_EQ(Conteudo("TCESISTEMAEMPRESA"), "");
}
