#include "UlmoDPRelacionarPlanoPlEspec_U.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "CadastrosTeste_U.h"
#include "CelulaTeste_U.h"
#include "Demo_U.h"
#include "Encoding_U.h"
#include "TestFolder_U.h"
#include "Dialogo_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

// Answers the deletion's confirmation with "Sim" and remembers the question.
struct TDialogoSim : IDialogoService {
  std::string Pergunta;
  int Perguntar(const TnDialogo& aDialogo) override {
    Pergunta = aDialogo.Texto;
    return 0;
  }
};

// Company 1 reports to SC (system 1), company 2 to PR (system 2), company 3 to none. Court
// account 111 of system 1 is related to the company accounts 12 and 13 of company 1.
class RelacionarPlanoTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    Executar(
        "insert into EMPRESA values (1, 'Um'), (2, 'Dois'), (3, 'Três');"
        "insert into TCESISTEMAEMPRESA values (1, 1), (2, 2);"
        "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values"
        " (1, 12, '1.1.1', 'CAIXA', 2), (1, 13, '1.1.2', 'BANCO', 2), (1, 14, '1.1.3', 'OUTROS', 2),"
        " (1, 15, '1.1.4', 'MAIS', 2), (2, 12, '1.1.1', 'CAIXA', 2);"
        "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values"
        " (1, 100, 1, '1', 'Ativo'), (1, 111, 2, '1.1.1', 'Caixa'), (1, 112, 2, '1.1.2', 'Bancos'),"
        " (1, 211, 2, '2.1.1', 'Fornecedores'), (2, 111, 2, '1.1.1', 'Caixa');"
        "insert into TCETIPOCONTACTB values (1, 1, 'Normal', '0'), (1, 2, 'Banco', '1');"
        "insert into BANCO values (1, 'Banco Um'); insert into AGENCIA values (1, 10, 'Centro');"
        "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE,"
        " CONTATCE, TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values"
        " (1, 12, '2024-01-01', '2024-12-31', 1, 111, 1, '0', 'N', 1),"
        " (1, 13, '2024-01-01', '2024-12-31', 1, 111, 1, '0', 'N', 1);");
    FProcesso = nCriarObjeto<TUlmoDPRelacionarPlanoPlEspec>();
    Carregar("1", "0");
    SetDialogoService(FDialogo);
  }
  void TearDown() override {
    SetDialogoService(nullptr);
    CadastrosTest::TearDown();
  }
  void Carregar(const char* aEmpresa, const char* aListar) {
    FProcesso->Param("pCodigoEmpresa").SetValue(aEmpresa);
    FProcesso->Param("pNivelConta").SetValue("1");
    FProcesso->Param("pListarConfiguradas").SetValue(aListar);
    nExecutarProcesso(*FProcesso);
  }
  TClientDataSet& Grid() { return FProcesso->nClientDataSet(); }
  // Edits the grid row of that court account (and company account, 0 for an unrelated row).
  void Editar(double aContaTCE, double aContaCtb, const TCampos& aCampos) {
    TVariant ctb = aContaCtb > 0 ? TVariant(aContaCtb) : TVariant();
    ASSERT_TRUE(Grid().Locate("CONTATCE;CONTACTB", {aContaTCE, ctb}));
    Grid().Edit();
    for (const auto& [campo, valor] : aCampos) Grid().FieldByName(campo).SetAsString(valor);
    Grid().Post();
  }
  // A new relation of the court account to that company account for 2024.
  void Relacionar(double aContaTCE, const char* aContaCtb, TCampos aMais = {}) {
    TCampos campos{{"CONTACTB", aContaCtb},  {"DATAINICIOPLANO", "2024-01-01"}, {"DATAFIMPLANO", "2024-12-31"},
                   {"TIPONATURSALDO", "1"}, {"TIPOSUPERAVITFINANC", "F"}};
    campos.insert(campos.end(), aMais.begin(), aMais.end());
    Editar(aContaTCE, 0, campos);
  }
  std::string Linhas() {
    std::string r;
    Grid().SetIndexFieldNames("CONTATCE;CONTACTB");
    for (Grid().First(); !Grid().Eof(); Grid().Next())
      r += Grid().FieldByName("CONTATCE").AsString() + "/" + Grid().FieldByName("CONTACTB").AsString() + ":" +
           Grid().FieldByName("RELACIONADO").AsString() + Grid().FieldByName("STYLE").AsString() + " ";
    Grid().SetIndexFieldNames("");
    return r;
  }
  std::string Mensagens() {
    std::string r;
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes()) r += std::to_string(n->Tipo) + " " + n->Texto + "\n";
    return r;
  }
  void Acao(const char* aNome) {
    FProcesso->GetMsgTreeLista()->Clear();
    ASSERT_TRUE(FProcesso->ExecutarAcao(aNome));
  }
  static std::string Mapeamentos() {
    return Conteudo("TCEPLANOPLESPEC");
  }
  std::unique_ptr<TUlmoDPRelacionarPlanoPlEspec> FProcesso;
  std::shared_ptr<TDialogoSim> FDialogo = std::make_shared<TDialogoSim>();
};

