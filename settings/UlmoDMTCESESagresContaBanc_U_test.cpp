#include "UlmoDMTCESESagresContaBanc_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "SettingsTeste_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nSettingsTeste;

namespace {

class ContaBancTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    Executar(
        "insert into BANCO values (1, 'Banco Um'), (2, 'Banco Dois');"
        "insert into AGENCIA values (1, 100, 'Centro'), (2, 200, 'Norte');"
        "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values"
        " (5, 11, '1.1.1', 'Banco Um c/c', 2), (6, 12, '1.1.2', 'Outra empresa', 2);");
    FReg = nCriarObjeto<TUlmoDMTCESESagresContaBanc>();
    FReg->Abrir();
  }
  std::string Incluir(const char* aBanco, const char* aAgencia, const char* aConta, const char* aContaCtb) {
    TClientDataSet& d = FReg->nClientDataSet();
    d.Append();
    d.FieldByName("CODIGOEMPRESA").SetAsString("5");
    d.FieldByName("CODIGOBANCO").SetAsString(aBanco);
    d.FieldByName("NUMEROAGENCIA").SetAsString(aAgencia);
    d.FieldByName("NUMEROCONTA").SetAsString(aConta);
    d.FieldByName("CONTACTB").SetAsString(aContaCtb);
    return Gravar();
  }
  std::string Gravar() {
    try {
      FReg->nClientDataSet().Post();
    } catch (const std::exception& e) {
      FReg->nClientDataSet().Cancel();
      return e.what();
    }
    if (FReg->ApplyUpdates(0) > 0) return FReg->ErrosApplyUpdates().front();
    return "";
  }
  std::unique_ptr<TUlmoDMTCESESagresContaBanc> FReg;
};

}  // namespace

TEST_F(ContaBancTest, AnAccountIsStoredOnceAndItsKeyCannotChange) {
  ASSERT_EQ(Incluir("1", "100", "12345-6", "11"), "");
  EXPECT_NE(Incluir("1", "100", "12345-6", "11"), "");
  EXPECT_EQ(Conteudo("TCESESAGRESCONTABANC"), "5|1|100|12345-6|11\n");

  FReg->Abrir();
  TClientDataSet& d = FReg->nClientDataSet();
  d.Edit();
  d.FieldByName("NUMEROCONTA").SetAsString("99999-9");
  EXPECT_EQ(Gravar(), "A chave do registro não pode ser alterada (CODIGOEMPRESA;CODIGOBANCO;NUMEROAGENCIA;NUMEROCONTA)!");
  // The ledger account is not part of the key.
  FReg->Abrir();
  d.Edit();
  d.FieldByName("CONTACTB").SetAsString("11");
  EXPECT_EQ(Gravar(), "");
  EXPECT_EQ(Conteudo("TCESESAGRESCONTABANC"), "5|1|100|12345-6|11\n");
}

TEST_F(ContaBancTest, TheBranchMustBeTheBanksAndTheLedgerAccountTheCompanys) {
  EXPECT_NE(Incluir("1", "200", "1", "11"), "");  // branch 200 is bank 2's
  EXPECT_NE(Incluir("1", "100", "1", "12"), "");  // account 12 is company 6's
  EXPECT_EQ(Conteudo("TCESESAGRESCONTABANC"), "");
  EXPECT_EQ(Incluir("2", "200", "1", "11"), "");
}

TEST_F(ContaBancTest, ItsMenuActionOpensForTheSelectedCompanyOnlyInThisModule) {
  TnActionList lista;
  FReg->GerarPrincAction(lista, nullptr, TnPerModulos{1});
  EXPECT_EQ(lista.Count(), 0u);
  FReg->GerarPrincAction(lista, nullptr, TnPerModulos{8});
  ASSERT_EQ(lista.Count(), 1u);
  EXPECT_EQ(lista[0].Name, "actTUlmoDMTCESESagresContaBanc");
  EXPECT_EQ(lista[0].Category, "10 Cadastros\\70 TCE/SE");
  EXPECT_EQ(lista[0].Caption, "Contas Bancárias");
  EXPECT_EQ(lista[0].Ordem, 40);
  EXPECT_EQ(lista[0].VerificaSelecao, "CodigoEmpresa");
}

TEST_F(ContaBancTest, AnAccountNumberLongerThanItsFieldIsRefusedNotCut) {
  EXPECT_EQ(Incluir("1", "100", "12345678901234", "11"),
            "O campo \"Número da Conta\" aceita no máximo 13 caracteres; o valor informado tem 14!");
  EXPECT_EQ(Conteudo("TCESESAGRESCONTABANC"), "");
  EXPECT_EQ(Incluir("1", "100", "1234567890123", "11"), "");
  EXPECT_EQ(Conteudo("TCESESAGRESCONTABANC"), "5|1|100|1234567890123|11\n");
}
