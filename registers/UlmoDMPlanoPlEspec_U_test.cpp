#include "UlmoDMPlanoPlEspec_U.h"

#include <gtest/gtest.h>

#include "CadastrosTeste_U.h"
#include "UlmoDCPlanoPlEspec_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

const char* const kSomentePR =
    "Opção selecionada para o campo Superávit Financeiro válida apenas para o estado do Paraná, favor selecionar outra: "
    "Nenhum, Financeiro, Patrimonial, Mista/Híbrida";
const char* const kOpcoesPR =
    "Para o estado do Paraná, selecionar uma das opções válidas para o campo Superávit Financeiro: Financeiro - \"F\", "
    "Permanente – \"P\", Permanente – \"P\" – Dívida Fundada ou Outros.";

// Company 1 reports to SC (system 1), company 2 to PR (system 2), company 3 to none; each has
// the accounts 10 (synthetic) and 12 (analytic); system 1 has a plain and a bank account type.
class PlanoPlEspecTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    Executar(
        "insert into EMPRESA values (1, 'Um'), (2, 'Dois'), (3, 'Três');"
        "insert into TCESISTEMAEMPRESA values (1, 1), (2, 2);"
        "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values"
        " (1, 10, '1', 'ATIVO', 1), (1, 12, '1.1.1', 'CAIXA', 2), (2, 10, '1', 'ATIVO', 1),"
        " (2, 12, '1.1.1', 'CAIXA', 2), (3, 12, '1.1.1', 'CAIXA', 2);"
        "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values"
        " (1, 111, 2, '1.1.1', 'Caixa'), (2, 111, 2, '1.1.1', 'Caixa');"
        "insert into TCETIPOCONTACTB values (1, 1, 'Normal', '0'), (1, 2, 'Bancária', '1');"
        "insert into BANCO values (1, 'Banco'); insert into AGENCIA values (1, 123, 'Centro');");
  }
  // A mapping of account 12 of the company, plus the given fields.
  static TCampos Mapeamento(const char* aEmpresa, const char* aSistema, TCampos aMais) {
    TCampos campos{{"CODIGOEMPRESA", aEmpresa}, {"CONTACTB", "12"},          {"DATAINICIOPLANO", "2024-01-01"},
                   {"DATAFIMPLANO", "2024-12-31"}, {"CODIGOSISTEMATCE", aSistema}, {"CONTATCE", "111"},
                   {"TIPONATURSALDO", "1"}};
    campos.insert(campos.end(), aMais.begin(), aMais.end());
    return campos;
  }
};

}  // namespace

TEST_F(PlanoPlEspecTest, TheSurplusTypeMustBelongToTheStateOfTheSystem) {
  auto r = Abrir<TUlmoDMPlanoPlEspec>();
  EXPECT_EQ(Incluir(*r, Mapeamento("2", "2", {{"TIPOSUPERAVITFINANC", "F"}, {"IDENTIFIPATQUALITATIVA", "99"}})),
            kOpcoesPR);
  EXPECT_EQ(Incluir(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "3"}, {"CODIGOTIPOCONTATCE", "1"}})), kSomentePR);
  EXPECT_EQ(Conteudo("TCEPLANOPLESPEC"), "");
  EXPECT_EQ(Incluir(*r, Mapeamento("2", "2", {{"TIPOSUPERAVITFINANC", "1"}, {"IDENTIFIPATQUALITATIVA", "99"}})), "");
  EXPECT_EQ(Incluir(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "X"}, {"CODIGOTIPOCONTATCE", "1"}})), "");
  EXPECT_EQ(VarToStr(PegarValorCampo("TCEPLANOPLESPEC", "count(*)", "1 = 1")), "2");
}