const char* const kMapeamentosIniciais =
    "1|12|01/01/2024|31/12/2024||1|111|1|0|N|1||||\n1|13|01/01/2024|31/12/2024||1|111|1|0|N|1||||\n";

}  // namespace

TEST_F(RelacionarPlanoTest, ACompanyWithoutCourtSystemIsRefused) {
  try {
    Carregar("3", "0");
    FAIL() << "loaded an unlinked company";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "A empresa selecionada não está vinculada ao Sistema e ao Plano de Contas do TCE. Acesse a rotina "
                 "Plano de Contas e informe o código da empresa no campo Cadastro da Empresa.");
  }
}

TEST_F(RelacionarPlanoTest, AnUnknownOrNegativeCompanyWasTakenForAnUnlinkedOne) {
  for (const char* empresa : {"77", "-1", "0", "32768"}) {
    try {
      Carregar(empresa, "0");
      ADD_FAILURE() << empresa << " passed";
    } catch (const EnParam& e) {
      EXPECT_EQ(e.Alias(), "pCodigoEmpresa") << empresa;
      EXPECT_STREQ(e.what(), "Empresa inválida!") << empresa;
    }
  }
}

TEST_F(RelacionarPlanoTest, ListsTheCourtAccountsOfTheLevelWithTheirRelations) {
  EXPECT_EQ(Linhas(), "100/:01 111/12:10 111/13:10 112/:00 ");
  EXPECT_EQ(FProcesso->UFSistema(), "SC");
  ASSERT_TRUE(Grid().Locate("CONTACTB", {12.0}));
  EXPECT_EQ(Grid().FieldByName("CLASSIFDESCRTCE").AsString(), "1.1.1 - Caixa");
  EXPECT_EQ(Grid().FieldByName("GRAVAR").AsInteger(), 0);
  Carregar("1", "1");
  EXPECT_EQ(Linhas(), "111/12:10 111/13:10 ");
  Carregar("1", "1");  // a reload replaces the rows
  EXPECT_EQ(Grid().RecordCount(), 2);
}

TEST_F(RelacionarPlanoTest, SavesNewAndEditedRelationsThroughTheRegister) {
  Relacionar(112, "14", {{"CODIGOTIPOCONTATCE", "1"}, {"APLICFINANCEIRA", "1"}, {"IDENTIFIPATQUALITATIVA", "99"}});
  Editar(111, 12, {{"DATAFIMPLANO", "2025-12-31"}});
  Editar(100, 0, {{"CONTACTB", "15"}});  // incomplete: not written
  Acao("nActSalvar");
  EXPECT_EQ(Mapeamentos(),
            "1|12|01/01/2024|31/12/2025||1|111|1|0|N|1||||\n1|13|01/01/2024|31/12/2024||1|111|1|0|N|1||||\n"
            "1|14|01/01/2024|31/12/2024||1|112|1|1|F|1||||\n");
  std::string m = Mensagens();
  EXPECT_NE(m.find("5 Relacionamento da Conta TCE 112 inserido com sucesso.\n"), std::string::npos) << m;
  EXPECT_NE(m.find("5 Relacionamento da Conta TCE 111 editado com sucesso.\n"), std::string::npos) << m;
  EXPECT_NE(m.find("1 Conta TCE 112 O Campo Identificador da Variação Patrimonial Qualitativa não deve preenchido "
                   "para demais estados além do Paraná.\n"),
            std::string::npos)
      << m;
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 2u);
  EXPECT_EQ(Linhas(), "100/:01 111/12:10 111/13:10 112/14:10 ");  // reloaded
}

