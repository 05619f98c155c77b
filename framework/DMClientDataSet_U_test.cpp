#include "BancoVazioTeste_U.h"
#include "DMClientDataSet_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "Exceptions_U.h"
#include "FieldExpression_U.h"
#include "SQL_U.h"
#include "Schema_U.h"

using namespace nFramework;

namespace {

// A register over the court systems, declared as the module's registers are.
class TTesteDMSistema : public TnDMClientDataSet {
  N_CLASSE(TTesteDMSistema)
 public:
  TTesteDMSistema() {
    SetCommandText(
        "Select t_t.CODIGOSISTEMATCE,t_t.DESCRSISTEMATCE,t_t.SIGLAESTADO,t_t.MASCPLANOTCE from TCESISTEMA t_t ORDER BY "
        "t_t.CodigoSistemaTCE");
    SetPodeAlterarChave(false);
    AddCampo({.Nome = "CODIGOSISTEMATCE", .Tipo = TFieldType::ftSmallint, .Obrigatorio = true, .Minimo = 1,
              .Maximo = 9999, .MensagemFaixa = "Código do sistema inválido!", .AutoIncrementar = true});
    AddCampo({.Nome = "DESCRSISTEMATCE", .Tipo = TFieldType::ftString, .Tamanho = 100, .Label = "Nome Sistema",
              .Obrigatorio = true});
    AddCampo({.Nome = "SIGLAESTADO", .Tipo = TFieldType::ftString, .Tamanho = 2, .Obrigatorio = true});
    AddCampo({.Nome = "MASCPLANOTCE", .Tipo = TFieldType::ftString, .Tamanho = 30, .Label = "Máscara Plano",
              .Obrigatorio = true});
  }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE"; }
};

// A register over the court chart: a link to the system, per-system codes, PR expressions
// and a check of its own.
class TTesteDMPlano : public TnDMClientDataSet {
  N_CLASSE(TTesteDMPlano)
 public:
  static constexpr const char* PR = "EXTERNO(\"VALIDARUFTCE\" , [CODIGOSISTEMATCE, \"PR\"])";
  TTesteDMPlano() {
    SetCommandText(
        "Select t_t.CODIGOSISTEMATCE,t_t.CONTATCE,t_t.TIPOCONTA,t_t.CLASSIFCONTA,t_t.DESCRCONTA,t_t.NATUREZAINFORMACAO,"
        "t_t.INDSUPERAVIT from TCEPLANO t_t ORDER BY T_T.CODIGOSISTEMATCE,T_T.CONTATCE");
    AddCampo({.Nome = "CODIGOSISTEMATCE", .Tipo = TFieldType::ftSmallint, .Obrigatorio = true,
              .LinkCadastro = "TTesteDMSistema"});
    AddCampo({.Nome = "CONTATCE", .Tipo = TFieldType::ftLargeint, .Obrigatorio = true, .Minimo = 1,
              .Maximo = 9999999999, .MensagemFaixa = "Conta TCE inválida!", .AutoIncrementar = true});
    AddCampo({.Nome = "TIPOCONTA", .Tipo = TFieldType::ftSmallint, .Obrigatorio = true,
              .Lista = "Analítica=2;Sintética=1"});
    AddCampo({.Nome = "CLASSIFCONTA", .Tipo = TFieldType::ftString, .Tamanho = 30, .Obrigatorio = true});
    AddCampo({.Nome = "DESCRCONTA", .Tipo = TFieldType::ftString, .Tamanho = 250, .Obrigatorio = true});
    AddCampo({.Nome = "NATUREZAINFORMACAO", .Tipo = TFieldType::ftString, .Tamanho = 1, .Padrao = "O",
              .Lista = "Orçamentária=O;Controle=C;Patrimonial=P", .ExpressaoHabilitado = PR,
              .ExpressaoObrigatorio = PR, .ExpressaoLimpar = std::string("NOT(") + PR + ")"});
    // Enabled for PR only and never cleared: the register must refuse it elsewhere.
    AddCampo({.Nome = "INDSUPERAVIT", .Tipo = TFieldType::ftString, .Tamanho = 1, .ExpressaoHabilitado = PR});
  }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CONTATCE"; }
  void ValidarDado() override {
    TnDMClientDataSet::ValidarDado();
    if (FieldVazio("CLASSIFCONTA") == "9") throw Exception("Classificação 9 recusada");
  }
  std::string FieldVazio(const char* n) { return nClientDataSet().FieldByName(n).AsString(); }
};

class RegisterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    ExecutarSQLDireto("insert into TCESISTEMA values (1, 'TCE/SC', 'SC', '9.9.9'), (2, 'TCE/PR', 'PR', '9.9')");
    FieldExpressionFunctions().RegisterFunction("VALIDARUFTCE", [](const std::vector<std::string>& a) {
      TVariant uf = PegarValorCampo("TCESISTEMA", "SIGLAESTADO", "CODIGOSISTEMATCE = " + std::to_string(StrToIntDef(a[0], 0)));
      return TVariant(VarToStr(uf) == a[1]);
    });
  }
  void TearDown() override {
    FieldExpressionFunctions().UnRegisterFunction("VALIDARUFTCE");
    SetConexao(nullptr);
  }
  static int64_t Contar(const char* tabela) { return VarToInt64Def(PegarValorCampo(tabela, "count(*)", "1 = 1"), -1); }
  static std::string Recusa(TnDMClientDataSet& r) {
    try {
      r.nClientDataSet().Post();
    } catch (const Exception& e) {
      return e.what();
    }
    return "";
  }
  void NovoSistema(TnDMClientDataSet& r, const char* codigo, const char* nome, const char* uf = "RS") {
    TClientDataSet& d = r.nClientDataSet();
    d.Append();
    d.FieldByName("CODIGOSISTEMATCE").SetAsString(codigo);
    d.FieldByName("DESCRSISTEMATCE").SetAsString(nome);
    d.FieldByName("SIGLAESTADO").SetAsString(uf);
    d.FieldByName("MASCPLANOTCE").SetAsString("9.9");
  }
  std::unique_ptr<TnDMConexao> FConexao;
  TnRegistroUnidade FRegistro{nClasse<TTesteDMSistema>(), nClasse<TTesteDMPlano>()};
};

}  // namespace