TEST_F(PlanoPlEspecTest, PRNeedsThePatrimonialIdentifierAndTheOthersAnAccountTypeEachLosingTheOthersColumns) {
  auto r = Abrir<TUlmoDMPlanoPlEspec>();
  EXPECT_EQ(Incluir(*r, Mapeamento("2", "2", {{"TIPOSUPERAVITFINANC", "9"}})),
            "O campo \"Identificador da Variação Patrimonial Qualitativa\" deve ser informado!");
  EXPECT_EQ(Incluir(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "N"}})),
            "O campo \"Tipo Conta TCE\" deve ser informado!");
  ASSERT_EQ(Incluir(*r, Mapeamento("2", "2", {{"TIPOSUPERAVITFINANC", "9"}, {"IDENTIFIPATQUALITATIVA", "4"},
                                              {"APLICFINANCEIRA", "1"}})),
            "");
  ASSERT_EQ(Incluir(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "N"}, {"CODIGOTIPOCONTATCE", "1"},
                                              {"IDENTIFIPATQUALITATIVA", "4"}, {"APLICFINANCEIRA", "1"}})),
            "");
  auto d = ExecutarSQL(
      "select CODIGOEMPRESA, APLICFINANCEIRA, IDENTIFIPATQUALITATIVA from TCEPLANOPLESPEC order by CODIGOEMPRESA");
  EXPECT_EQ(d->FieldByName("APLICFINANCEIRA").AsString() + "/" + d->FieldByName("IDENTIFIPATQUALITATIVA").AsString(),
            "1/");
  d->Next();
  EXPECT_EQ(d->FieldByName("APLICFINANCEIRA").AsString() + "/" + d->FieldByName("IDENTIFIPATQUALITATIVA").AsString(),
            "/4");
}

TEST_F(PlanoPlEspecTest, ABankAccountTypeMakesTheBankColumnsRequiredAsSoonAsItIsChosen) {
  auto r = Abrir<TUlmoDMPlanoPlEspec>();
  TClientDataSet& d = r->nClientDataSet();
  d.Append();
  Preencher(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "N"}}));
  const char* banco[] = {"CODIGOBANCO", "NUMEROAGENCIA", "NUMEROCONTA"};
  d.FieldByName("CODIGOTIPOCONTATCE").SetAsInteger(2);
  for (const char* c : banco) EXPECT_TRUE(d.FieldByName(c).Required) << c;
  d.FieldByName("CODIGOTIPOCONTATCE").SetAsInteger(1);
  for (const char* c : banco) EXPECT_FALSE(d.FieldByName(c).Required) << c;
  d.FieldByName("CODIGOTIPOCONTATCE").SetAsInteger(2);
  EXPECT_EQ(Gravar(*r), "O campo \"Banco\" deve ser informado!");
  d.Append();
  Preencher(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "N"}, {"CODIGOTIPOCONTATCE", "2"},
                                      {"CODIGOBANCO", "1"}, {"NUMEROAGENCIA", "124"}, {"NUMEROCONTA", "55"}}));
  EXPECT_EQ(Gravar(*r), "O valor do campo \"Agência\" não está cadastrado: 124!");
  d.Append();
  Preencher(*r, Mapeamento("1", "1", {{"TIPOSUPERAVITFINANC", "N"}, {"CODIGOTIPOCONTATCE", "2"},
                                      {"CODIGOBANCO", "1"}, {"NUMEROAGENCIA", "123"}, {"NUMEROCONTA", "55"}}));
  EXPECT_EQ(Gravar(*r), "");
}