TEST_F(RelacionarPlanoTest, AnEditOfAStoredRelationsKeyIsReportedNotDroppedUnseen) {
  Editar(111, 12, {{"DATAINICIOPLANO", "2024-02-01"}});
  Acao("nActSalvar");
  EXPECT_EQ(Mapeamentos(), kMapeamentosIniciais);
  std::string m = Mensagens();
  EXPECT_NE(m.find("1 Conta TCE 111 O relacionamento com a conta contábil 12 e data início 01/02/2024 não foi "
                   "encontrado; a alteração não foi gravada.\n"),
            std::string::npos)
      << m;
}

TEST_F(RelacionarPlanoTest, AParanaRelationTakesNoBankDataAndDefaultsItsIdentifier) {
  Carregar("2", "0");
  Relacionar(111, "12", {{"TIPOSUPERAVITFINANC", "1"}, {"CODIGOBANCO", "1"}, {"APLICFINANCEIRA", "1"}});
  Acao("nActSalvar");
  EXPECT_EQ(VarToStr(PegarValorCampo("TCEPLANOPLESPEC",
                                     "coalesce(APLICFINANCEIRA, '-') || coalesce(cast(CODIGOBANCO as varchar(5)), '-') || IDENTIFIPATQUALITATIVA",
                                     "CODIGOEMPRESA = 2")),
            "--1");
  std::string m = Mensagens();
  EXPECT_NE(m.find("1 Conta TCE 111 Os campos Gera Aplicação Financeira, Tipo Conta TCE, Banco, Agência e Número da "
                   "Conta não devem ser preenchidos para UF Paraná, dados salvos em branco.\n"),
            std::string::npos)
      << m;
  EXPECT_NE(m.find("1 Conta TCE 111 O Campo Identificador da Variação Patrimonial Qualitativa deve ser preenchido para "
                   "UF Paraná, atribuído por padrão Incorporação de Ativo, para alterar, editar o relacionamento\n"),
            std::string::npos)
      << m;
  EXPECT_NE(m.find("5 Relacionamento da Conta TCE 111 inserido com sucesso."), std::string::npos) << m;
}

TEST_F(RelacionarPlanoTest, ARefusedRowUndoesTheWholeSaveAndAnnouncesNoSuccess) {
  Relacionar(112, "14", {{"CODIGOTIPOCONTATCE", "1"}});
  Relacionar(100, "15", {{"CODIGOTIPOCONTATCE", "1"}, {"TIPOSUPERAVITFINANC", "3"}});  // a PR-only code
  Acao("nActSalvar");
  EXPECT_EQ(Mapeamentos(), kMapeamentosIniciais);
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 0u);
  EXPECT_NE(Mensagens().find("0 Conta TCE 100: Opção selecionada para o campo Superávit Financeiro válida apenas "
                             "para o estado do Paraná"),
            std::string::npos)
      << Mensagens();
  EXPECT_EQ(Linhas(), "100/:01 111/12:10 111/13:10 112/:00 ");
  EXPECT_EQ(nInstanciasVivas(), 0u);  // the register instance is gone
}

TEST_F(RelacionarPlanoTest, ARowTheDatabaseRefusesDoesNotFailTheRowsAfterIt) {
  CriarGatilhoFalha(*FConexao, "FALHA", "insert", "TCEPLANOPLESPEC", "falha", "NEW.CONTACTB = 15");
  Relacionar(100, "15", {{"CODIGOTIPOCONTATCE", "1"}});
  Relacionar(112, "14", {{"CODIGOTIPOCONTATCE", "1"}});
  Acao("nActSalvar");
  std::string m = Mensagens();
  EXPECT_NE(m.find("0 Erro ao inserir relacionamento Conta TCE 100\n"), std::string::npos) << m;
  EXPECT_NE(m.find("5 Relacionamento da Conta TCE 112 inserido com sucesso.\n"), std::string::npos) << m;
  EXPECT_EQ(VarToStr(PegarValorCampo("TCEPLANOPLESPEC", "count(*)", "CONTACTB = 14")), "1");
  EXPECT_EQ(VarToStr(PegarValorCampo("TCEPLANOPLESPEC", "count(*)", "CONTACTB = 15")), "0");
}