TEST_F(RegisterTest, ARowIsCheckedWhenPostedAndWrittenByApplyUpdates) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Abrir();
  EXPECT_EQ(r->nClientDataSet().RecordCount(), 2);
  EXPECT_EQ(r->Tabela(), "TCESISTEMA");
  NovoSistema(*r, "3", "TCE/RS");
  EXPECT_EQ(Recusa(*r), "");
  EXPECT_EQ(Contar("TCESISTEMA"), 2);
  EXPECT_EQ(r->ApplyUpdates(0), 0);
  EXPECT_EQ(VarToStr(PegarValorCampo("TCESISTEMA", "DESCRSISTEMATCE", "CODIGOSISTEMATCE = 3")), "TCE/RS");
  EXPECT_EQ(r->AlteracoesPendentes(), 0u);
}

TEST_F(RegisterTest, ADuplicateKeyAMissingRequiredFieldAndARangeAreRefusedWithTheirMessages) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->FetchRegistros("1 = 0");  // the stored rows are not loaded: the table itself is asked
  NovoSistema(*r, "1", "Outro");
  EXPECT_EQ(Recusa(*r), "Registro já cadastrado: CODIGOSISTEMATCE = 1!");
  EXPECT_EQ(r->nClientDataSet().State(), TDataSetState::dsInsert);  // the row stays unsaved, in edit
  r->nClientDataSet().Cancel();
  NovoSistema(*r, "4", "");
  EXPECT_EQ(Recusa(*r), "O campo \"Nome Sistema\" deve ser informado!");
  r->nClientDataSet().Cancel();
  NovoSistema(*r, "10000", "Grande");
  EXPECT_EQ(Recusa(*r), "Código do sistema inválido!");
  r->nClientDataSet().Cancel();
  EXPECT_EQ(r->ApplyUpdates(0), 0);
  EXPECT_EQ(Contar("TCESISTEMA"), 2);
}

TEST_F(RegisterTest, TwoNewRowsWithOneKeyAreRefusedBeforeTheTableIsAsked) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Abrir();
  NovoSistema(*r, "5", "A");
  r->nClientDataSet().Post();
  NovoSistema(*r, "5", "B");
  EXPECT_EQ(Recusa(*r), "Registro já cadastrado: CODIGOSISTEMATCE = 5!");
}

