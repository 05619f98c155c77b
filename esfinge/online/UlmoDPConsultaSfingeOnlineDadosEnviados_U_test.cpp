#include "BancoVazioTeste_U.h"
#include "UlmoDPConsultaSfingeOnlineDadosEnviados_U.h"

#include <gtest/gtest.h>

#include <set>

#include "ClassRegistry_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Dicionario_U.h"
#include "ControleMensagem_U.h"
#include "FakeServidorHTTP_U.h"
#include "SQL_U.h"
#include "Schema_U.h"

using namespace nFramework;
using namespace nUlmoEsfingeOnline;

namespace {

class ConsultaSfingeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestaurarConfiguracao();
    nConfig().UrlEsfingeOnline = FFake.Url();
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    FConexao->Driver().ExecuteScript(
        "insert into EMPRESA values (1, 'A'), (2, 'B');"
        "insert into TCEESFINGEONLINEENVIO values (1, '2024-03-01', 1, '2024-04-02', 0, 'K1', 'R1'),"
        " (1, '2024-03-01', 2, '2024-04-03', 1, 'K2', 'R2'), (1, '2024-04-01', 1, '2024-05-02', 1, 'K3', 'R3'),"
        " (2, '2024-04-01', 1, '2024-05-02', 1, 'K9', 'R9');");
    TnSelecao::Params().Limpar();
    FProcesso = nCriarObjeto<TUlmoDPConsultaSfingeOnlineDadosEnviados>();
    Set("pCodigoSistemaTCE", "1");
    Set("pCodigoEmpresa", "1");
    Set("pCompetenciaInicial", "01/03/2024");
    Set("pCompetenciaFinal", "30/04/2024");
  }
  void TearDown() override {
    FProcesso.reset();
    SetConexao(nullptr);
    RestaurarConfiguracao();
  }
  void Set(const char* alias, const char* valor) { FProcesso->Param(alias).SetValue(valor); }
  std::vector<std::string> Textos() {
    std::vector<std::string> r;
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes()) r.push_back(n->Texto);
    return r;
  }
  void Marcar(const char* chave) {
    auto& cds = FProcesso->nClientDataSet();
    ASSERT_TRUE(cds.Locate("CHAVEPACOTE", {chave}));
    cds.Edit();
    cds.FieldByName("SELECIONADO").SetAsInteger(1);
    cds.Post();
  }
  int Status(const char* chave) {
    return PegarValorCampo("TCEESFINGEONLINEENVIO", "STATUS", std::string("CHAVEPACOTE = '") + chave + "'").AsInteger();
  }

  TFakeServidorHTTP FFake;
  std::unique_ptr<TnDMConexao> FConexao;
  std::unique_ptr<TUlmoDPConsultaSfingeOnlineDadosEnviados> FProcesso;
};

// The cancellation logs in with these values: a line break in one wrote a header of its own.
TEST_F(ConsultaSfingeTest, AccessValueWithALineBreakReachedTheCourtAsAHeader) {
  for (const char* alias : {"pUsuario", "pSenha", "pUnidadeGestora"}) {
    Set(alias, "usuario\r\nX-Injected: 1");
    try {
      FProcesso->ValidarDado();
      ADD_FAILURE() << alias << " aceito";
    } catch (const EnParam& e) {
      EXPECT_EQ(e.Alias(), alias);
      EXPECT_EQ(e.Message(), "O valor de \"" + e.Caption() +
                                 "\" não pode ter quebra de linha, tabulação nem outro caractere de controle.");
    }
    Set(alias, "");
  }
  FProcesso->ValidarDado();
}

TEST_F(ConsultaSfingeTest, ListsTheCompanysReceiptsOfTheRange) {
  nExecutarProcesso(*FProcesso);
  EXPECT_EQ(Textos(), (std::vector<std::string>{"Dados carregados com sucesso!"}));
  auto& cds = FProcesso->nClientDataSet();
  EXPECT_EQ(cds.RecordCount(), 3);
  ASSERT_TRUE(cds.Locate("CHAVEPACOTE", {"K3"}));
  EXPECT_EQ(cds.FieldByName("LOTE").AsInteger(), 202404);
  EXPECT_EQ(cds.FieldByName("STATUS").AsString(), "1");
  Set("pCompetenciaInicial", "02/03/2024");  // a start after the first leaves March out
  nExecutarProcesso(*FProcesso);
  EXPECT_EQ(cds.RecordCount(), 1);
}

TEST_F(ConsultaSfingeTest, CancellationNeedsTheAccessValuesOfTheLastListRun) {
  nExecutarProcesso(*FProcesso);
  Set("pUsuario", "u");
  Set("pSenha", "s");
  Set("pUnidadeGestora", "UG");
  Marcar("K2");
  FProcesso->ActCancelarRemessaExecute();
  EXPECT_EQ(Textos(), (std::vector<std::string>{
                          "Para realizar o cancelamento é necessário preencher os parâmetros de acesso."}));
  // Nothing was cancelled: an error, so the run fails.
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Raizes()[0]->Tipo, tmErro);
  EXPECT_TRUE(FFake.Chamadas().empty());
}