TEST_F(RelacionarPlanoTest, DeletesTheMarkedRelationsAllOrNothing) {
  Editar(111, 13, {{"DATAFIMPLANO", "2024-06-30"}});
  Relacionar(112, "14");  // never related: nothing to delete
  CriarGatilhoFalha(*FConexao, "FALHA", "delete", "TCEPLANOPLESPEC", "falha");
  try {
    FProcesso->ExecutarAcao("ActExcluirRelac");
    FAIL() << "a refused deletion went unnoticed";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Problema ao excluir os registros na relação TCEPLANOPLESPEC! Mensagem "
                                          "original: ",
                                          0),
              0u)
        << e.what();
  }
  EXPECT_EQ(FDialogo->Pergunta, "Deseja excluir os registros selecionados?");
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 0u);
  EXPECT_EQ(Mapeamentos(), kMapeamentosIniciais);

  RemoverGatilhoFalha(*FConexao, "FALHA", "TCEPLANOPLESPEC");
  Acao("ActExcluirRelac");
  EXPECT_EQ(Mensagens(), "5 Excluído relacionamento Conta TCE 111\n");
  EXPECT_EQ(Mapeamentos(), "1|12|01/01/2024|31/12/2024||1|111|1|0|N|1||||\n");
}

// Company account 14 keeps a mapping to court account 111 of the PR system (left from an
// earlier link); system 1 has a court account 111 too.
TEST_F(RelacionarPlanoTest, AMappingStoredUnderAnotherSystemIsNotListedNorRewrittenBySaving) {
  Executar(
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE,"
      " CONTATCE, TIPONATURSALDO, TIPOSUPERAVITFINANC, IDENTIFIPATQUALITATIVA) values"
      " (1, 14, '2024-01-01', '2024-12-31', 2, 111, 2, '1', 99);");
  const std::string antes = Mapeamentos();
  Carregar("1", "0");
  EXPECT_EQ(Linhas(), "100/:01 111/12:10 111/13:10 112/:00 ");
  Carregar("1", "1");
  EXPECT_EQ(Linhas(), "111/12:10 111/13:10 ");
  // Whatever row of the grid carries that company account, changed and saved, the other
  // system's mapping stays as it is.
  for (Grid().First(); !Grid().Eof(); Grid().Next())
    if (Grid().FieldByName("CONTACTB").AsInteger() == 14) {
      Grid().Edit();
      Grid().FieldByName("DATAFIMPLANO").SetAsString("2025-12-31");
      Grid().FieldByName("TIPOSUPERAVITFINANC").SetAsString("N");
      Grid().FieldByName("CODIGOTIPOCONTATCE").SetAsString("1");
      Grid().Post();
    }
  Acao("nActSalvar");
  EXPECT_EQ(Mapeamentos(), antes);
  for (Grid().First(); !Grid().Eof(); Grid().Next())
    if (Grid().FieldByName("CONTACTB").AsInteger() == 14) {
      Grid().Edit();
      Grid().FieldByName("GRAVAR").SetAsInteger(1);
      Grid().Post();
    }
  Acao("ActExcluirRelac");
  EXPECT_EQ(Mapeamentos(), antes);
}