TEST_F(RegisterTest, TheKeyCannotChangeUnlessTheRegisterAllowsIt) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->FetchRegistros("CODIGOSISTEMATCE = 1");
  TClientDataSet& d = r->nClientDataSet();
  d.Edit();
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(7);
  EXPECT_EQ(Recusa(*r), "A chave do registro não pode ser alterada (CODIGOSISTEMATCE)!");
  d.Cancel();
  r->SetPodeAlterarChave(true);
  d.Edit();
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(2);
  EXPECT_EQ(Recusa(*r), "Registro já cadastrado: CODIGOSISTEMATCE = 2!");
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(7);
  d.FieldByName("DESCRSISTEMATCE").SetAsString("Renumerado");
  d.Post();
  EXPECT_EQ(r->ApplyUpdates(0), 0);
  EXPECT_FALSE(PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = 1"));
  EXPECT_EQ(VarToStr(PegarValorCampo("TCESISTEMA", "DESCRSISTEMATCE", "CODIGOSISTEMATCE = 7")), "Renumerado");
}

TEST_F(RegisterTest, OwnChecksRunAfterTheInheritedOnesAndLinksMustExist) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  auto nova = [&](const char* sistema, const char* tipo, const char* classif) {
    d.Append();
    d.FieldByName("CODIGOSISTEMATCE").SetAsString(sistema);
    d.FieldByName("TIPOCONTA").SetAsString(tipo);
    d.FieldByName("CLASSIFCONTA").SetAsString(classif);
    d.FieldByName("DESCRCONTA").SetAsString("Ativo");
  };
  nova("1", "2", "");
  EXPECT_EQ(Recusa(*r), "O campo \"CLASSIFCONTA\" deve ser informado!");
  d.FieldByName("CLASSIFCONTA").SetAsString("9");
  EXPECT_EQ(Recusa(*r), "Classificação 9 recusada");
  d.FieldByName("TIPOCONTA").SetAsString("3");
  EXPECT_EQ(Recusa(*r), "Valor inválido no campo \"TIPOCONTA\": 3 (valores: Analítica=2, Sintética=1)!");
  d.Cancel();
  nova("8", "2", "1");
  EXPECT_EQ(Recusa(*r), "O valor do campo \"CODIGOSISTEMATCE\" não está cadastrado: 8!");
  d.Cancel();
  EXPECT_EQ(Contar("TCEPLANO"), 0);
}

TEST_F(RegisterTest, ExpressionsClearOrRequireAndCodesAreProposedPerSystem) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  for (const char* sistema : {"1", "1", "2"}) {
    d.Append();
    EXPECT_EQ(d.FieldByName("NATUREZAINFORMACAO").AsString(), "O");  // the default of a new row
    d.FieldByName("CODIGOSISTEMATCE").SetAsString(sistema);
    d.FieldByName("TIPOCONTA").SetAsInteger(2);
    d.FieldByName("CLASSIFCONTA").SetAsString("1");
    d.FieldByName("DESCRCONTA").SetAsString("Ativo");
    d.Post();
  }
  EXPECT_EQ(r->ApplyUpdates(0), 0);
  auto linhas = ExecutarSQL("select CODIGOSISTEMATCE, CONTATCE, NATUREZAINFORMACAO from TCEPLANO order by 1, 2");
  std::vector<std::string> vistas;
  for (; !linhas->Eof(); linhas->Next())
    vistas.push_back(linhas->Fields(0).AsString() + "/" + linhas->Fields(1).AsString() + "/" + linhas->Fields(2).AsString());
  // SC rows lose the PR-only column; the PR row keeps it; codes count per system.
  EXPECT_EQ(vistas, (std::vector<std::string>{"1/1/", "1/2/", "2/1/O"}));
  d.Append();
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(2);
  d.FieldByName("TIPOCONTA").SetAsInteger(1);
  d.FieldByName("CLASSIFCONTA").SetAsString("2");
  d.FieldByName("DESCRCONTA").SetAsString("Passivo");
  d.FieldByName("NATUREZAINFORMACAO").Clear();
  EXPECT_TRUE(r->CampoObrigatorio("NATUREZAINFORMACAO"));
  EXPECT_EQ(Recusa(*r), "O campo \"NATUREZAINFORMACAO\" deve ser informado!");
}