TEST_F(ConsultaSfingeTest, CancelsOnlyTickedFinishedRowsAndReloads) {
  Set("pUsuario", " u ");
  Set("pSenha", "s");
  Set("pUnidadeGestora", "UG");
  nExecutarProcesso(*FProcesso);
  Marcar("K1");  // already cancelled: not sent again
  Marcar("K3");
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, "");
  FProcesso->ActCancelarRemessaExecute();
  auto chamadas = FFake.Chamadas();
  ASSERT_EQ(chamadas.size(), 2u);
  EXPECT_EQ(FFake.Requisicoes()[0].Header("codigoAcesso"), "u");
  // A vendor name with a blank still gives a valid login address.
  EXPECT_EQ(chamadas[0], "POST /esfingeonline/autenticacao/login?codigoUg=UG&descricaoEmpresaTI=Ulmo%20Sistemas&descritivoSoftware=Ulmo");
  EXPECT_EQ(FFake.Requisicoes()[1].Corpo, R"({"codigoRegistro":"R3","justificativa":""})");
  EXPECT_EQ(Status("K3"), 0);
  EXPECT_EQ(Status("K2"), 1);
  auto& cds = FProcesso->nClientDataSet();
  EXPECT_FALSE(cds.Filtered());
  EXPECT_EQ(cds.RecordCount(), 3);
  ASSERT_TRUE(cds.Locate("CHAVEPACOTE", {"K3"}));
  EXPECT_EQ(cds.FieldByName("STATUS").AsString(), "0");
  EXPECT_EQ(cds.FieldByName("SELECIONADO").AsInteger(), 0);
  // The cancelled row ticked is named, not silently left out.
  ASSERT_EQ(Textos().size(), 2u);
  EXPECT_EQ(Textos()[0], "Lote 202403 (Seq 1) já está cancelado: não foi enviado de novo.");
  EXPECT_EQ(Textos()[1].rfind("Lote cancelado com sucesso (Data: ", 0), 0u);
}

TEST_F(ConsultaSfingeTest, CancellingWithNoFinishedRowTickedSaysSoAndCallsNothing) {
  Set("pUsuario", "u");
  Set("pSenha", "s");
  Set("pUnidadeGestora", "UG");
  nExecutarProcesso(*FProcesso);
  FProcesso->ActCancelarRemessaExecute();
  EXPECT_EQ(Textos(), (std::vector<std::string>{"Nenhum lote marcado para cancelamento."}));
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Raizes()[0]->Tipo, tmErro);
  Marcar("K1");  // already cancelled
  FProcesso->ActCancelarRemessaExecute();
  EXPECT_EQ(Textos(), (std::vector<std::string>{
                          "Nenhum lote finalizado marcado para cancelamento: os lotes marcados já estão cancelados."}));
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Raizes()[0]->Tipo, tmErro);
  EXPECT_TRUE(FFake.Chamadas().empty());
  EXPECT_EQ(Status("K1"), 0);
}

TEST_F(ConsultaSfingeTest, ReceiptGridShowsStatusByNameAndOnlyTheTickIsEditable) {
  nExecutarProcesso(*FProcesso);
  EXPECT_EQ(FProcesso->DataSetsGrade(), (std::vector<std::string>{"nClientDataSet"}));
  auto& cds = FProcesso->nClientDataSet();
  EXPECT_EQ(cds.CampoMarca, "SELECIONADO");
  EXPECT_EQ(cds.FieldByName("SELECIONADO").DisplayLabel, "Selecionado");
  for (int i = 0; i < cds.FieldCount(); ++i)
    EXPECT_EQ(cds.Fields(i).ReadOnly, cds.Fields(i).FieldName() != "SELECIONADO") << cds.Fields(i).FieldName();
  EXPECT_FALSE(cds.FieldByName("CODIGOEMPRESA").Visible);
  auto mostrado = [](const TField& f) {
    for (const auto& [caption, valor] : ItensLista(f.ValueList))
      if (valor == f.AsString()) return caption;
    return std::string("(sem rótulo)");
  };
  ASSERT_TRUE(cds.Locate("CHAVEPACOTE", {"K1"}));
  EXPECT_EQ(mostrado(cds.FieldByName("STATUS")), "Cancelado");
  ASSERT_TRUE(cds.Locate("CHAVEPACOTE", {"K2"}));
  EXPECT_EQ(mostrado(cds.FieldByName("STATUS")), "Finalizado");
  // Month and sequence name one package of the company.
  std::set<std::string> chaves;
  for (cds.First(); !cds.Eof(); cds.Next())
    chaves.insert(cds.FieldByName("LOTE").AsString() + "/" + cds.FieldByName("SEQ").AsString());
  EXPECT_EQ(cds.CamposChave, "LOTE;SEQ");
  EXPECT_EQ(chaves.size(), 3u);
}

}  // namespace

TEST_F(ConsultaSfingeTest, AStartAfterTheEndOrAnUnknownCompanyListedNothingWithoutAWord) {
  auto erro = [&] {
    try {
      nExecutarProcesso(*FProcesso);
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return std::string();
  };
  Set("pCompetenciaInicial", "01/05/2024");
  EXPECT_EQ(erro(), "pCompetenciaFinal: A Data Final não pode ser anterior à Data Inicial");
  Set("pCompetenciaInicial", "01/01/0001");
  EXPECT_EQ(erro(), "pCompetenciaInicial: Data inicial inválida!");
  Set("pCompetenciaInicial", "01/03/2024");
  Set("pCompetenciaFinal", "31/12/9999");
  EXPECT_EQ(erro(), "pCompetenciaFinal: Data final inválida!");
  Set("pCompetenciaFinal", "30/04/2024");
  for (const char* empresa : {"77", "-1", "0"}) {
    Set("pCodigoEmpresa", empresa);
    EXPECT_EQ(erro(), "pCodigoEmpresa: Empresa inválida!") << empresa;
  }
  EXPECT_EQ(FProcesso->nClientDataSet().RecordCount(), 0);
  Set("pCodigoEmpresa", "1");
  EXPECT_EQ(erro(), "");
  EXPECT_EQ(FProcesso->nClientDataSet().RecordCount(), 3);
}