TEST_F(RelacionarPlanoTest, TheGridShowsBandsListsAndTheDescriptionsOfItsCodes) {
  TClientDataSet& d = Grid();
  EXPECT_EQ(FProcesso->DataSetsGrade(), std::vector<std::string>{"nClientDataSet"});
  EXPECT_EQ(d.CampoMarca, "GRAVAR");
  EXPECT_EQ(d.CampoEstilo, "STYLE");
  EXPECT_EQ(d.EstiloDestaque, "negrito-verde");
  EXPECT_EQ(d.FieldByName("TIPOCONTATCE").ValueList, "A=2;S=1");
  EXPECT_EQ(d.FieldByName("DATAFIMPLANO").Band, "Dados TCE");
  EXPECT_EQ(d.FieldByName("NOMEAGENCIA").Band, "Informações TCE");
  EXPECT_FALSE(d.FieldByName("CODIGOEMPRESA").Visible);
  ASSERT_TRUE(d.Locate("CONTATCE;CONTACTB", {111.0, 12.0}));
  EXPECT_EQ(d.FieldByName("DESCRCONTAAUX").AsString(), "CAIXA");
  EXPECT_EQ(d.FieldByName("TIPOCONTAAUX").AsInteger(), 2);
  EXPECT_EQ(d.FieldByName("DESCRTIPOCONTATCE").AsString(), "Normal");
  DigitarCelula(d, "TIPONATURSALDO", "Credor");
  DigitarCelula(d, "TIPOSUPERAVITFINANC", "Patrimonial");
  DigitarCelula(d, "CODIGOBANCO", "1");
  DigitarCelula(d, "NUMEROAGENCIA", "10");
  EXPECT_EQ(d.FieldByName("TIPONATURSALDO").AsInteger(), 2);
  EXPECT_EQ(d.FieldByName("TIPOSUPERAVITFINANC").AsString(), "P");
  EXPECT_EQ(d.FieldByName("NOMEBANCO").AsString(), "Banco Um");
  EXPECT_EQ(d.FieldByName("NOMEAGENCIA").AsString(), "Centro");
  EXPECT_EQ(d.FieldByName("GRAVAR").AsInteger(), 1);  // changed and complete
}

// An unrelated court account is named by itself; a related one by its stored relation too,
// which the user cannot type over.
TEST_F(RelacionarPlanoTest, TheKeyColumnsNameEachRowAndCannotBeTypedOver) {
  TClientDataSet& d = Grid();
  EXPECT_EQ(d.CamposChave, "CONTATCE;CONTACTBRELAC;DATAINICIORELAC");
  std::set<std::string> chaves;
  for (d.First(); !d.Eof(); d.Next())
    chaves.insert(d.FieldByName("CONTATCE").AsString() + "/" + d.FieldByName("CONTACTBRELAC").AsString() + "/" +
                  d.FieldByName("DATAINICIORELAC").AsString());
  EXPECT_EQ(chaves.size(), static_cast<size_t>(d.RecordCount()));
  ASSERT_TRUE(d.Locate("CONTATCE;CONTACTB", {111.0, 13.0}));
  for (const char* campo : {"CONTATCE", "CONTACTBRELAC", "DATAINICIORELAC", "CLASSIFDESCRTCE", "TIPOCONTATCE"})
    EXPECT_THROW(DigitarCelula(d, campo, "1"), Exception) << campo;
  try {
    DigitarCelula(d, "CONTACTB", "14");
    FAIL() << "a stored relation changed its company account";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "O relacionamento gravado não pode mudar de conta contábil: exclua-o e relacione a conta TCE de novo.");
  }
  EXPECT_THROW(DigitarCelula(d, "DATAINICIOPLANO", "01/02/2024"), Exception);
  EXPECT_NO_THROW(DigitarCelula(d, "DATAINICIOPLANO", "01/01/2024"));
  EXPECT_EQ(d.FieldByName("CONTACTB").AsInteger(), 13);
  EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
}

TEST_F(RelacionarPlanoTest, ACellRefusesCodesTheRegistersLackAndTheOtherCourtsSurplusCodes) {
  TClientDataSet& d = Grid();
  ASSERT_TRUE(d.Locate("CONTATCE", {112.0}));
  try {
    DigitarCelula(d, "CONTACTB", "99");
    FAIL() << "took an account the company's chart lacks";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "O valor do campo Conta Contábil não está cadastrado: 99!");
  }
  EXPECT_THROW(DigitarCelula(d, "CODIGOTIPOCONTATCE", "7"), Exception);
  EXPECT_THROW(DigitarCelula(d, "CODIGOBANCO", "2"), Exception);
  try {
    DigitarCelula(d, "TIPOSUPERAVITFINANC", "Outros");
    FAIL() << "took a PR-only surplus code for SC";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Opção selecionada para o campo Superávit Financeiro válida apenas", 0), 0u);
  }
  EXPECT_TRUE(d.FieldByName("CONTACTB").IsNull());
  DigitarCelula(d, "CONTACTB", "14");
  EXPECT_EQ(d.FieldByName("DESCRCONTAAUX").AsString(), "OUTROS");

  Carregar("2", "0");
  ASSERT_TRUE(Grid().Locate("CONTATCE", {111.0}));
  EXPECT_THROW(DigitarCelula(Grid(), "TIPOSUPERAVITFINANC", "F"), Exception);
  EXPECT_NO_THROW(DigitarCelula(Grid(), "TIPOSUPERAVITFINANC", "1"));
}