TEST_F(RegisterTest, WhenTooManyChangesFailNothingIsWritten) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  NovoSistema(*r, "3", "Novo");
  d.Post();
  ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE", {TVariant(2)}));
  d.Delete();
  ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE", {TVariant(1)}));
  d.Edit();
  d.FieldByName("DESCRSISTEMATCE").SetAsString("Alterado");
  d.Post();
  ExecutarSQLDireto("delete from TCESISTEMA where CODIGOSISTEMATCE = 1");  // gone behind the register's back
  EXPECT_EQ(r->ApplyUpdates(0), 1);
  ASSERT_EQ(r->ErrosApplyUpdates().size(), 1u);
  EXPECT_EQ(r->ErrosApplyUpdates()[0],
            "Registro não encontrado em TCESISTEMA: foi alterado ou excluído por outro usuário.");
  EXPECT_FALSE(PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = 3"));
  EXPECT_TRUE(PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = 2"));
  // Allowing one error writes the others and keeps the failed one pending.
  EXPECT_EQ(r->ApplyUpdates(1), 1);
  EXPECT_TRUE(PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = 3"));
  EXPECT_FALSE(PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = 2"));
  EXPECT_EQ(r->AlteracoesPendentes(), 1u);
}

TEST_F(RegisterTest, DefinitionsChangeAtRunTimeAndDetailsAreKept) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->ConfigSobDemanda();
  TnCampoDef& d = r->Definicao("codigosistematce");
  d.ExpressaoValue = "2";
  d.ForcarValor = true;
  r->FetchRegistros("1 = 0");
  TClientDataSet& ds = r->nClientDataSet();
  ds.Append();
  ds.FieldByName("CODIGOSISTEMATCE").SetAsInteger(1);
  ds.FieldByName("TIPOCONTA").SetAsInteger(2);
  ds.FieldByName("CLASSIFCONTA").SetAsString("1");
  ds.FieldByName("DESCRCONTA").SetAsString("Ativo");
  ds.Post();
  EXPECT_EQ(ds.FieldByName("CODIGOSISTEMATCE").AsInteger(), 2);  // forced
  EXPECT_THROW(r->Definicao("NAOHA"), EInternalError);
  r->AddInfoDetalhe("TTesteDMPlano", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE", "", "Plano de Contas", "", true, false, true);
  ASSERT_EQ(r->Detalhes().size(), 1u);
  EXPECT_EQ(r->Detalhes()[0].Caption, "Plano de Contas");
  EXPECT_EQ(r->CamposChave(), (std::vector<std::string>{"CODIGOSISTEMATCE", "CONTATCE"}));
}

TEST_F(RegisterTest, KeyFieldsAreRequiredAndADictionaryEntryGivesItsComboList) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Definicao("CODIGOSISTEMATCE").Obrigatorio = false;
  r->Definicao("CODIGOSISTEMATCE").AutoIncrementar = false;
  r->Definicao("SIGLAESTADO").Dicionario = "DICSIMNAO";
  r->Abrir();
  NovoSistema(*r, "", "Sem código");
  EXPECT_EQ(Recusa(*r), "O campo \"CODIGOSISTEMATCE\" deve ser informado!");
  r->nClientDataSet().FieldByName("CODIGOSISTEMATCE").SetAsInteger(3);
  EXPECT_EQ(Recusa(*r), "Valor inválido no campo \"SIGLAESTADO\": RS (valores: Não=0, Sim=1)!");
}

TEST_F(RegisterTest, RequiredFollowsTheRulesOfTheRowInEditAndNeverStopsALoad) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  d.FieldByName("CODIGOSISTEMATCE").OnChange = [&](TField& f) { r->ChecarConfigurarCampo(f); };
  d.Append();
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(2);
  EXPECT_TRUE(d.FieldByName("NATUREZAINFORMACAO").Required);
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(1);
  EXPECT_FALSE(d.FieldByName("NATUREZAINFORMACAO").Required);
  EXPECT_TRUE(d.FieldByName("NATUREZAINFORMACAO").IsNull());  // an SC row loses it at once
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(2);
  d.FieldByName("NATUREZAINFORMACAO").SetAsString("C");
  d.FieldByName("TIPOCONTA").SetAsInteger(2);
  d.FieldByName("CLASSIFCONTA").SetAsString("1");
  d.FieldByName("DESCRCONTA").SetAsString("Ativo");
  d.Post();
  ASSERT_EQ(r->ApplyUpdates(0), 0);
  // A stored SC row without the PR-only column loads after a PR row was posted.
  ExecutarSQLDireto(
      "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA, NATUREZAINFORMACAO) "
      "values (1, 1, 2, '1', 'Ativo', null)");
  r->Abrir();
  EXPECT_EQ(d.RecordCount(), 2);
  EXPECT_TRUE(d.FieldByName("NATUREZAINFORMACAO").IsNull());
}

TEST_F(RegisterTest, DeletingARowStillInUseIsRefusedInPlainWords) {
  ExecutarSQLDireto("insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) "
                    "values (1, 10, 2, '1', 'Caixa')");
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE", {TVariant(1)}));
  d.Delete();
  EXPECT_EQ(r->ApplyUpdates(0), 1);
  ASSERT_EQ(r->ErrosApplyUpdates().size(), 1u);
  EXPECT_EQ(r->ErrosApplyUpdates()[0], "O registro não pode ser excluído: ele está sendo usado em outro cadastro.");
  EXPECT_TRUE(PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = 1"));
}

TEST_F(RegisterTest, ATextLongerThanItsFieldIsRefusedNamingItsSizeNotCut) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  NovoSistema(*r, "3", "TCE/RS", "RSX");
  EXPECT_EQ(Recusa(*r), "O campo \"SIGLAESTADO\" aceita no máximo 2 caracteres; o valor informado tem 3!");
  EXPECT_EQ(d.FieldByName("SIGLAESTADO").AsString(), "RSX");  // kept as typed, to be corrected
  d.FieldByName("SIGLAESTADO").SetAsString("Sé");  // characters count, not bytes
  EXPECT_EQ(Recusa(*r), "");
  d.Edit();
  d.FieldByName("DESCRSISTEMATCE").SetAsString(std::string(101, 'x'));
  EXPECT_EQ(Recusa(*r), "O campo \"Nome Sistema\" aceita no máximo 100 caracteres; o valor informado tem 101!");
  d.Cancel();
  auto p = nCriarObjeto<TTesteDMPlano>();
  p->Abrir();
  TClientDataSet& c = p->nClientDataSet();
  c.Append();
  c.FieldByName("CODIGOSISTEMATCE").SetAsInteger(2);
  c.FieldByName("TIPOCONTA").SetAsInteger(2);
  c.FieldByName("CLASSIFCONTA").SetAsString("1");
  c.FieldByName("DESCRCONTA").SetAsString("Ativo");
  c.FieldByName("NATUREZAINFORMACAO").SetAsString("OC");
  EXPECT_EQ(Recusa(*p), "O campo \"NATUREZAINFORMACAO\" aceita no máximo 1 caractere; o valor informado tem 2!");
  EXPECT_EQ(r->ApplyUpdates(0), 0);
  EXPECT_EQ(VarToStr(PegarValorCampo("TCESISTEMA", "SIGLAESTADO", "CODIGOSISTEMATCE = 3")), "Sé");
}

TEST_F(RegisterTest, AnIntegerBeyondItsColumnsTypeIsRefusedNotStored) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  d.Append();
  d.FieldByName("CODIGOSISTEMATCE").SetAsString("65537");  // a small integer read back as 1
  d.FieldByName("TIPOCONTA").SetAsInteger(2);
  d.FieldByName("CLASSIFCONTA").SetAsString("1");
  d.FieldByName("DESCRCONTA").SetAsString("Ativo");
  EXPECT_EQ(Recusa(*r), "O valor do campo \"CODIGOSISTEMATCE\" não cabe no campo: 65537 (de -32768 a 32767)!");
  d.Cancel();
  EXPECT_EQ(Contar("TCEPLANO"), 0);
}