TEST_F(PlanoPlEspecTest, TheRegisterKeepsTheChosenSystemAndTheWorkAreaFollowsTheCompanysLink) {
  // In the register the user picks the system, even another than the company's.
  auto r = Abrir<TUlmoDMPlanoPlEspec>();
  EXPECT_EQ(Incluir(*r, Mapeamento("2", "1", {{"TIPOSUPERAVITFINANC", "N"}, {"CODIGOTIPOCONTATCE", "1"}})), "");
  EXPECT_EQ(VarToStr(PegarValorCampo("TCEPLANOPLESPEC", "CODIGOSISTEMATCE", "CODIGOEMPRESA = 2")), "1");
  // In the work area the company's system is forced, whatever was typed.
  auto a = Abrir<TUlmoDMPlanoPlEspecAreaTrabalho>();
  EXPECT_EQ(Incluir(*a, Mapeamento("1", "2", {{"TIPOSUPERAVITFINANC", "N"}, {"CODIGOTIPOCONTATCE", "1"}})), "");
  EXPECT_EQ(VarToStr(PegarValorCampo("TCEPLANOPLESPEC", "CODIGOSISTEMATCE", "CODIGOEMPRESA = 1")), "1");
  // A company without a link gets system 0, which does not exist.
  EXPECT_EQ(Incluir(*a, Mapeamento("3", "1", {{"TIPOSUPERAVITFINANC", "N"}, {"CODIGOTIPOCONTATCE", "1"}})),
            "O valor do campo \"Sistema TCE\" não está cadastrado: 0!");
}

TEST_F(PlanoPlEspecTest, TheLookupShowsClassificationKindAndDescription) {
  Executar(
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE,"
      " TIPONATURSALDO, TIPOSUPERAVITFINANC) values (1, 12, '2024-01-01', '2024-12-31', 1, 111, 1, 'N'),"
      " (1, 10, '2024-01-01', '2024-12-31', 1, 111, 1, 'N');");
  auto c = Abrir<TUlmoDCPlanoPlEspec>();
  TClientDataSet& d = c->nClientDataSet();
  ASSERT_EQ(d.RecordCount(), 2);
  EXPECT_EQ(d.FieldByName("DESCRCONTA").AsString(), "1     ATIVO");
  d.Next();
  EXPECT_EQ(d.FieldByName("DESCRCONTA").AsString(), "1.1.1  .  CAIXA");
  EXPECT_EQ(d.FieldByName("DESCRCONTA").DisplayLabel, "Classificação / Descrição");
}

TEST_F(PlanoPlEspecTest, BankDataOnAParanaMappingIsRefusedNotStored) {
  auto r = Abrir<TUlmoDMPlanoPlEspec>();
  const TCampos pr{{"TIPOSUPERAVITFINANC", "9"}, {"IDENTIFIPATQUALITATIVA", "4"}};
  auto comBanco = [&](TCampos aBanco) {
    TCampos campos = pr;
    campos.insert(campos.end(), aBanco.begin(), aBanco.end());
    return Mapeamento("2", "2", campos);
  };
  EXPECT_EQ(Incluir(*r, comBanco({{"CODIGOBANCO", "1"}, {"NUMEROAGENCIA", "123"}, {"NUMEROCONTA", "55"}})),
            "O campo \"Banco\" está desabilitado neste registro e deve ficar em branco!");
  EXPECT_EQ(Incluir(*r, comBanco({{"NUMEROCONTA", "55"}})),
            "O campo \"Número da Conta\" está desabilitado neste registro e deve ficar em branco!");
  EXPECT_EQ(Incluir(*r, comBanco({{"CODIGOTIPOCONTATCE", "1"}})),
            "O campo \"Tipo Conta TCE\" está desabilitado neste registro e deve ficar em branco!");
  EXPECT_EQ(Conteudo("TCEPLANOPLESPEC"), "");
  ASSERT_EQ(Incluir(*r, Mapeamento("2", "2", pr)), "");
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  d.Edit();
  d.FieldByName("NUMEROAGENCIA").SetAsInteger(123);
  EXPECT_EQ(Gravar(*r), "O campo \"Agência\" está desabilitado neste registro e deve ficar em branco!");
  EXPECT_TRUE(PegarValorCampo("TCEPLANOPLESPEC", "NUMEROAGENCIA", "CODIGOEMPRESA = 2").IsNull());
}