TEST_F(RelacionarPlanoTest, ARowBegunButIncompleteWasDroppedWithAMessageThatNamedNeitherRowNorField) {
  Editar(112, 0, {{"CONTACTB", "14"}, {"DATAINICIOPLANO", "2024-01-01"}, {"DATAFIMPLANO", "2024-12-31"},
                  {"TIPONATURSALDO", "1"}});
  Acao("nActSalvar");
  EXPECT_EQ(Mapeamentos(), kMapeamentosIniciais);
  EXPECT_EQ(Mensagens(),
            "0 Conta TCE 112: falta informar Tipo de Superávit Financeiro; a linha não foi gravada.\n");

  // Beside a row that is saved, the unfinished one is a warning.
  Relacionar(100, "15", {{"CODIGOTIPOCONTATCE", "1"}});
  Acao("nActSalvar");
  std::string m = Mensagens();
  EXPECT_NE(m.find("1 Conta TCE 112: falta informar Tipo de Superávit Financeiro"), std::string::npos) << m;
  EXPECT_NE(m.find("5 Relacionamento da Conta TCE 100 inserido com sucesso."), std::string::npos) << m;
}

TEST_F(RelacionarPlanoTest, ACompleteRowTheUserUnticksIsNeitherSavedNorDeleted) {
  Relacionar(112, "14", {{"CODIGOTIPOCONTATCE", "1"}});
  ASSERT_TRUE(Grid().Locate("CONTATCE", {112.0}));
  EXPECT_EQ(Grid().FieldByName("GRAVAR").AsInteger(), 1);
  DigitarCelula(Grid(), "GRAVAR", "0");
  EXPECT_EQ(Grid().FieldByName("GRAVAR").AsInteger(), 0);
  Editar(111, 12, {{"DATAFIMPLANO", "2025-12-31"}});
  ASSERT_TRUE(Grid().Locate("CONTATCE;CONTACTB", {111.0, 12.0}));
  DigitarCelula(Grid(), "GRAVAR", "0");
  Acao("nActSalvar");
  EXPECT_EQ(Mapeamentos(), kMapeamentosIniciais);
  EXPECT_EQ(Mensagens(),
            "0 Nenhuma conta TCE marcada para salvar: marque as contas com conta contábil, data início, data fim, "
            "natureza do saldo e superávit financeiro informados.\n");
  ASSERT_TRUE(Grid().Locate("CONTATCE", {112.0}));  // not reloaded: the edits are still there
  EXPECT_EQ(Grid().FieldByName("CONTACTB").AsInteger(), 14);

  ASSERT_TRUE(Grid().Locate("CONTATCE;CONTACTB", {111.0, 13.0}));
  DigitarCelula(Grid(), "GRAVAR", "1");
  DigitarCelula(Grid(), "GRAVAR", "0");
  Acao("ActExcluirRelac");
  EXPECT_EQ(Mapeamentos(), kMapeamentosIniciais);
  EXPECT_EQ(Mensagens(), "0 Nenhum relacionamento marcado para excluir: marque as contas TCE já relacionadas.\n");
  EXPECT_TRUE(FProcesso->GetMsgTreeLista()->Falhou());
}

TEST_F(RelacionarPlanoTest, DeletingARowWhoseAccountWasTypedOverDeletesTheRelationItShowed) {
  // Both relations start on 01/01/2024: the grid's own columns would name the other one.
  Editar(111, 13, {{"CONTACTB", "12"}, {"GRAVAR", "1"}});
  Acao("ActExcluirRelac");
  EXPECT_EQ(Mapeamentos(), "1|12|01/01/2024|31/12/2024||1|111|1|0|N|1||||\n");
}