TEST_F(RegisterTest, AValueInAFieldTheRowsRulesDisableIsRefused) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  auto nova = [&](int aSistema, int aConta, const char* aIndicador) {
    d.Append();
    d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(aSistema);
    d.FieldByName("CONTATCE").SetAsInteger(aConta);
    d.FieldByName("TIPOCONTA").SetAsInteger(2);
    d.FieldByName("CLASSIFCONTA").SetAsString("1");
    d.FieldByName("DESCRCONTA").SetAsString("Ativo");
    d.FieldByName("INDSUPERAVIT").SetAsString(aIndicador);
  };
  const char* const desabilitado = "O campo \"INDSUPERAVIT\" está desabilitado neste registro e deve ficar em branco!";
  nova(1, 1, "F");
  EXPECT_FALSE(r->CampoHabilitado("INDSUPERAVIT"));
  EXPECT_EQ(Recusa(*r), desabilitado);
  d.FieldByName("INDSUPERAVIT").Clear();
  EXPECT_EQ(Recusa(*r), "");
  nova(2, 1, "F");
  EXPECT_EQ(Recusa(*r), "");
  ASSERT_EQ(r->ApplyUpdates(0), 0);

  // The PR row moved to SC would keep a value that no longer applies.
  ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE;CONTATCE", {TVariant(2), TVariant(1)}));
  r->SetPodeAlterarChave(true);
  d.Edit();
  d.FieldByName("CODIGOSISTEMATCE").SetAsInteger(1);
  d.FieldByName("CONTATCE").SetAsInteger(2);
  EXPECT_EQ(Recusa(*r), desabilitado);
  d.Cancel();

  // A value stored before the rule existed does not stop an edit of the row's other fields.
  ExecutarSQLDireto(
      "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA, INDSUPERAVIT) "
      "values (1, 9, 2, '1', 'Antiga', 'P')");
  r->Abrir();
  ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE;CONTATCE", {TVariant(1), TVariant(9)}));
  d.Edit();
  d.FieldByName("DESCRCONTA").SetAsString("Antiga editada");
  EXPECT_EQ(Recusa(*r), "");
  d.Edit();
  d.FieldByName("INDSUPERAVIT").SetAsString("F");
  EXPECT_EQ(Recusa(*r), desabilitado);
  d.Cancel();
  EXPECT_EQ(r->ApplyUpdates(0), 0);
  auto linhas = ExecutarSQL("select CODIGOSISTEMATCE, CONTATCE, INDSUPERAVIT from TCEPLANO order by 1, 2");
  std::vector<std::string> vistas;
  for (; !linhas->Eof(); linhas->Next())
    vistas.push_back(linhas->Fields(0).AsString() + "/" + linhas->Fields(1).AsString() + "/" + linhas->Fields(2).AsString());
  EXPECT_EQ(vistas, (std::vector<std::string>{"1/1/", "1/9/P", "2/1/F"}));
}