namespace {

// The demo database with one more account in the chart of its SC company (1), not yet related
// to the court's chart; court account 170 (3.7.2.1.1.01.00) of TCE-SC has no relation either.
class RelacionarPlanoDemoTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    nHost::GerarDemo();
    Executar(
        "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA, NATURSALDO) values"
        " (1, 9001, '3.2.9.01.001', 'Contribuições sobre a receita', 2, 1);");
  }
  TTestFolder FPasta;
};

}  // namespace

TEST_F(RelacionarPlanoDemoTest, ARelationMadeInTheGridReachesTheTCESCAccountFile) {
  auto p = nCriarObjeto<TUlmoDPRelacionarPlanoPlEspec>();
  p->Param("pCodigoEmpresa").SetValue("1");
  p->Param("pNivelConta").SetValue("3");
  p->Param("pListarConfiguradas").SetValue("0");
  nExecutarProcesso(*p);
  TClientDataSet& d = p->nClientDataSet();
  ASSERT_TRUE(d.Locate("CONTATCE", {170.0}));
  EXPECT_EQ(d.FieldByName("RELACIONADO").AsInteger(), 0);
  for (const auto& [campo, texto] : std::vector<std::pair<const char*, const char*>>{
           {"CONTACTB", "9001"}, {"DATAINICIOPLANO", "01/01/2024"}, {"DATAFIMPLANO", "31/12/2024"},
           {"TIPONATURSALDO", "Devedor"}, {"TIPOSUPERAVITFINANC", "Nenhum"}, {"APLICFINANCEIRA", "Não"},
           {"CODIGOTIPOCONTATCE", "4"}})
    DigitarCelula(d, campo, texto);
  EXPECT_EQ(d.FieldByName("DESCRCONTAAUX").AsString(), "Contribuições sobre a receita");
  EXPECT_EQ(d.FieldByName("DESCRTIPOCONTATCE").AsString(), "Demais Contas");
  ASSERT_TRUE(p->ExecutarAcao("nActSalvar"));
  EXPECT_FALSE(p->GetMsgTreeLista()->Falhou());
  std::string mensagens;
  for (const auto& n : p->GetMsgTreeLista()->Raizes()) mensagens += std::to_string(n->Tipo) + " " + n->Texto + "\n";
  EXPECT_EQ(mensagens, "5 Relacionamento da Conta TCE 170 inserido com sucesso.\n");

  auto* sc = dynamic_cast<TnDMPowerParam*>(CriarDMNovo("TUlmoDPGerarArquivosCtb", nullptr));
  ASSERT_NE(sc, nullptr);
  for (const auto& [alias, valor] : std::vector<std::pair<const char*, std::string>>{
           {"pCodigoEmpresa", "1"}, {"pCompetInicial", "01/01/2024"}, {"pCompetFinal", "31/01/2024"},
           {"pDiretorio", FPasta.Path().string()}})
    sc->Param(alias).SetValue(valor);
  nExecutarProcesso(*sc);
  EXPECT_FALSE(sc->GetMsgTreeLista()->Falhou());
  TnDataModule* dm = sc;
  DestruirDMDefinitivo(dm);
  // The company account is reported under the court account it was related to: its year,
  // classification, account type 4, the court's description, analytic, nature 1, court code 170.
  std::string contas = Windows1252ToUtf8(ReadBytes(FPasta / "ContaContabil.txt"));
  std::vector<std::string> linhas;
  std::istringstream in(contas);
  for (std::string linha; std::getline(in, linha);)
    if (linha.rfind("20243.7.2.1.1.01.00 ", 0) == 0) linhas.push_back(linha);
  ASSERT_EQ(linhas.size(), 1u) << contas;
  EXPECT_NE(linhas[0].find(" 04CONTRIBUIÇÕES SOBRE O FATURAMENTO "), std::string::npos) << linhas[0];
  EXPECT_NE(linhas[0].find(" S07010170 "), std::string::npos) << linhas[0];
}