TEST_F(RegisterTest, AReadOnlyFieldCannotBeGivenAValue) {
  auto r = nCriarObjeto<TTesteDMSistema>();
  r->Definicao("MASCPLANOTCE").SomenteLeitura = true;
  r->Definicao("MASCPLANOTCE").Obrigatorio = false;
  r->Abrir();
  TClientDataSet& d = r->nClientDataSet();
  ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE", {TVariant(1)}));
  d.Edit();
  d.FieldByName("DESCRSISTEMATCE").SetAsString("Renomeado");
  EXPECT_EQ(Recusa(*r), "");  // the stored mask stays
  d.Edit();
  d.FieldByName("MASCPLANOTCE").SetAsString("9");
  EXPECT_EQ(Recusa(*r), "O campo \"Máscara Plano\" não pode ser alterado!");
  d.Cancel();
  NovoSistema(*r, "3", "TCE/RS");
  EXPECT_EQ(Recusa(*r), "O campo \"Máscara Plano\" não pode ser alterado!");
}

TEST_F(RegisterTest, TheSelectionGivesTheRowsAndTheListsShowOnTheFields) {
  auto r = nCriarObjeto<TTesteDMPlano>();
  r->SetVerificaSelecao("CodigoSistemaTCE;CodigoEmpresa");
  r->ConfigSobDemanda();
  // A grid over the register shows the list's captions, as the form does.
  EXPECT_EQ(r->nClientDataSet().FieldByName("TIPOCONTA").ValueList, "Analítica=2;Sintética=1");
  TnSelecao::Params().Limpar();
  TnSelecao::Params().Definir("CodigoSistemaTCE", TVariant(2));
  std::vector<TnChaveSelecao> chaves = ChavesSelecao(*r);
  ASSERT_EQ(chaves.size(), 2u);
  EXPECT_EQ(chaves[0].Campo, r->nClientDataSet().FindField("CODIGOSISTEMATCE"));
  ASSERT_TRUE(chaves[0].Valor);
  EXPECT_EQ(chaves[0].Valor->AsInteger(), 2);
  // A key the register has no field for, and one the selection lacks.
  EXPECT_EQ(chaves[1].Chave, "CodigoEmpresa");
  EXPECT_EQ(chaves[1].Campo, nullptr);
  EXPECT_FALSE(chaves[1].Valor);
  EXPECT_EQ(CondicaoSelecao(chaves), "CODIGOSISTEMATCE = 2");
  ExecutarSQLDireto(
      "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values "
      "(1, 1, 1, '1', 'Ativo SC'), (2, 1, 1, '1', 'Ativo PR'), (2, 2, 2, '1.1', 'Caixa PR')");
  r->FetchRegistros(CondicaoSelecao(chaves));
  EXPECT_EQ(r->nClientDataSet().RecordCount(), 2);
  TnSelecao::Params().Limpar();
  EXPECT_EQ(CondicaoSelecao(ChavesSelecao(*r)), "");
}
