#include "BancoVazioTeste_U.h"
#include "UlmoEsfingeOnlineEnviarInfoContabil_U.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "Clock_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "ControleMensagem_U.h"
#include "FakeServidorHTTP_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "TestFolder_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

using namespace nFramework;
using namespace nUlmoEsfingeOnline;
namespace fs = std::filesystem;

namespace {

// Grids with the columns the send process fills, and a fake court.
class EsfingeOnlineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestaurarConfiguracao();
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    FConexao->Driver().ExecuteScript("insert into EMPRESA values (1, 'A');");
    nConfig().UrlEsfingeOnline = FFake.Url();
    FTemp = fs::temp_directory_path() / ("ulmo_esonline_" + std::to_string(::getpid()));
    fs::remove_all(FTemp);
    SetDirTemp(FTemp);
    SetClockFixo(EncodeDate(2024, 6, 10) + 0.5);
    FConfig = {1, 1, EncodeDate(2024, 1, 15), EncodeDate(2024, 12, 31), "usr", "UG1", "Vendor", "Soft", "pw"};
    FContas.AddFieldDef("DATAINICIOPLANOTCE", TFieldType::ftDate);
    FContas.AddFieldDef("CODIGOCONTA", TFieldType::ftString, 50);
    FContas.AddFieldDef("NOMECONTA", TFieldType::ftString, 100);
    FContas.AddFieldDef("DESCRICAOCONTA", TFieldType::ftString, 255);
    FContas.AddFieldDef("TIPOCONTACONTABIL", TFieldType::ftInteger);
    FContas.AddFieldDef("INDICATIVOCONTAANALITICA", TFieldType::ftString, 1);
    FContas.AddFieldDef("TIPONATUREZASALDO", TFieldType::ftInteger);
    FContas.AddFieldDef("CODIGOBANCO", TFieldType::ftInteger);
    FContas.AddFieldDef("CODIGOAGENCIABANCARIA", TFieldType::ftInteger);
    FContas.AddFieldDef("CODIGOCONTABANCARIA", TFieldType::ftString, 10);
    FContas.CreateDataSet();
    FContas.AppendRecord({TVariant::FromDate(EncodeDate(2023, 1, 1)), "1.2", "Banco", "", 3, "S", 1, 1, 123, "4567"});
    FContas.AppendRecord({TVariant::FromDate(EncodeDate(2023, 1, 1)), "1.10", "Caixa", "Caixa geral", 3, "S", 1,
                          nullptr, nullptr, ""});
    FContas.AppendRecord({TVariant::FromDate(EncodeDate(2023, 1, 1)), "1.1", "Ativo", "", 1, "N", 1, 0, 0, "12-3"});
    FLctos.AddFieldDef("NUMEROSLIP", TFieldType::ftString, 16);
    FLctos.AddFieldDef("NUMEROSEQUENCIAL", TFieldType::ftInteger);
    FLctos.AddFieldDef("TIPOLANCAMENTO", TFieldType::ftInteger);
    FLctos.AddFieldDef("TIPOMOVIMENTOCONTABIL", TFieldType::ftInteger);
    FLctos.AddFieldDef("ANOCRIACAOCONTA", TFieldType::ftInteger);
    FLctos.AddFieldDef("CODIGOCONTACONTABIL", TFieldType::ftString, 50);
    FLctos.AddFieldDef("VALORLANCAMENTO", TFieldType::ftFloat);
    FLctos.AddFieldDef("HISTORICOLANCAMENTO", TFieldType::ftString, 150);
    FLctos.AddFieldDef("DATALANCAMENTO", TFieldType::ftDateTime);
    FLctos.CreateDataSet();
  }
  void TearDown() override {
    SetClockFixo(std::nullopt);
    SetDirTemp({});
    fs::remove_all(FTemp);
    ControleMensagem().SetFraListaMensagemTree(nullptr);
    SetConexao(nullptr);
    RestaurarConfiguracao();
  }
  void Lcto(int seq, TDateTime data, double valor) {
    FLctos.AppendRecord({"S" + std::to_string(seq), seq, 2, 1, 2023, "1.1", valor, "Hist \"x\"", TVariant::FromDate(data)});
  }
  std::vector<TEnvioLote> Montar() {
    std::vector<TEnvioLote> lista;
    Factory()->GerarDadosEnvio()->Config(FConfig).DataSets(FContas, FLctos).Lista(lista).Executar();
    return lista;
  }
  std::string Texto(const std::string& sql) { return PegarValorCampo("TCEESFINGEONLINEENVIO", sql, "1=1").AsString(); }

  TFakeServidorHTTP FFake;
  std::unique_ptr<TnDMConexao> FConexao;
  fs::path FTemp;
  TRecConfig FConfig;
  TClientDataSet FContas, FLctos;
};

TEST_F(EsfingeOnlineTest, PackagesPerMonthWithEntriesUpToTheCurrentMonth) {
  Lcto(2, EncodeDate(2024, 3, 31) + EncodeTime(23, 59, 0, 0), 0);
  Lcto(1, EncodeDate(2024, 1, 20), 1234.5);
  Lcto(3, EncodeDate(2024, 1, 10), 1);   // before the start date, still January
  Lcto(4, EncodeDate(2024, 7, 1), 5);    // after the current month
  auto lista = Montar();
  ASSERT_EQ(lista.size(), 2u);
  EXPECT_EQ(lista[0].FAnoMes, 202401);
  EXPECT_EQ(lista[1].FAnoMes, 202403);
  ASSERT_EQ(lista[0].FLancamentosContabeis.size(), 2u);
  EXPECT_EQ(lista[0].FLancamentosContabeis[0].FNumeroSequencial, 1);
  EXPECT_EQ(lista[0].FLancamentosContabeis[0].FValorLancamento, "1234.50");
  EXPECT_EQ(lista[1].FLancamentosContabeis[0].FValorLancamento, "0.00");
  EXPECT_EQ(lista[1].FLancamentosContabeis[0].FDataLancamento, "2024-03-31");
  ASSERT_EQ(lista[1].FContasContabeis.size(), 3u);
  EXPECT_EQ(lista[1].FContasContabeis[0].FCodigoContaContabil, "1.1");
  EXPECT_EQ(lista[1].FContasContabeis[1].FCodigoContaContabil, "1.10");
  EXPECT_EQ(lista[1].FContasContabeis[2].FCodigoContaContabil, "1.2");
  EXPECT_EQ(ObjectToJsonString(lista[1].FContasContabeis[2]),
            R"({"anoCriacao":2023,"codigoAgencia":123,"codigoBanco":1,"codigoConta":4567,"codigoContaContabil":"1.2",)"
            R"("codigoContaSintetica":"1","descricaoConta":"Banco","indicativoContaAnalitica":"S","nomeConta":"Banco",)"
            R"("numeroNivel":2,"tipoConta":3,"tipoNaturezaSaldo":1})");
  EXPECT_EQ(lista[1].FContasContabeis[1].FCodigoBanco, 0);
  EXPECT_EQ(lista[1].FContasContabeis[0].FCodigoConta, 0);
  EXPECT_EQ(ObjectToJsonString(lista[1].FLancamentosContabeis[0]),
            R"({"anoCriacao":2023,"codigoContaContabil":"1.1","dataLancamento":"2024-03-31",)"
            R"("historicoLancamento":"Hist \"x\"","numeroSequencial":2,"numeroSlip":"S2","tipoLancamento":2,)"
            R"("tipoMovimentoContabil":1,"valorLancamento":"0.00"})");
  EXPECT_EQ(FLctos.IndexFieldNames(), "");
  EXPECT_EQ(FLctos.RecordCount(), 4);
}

TEST_F(EsfingeOnlineTest, LoginStoresTheTokenThenUpdatesIt) {
  FFake.Responder(200, R"({"chave":"T1"})");
  FFake.Responder(200, R"({"chave":"T2"})");
  EXPECT_EQ(Factory()->GerarToken()->Config(FConfig).Token(), "T1");
  EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "T1");
  EXPECT_EQ(Factory()->GerarToken()->Config(FConfig).Token(), "T2");
  EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "T2");
  auto req = FFake.Requisicoes().at(0);
  EXPECT_EQ(req.Metodo + " " + req.Alvo,
            "POST /esfingeonline/autenticacao/login?codigoUg=UG1&descricaoEmpresaTI=Vendor&descritivoSoftware=Soft");
  EXPECT_EQ(req.Header("codigoAcesso"), "usr");
  EXPECT_EQ(req.Header("senha"), "pw");
}

TEST_F(EsfingeOnlineTest, RefusedLoginStoresNothing) {
  FFake.Responder(401, R"({"mensagem":"Senha inválida"})");
  try {
    Factory()->GerarToken()->Config(FConfig).Token();
    FAIL();
  } catch (const nFramework::Exception& e) {
    EXPECT_EQ(e.Message(), "Erro ao gerar o token. Senha inválida");
  }
  EXPECT_FALSE(PegarTemRegistro("CFGEMPRESATCE", "CODIGOEMPRESA", "1=1"));
}

TEST_F(EsfingeOnlineTest, FailedFinishCancelsThePartialSendAndStopsTheRun) {
  Lcto(1, EncodeDate(2024, 1, 20), 10);
  Lcto(2, EncodeDate(2024, 2, 20), 20);
  Lcto(3, EncodeDate(2024, 3, 20), 30);
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, R"({"chavePacote":"P1"})");
  FFake.Responder(200, "");
  FFake.Responder(200, R"({"codigoRegistroInformacao":"R1"})");
  FFake.Responder(200, R"({"chavePacote":"P2"})");
  FFake.Responder(200, "");
  FFake.Responder(400, R"({"mensagem":"Quantidade divergente"})");
  FFake.Responder(200, "");
  auto tree = std::make_shared<TnMsgTreeLista>();
  TnFraProgresso progresso;
  Factory()->EnviarInfoContabil()->Progresso(progresso).MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();

  const std::string b = "/esfingeonline/v6/registroscontabeis/empresas/";
  EXPECT_EQ(FFake.Chamadas(),
            (std::vector<std::string>{
                "POST /esfingeonline/autenticacao/login?codigoUg=UG1&descricaoEmpresaTI=Vendor&descritivoSoftware=Soft",
                "GET " + b + "iniciarEnvio?anoMes=202401", "POST " + b + "enviarParcial?chavePacote=P1",
                "POST " + b + "finalizarEnvio", "GET " + b + "iniciarEnvio?anoMes=202402",
                "POST " + b + "enviarParcial?chavePacote=P2", "POST " + b + "finalizarEnvio",
                "POST /esfingeonline/servicosGerais/cancelarEnvioParcial?chavePacote=P2"}));
  auto reqs = FFake.Requisicoes();
  EXPECT_EQ(reqs[1].Header("AUTH_TOKEN"), "TK");
  EXPECT_EQ(reqs[2].Corpo.substr(0, 15), R"([{"anoMes":2024)");
  EXPECT_EQ(reqs[3].Corpo, R"({"chavePacote":"P1","quantidadeContaContabil":3,"quantidadeLancamentoContabil":1})");

  ASSERT_EQ(tree->Raizes().size(), 3u);
  EXPECT_EQ(tree->Raizes()[0]->Texto, "Lote 202401: Envio parcial realizado com sucesso.");
  EXPECT_EQ(tree->Raizes()[1]->Texto, "Lote 202402: Envio parcial cancelado.");
  EXPECT_EQ(tree->Raizes()[2]->Texto,
            "Lote 202402: Erro ao realizar envio parcial. Erro ao finalizar o envio parcial. Quantidade divergente");
  EXPECT_EQ(Texto("count(*)"), "1");
  EXPECT_EQ(Texto("COMPETENCIA || '|' || SEQ || '|' || DATAENVIO || '|' || STATUS || '|' || CHAVEPACOTE || '|' || "
                  "CODIGOREGISTROINFORMACAO"),
            "2024-01-01|1|2024-06-10|1|P1|R1");
  int copias = 0;
  for (const auto& e : fs::directory_iterator(FTemp)) copias += e.path().filename().string().rfind("JsonEnvio", 0) == 0;
  EXPECT_EQ(copias, 2);
  EXPECT_FALSE(progresso.Visivel());
}

TEST_F(EsfingeOnlineTest, StartWithoutProfileOrKeyStopsBeforeSending) {
  Lcto(1, EncodeDate(2024, 1, 20), 10);
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(403, R"({"mensagem":"UNAUTHORIZED"})");
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, R"({"outra":1})");
  auto tree = std::make_shared<TnMsgTreeLista>();
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  ASSERT_EQ(tree->Raizes().size(), 1u);
  EXPECT_EQ(tree->Raizes()[0]->Texto.rfind("Para envio de Registros Contábeis, é necessário no TCE/SC", 0), 0u);
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  ASSERT_EQ(tree->Raizes().size(), 1u);
  EXPECT_EQ(tree->Raizes()[0]->Texto, "Erro ao iniciar o envio. O e-Sfinge não retornou a chave do pacote.");
  EXPECT_EQ(FFake.Chamadas().size(), 4u);
  EXPECT_EQ(Texto("count(*)"), "0");
}

TEST_F(EsfingeOnlineTest, CancelByReceiptMarksTheRowOrReportsTheError) {
  FConexao->Driver().ExecuteScript(
      "insert into TCEESFINGEONLINEENVIO values (1, '2024-03-01', 1, '2024-04-02', 1, 'K1', 'R1'),"
      " (1, '2024-04-01', 1, '2024-05-02', 1, 'K2', 'R2');");
  auto tree = std::make_shared<TnMsgTreeLista>();
  ControleMensagem().SetFraListaMensagemTree(tree);
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(500, R"({"mensagem":"Lote em análise"})");
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, "");
  TRecDadosEnvio d1{1, EncodeDate(2024, 3, 1), 1, EncodeDate(2024, 4, 2), TnStatusEnvio::tsFinalizado, "K1", "R1"};
  TRecDadosEnvio d2{1, EncodeDate(2024, 4, 1), 1, EncodeDate(2024, 5, 2), TnStatusEnvio::tsFinalizado, "K2", "R2"};
  Factory()->CancelarLote()->Config(FConfig).Dados(d1).Executar();
  Factory()->CancelarLote()->Config(FConfig).Dados(d2).Executar();
  ASSERT_EQ(tree->Raizes().size(), 2u);
  EXPECT_EQ(tree->Raizes()[0]->Texto.rfind("Erro ao cancelar o lote (Data: ", 0), 0u);
  EXPECT_NE(tree->Raizes()[0]->Texto.find(" - Seq: 1 - Recibo: R1): Lote em análise"), std::string::npos);
  EXPECT_EQ(tree->Raizes()[1]->Texto.rfind("Lote cancelado com sucesso (Data: ", 0), 0u);
  auto reqs = FFake.Requisicoes();
  EXPECT_EQ(reqs[3].Alvo,
            "/esfingeonline/servicosGerais/cancelarPorCodigoRegistroInformacao?identificadorUnidadeGestora=UG1");
  EXPECT_EQ(reqs[3].Corpo, R"({"codigoRegistro":"R2","justificativa":""})");
  EXPECT_EQ(PegarValorCampo("TCEESFINGEONLINEENVIO", "STATUS", "CHAVEPACOTE = 'K1'").AsInteger(), 1);
  EXPECT_EQ(PegarValorCampo("TCEESFINGEONLINEENVIO", "STATUS", "CHAVEPACOTE = 'K2'").AsInteger(), 0);
}

// Texts of the tree's top lines, each prefixed with its kind.
std::vector<std::string> Linhas(const TnMsgTreeLista& aArvore) {
  std::vector<std::string> r;
  for (const auto& n : aArvore.Raizes()) r.push_back(std::string(NomeTipoMensagem(n->Tipo)) + " " + n->Texto);
  return r;
}

bool TemSucesso(const TnMsgTreeLista& aArvore) {
  for (const auto& l : Linhas(aArvore))
    if (l.find("sucesso") != std::string::npos) return true;
  return false;
}

const std::string Login =
    "POST /esfingeonline/autenticacao/login?codigoUg=UG1&descricaoEmpresaTI=Vendor&descritivoSoftware=Soft";
const std::string Base = "/esfingeonline/v6/registroscontabeis/empresas/";

TEST_F(EsfingeOnlineTest, FinishReplyWithoutReceiptIsAnErrorNamingTheMonthAndPackageKeyNotASuccess) {
  Lcto(1, EncodeDate(2024, 1, 20), 10);
  Lcto(2, EncodeDate(2024, 2, 20), 20);
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, R"({"chavePacote":"P1"})");
  FFake.Responder(200, "");
  FFake.Responder(200, R"({"codigoRegistroInformacao":""})");
  FFake.Responder(200, "");  // the partial send is cancelled
  auto tree = std::make_shared<TnMsgTreeLista>();
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  EXPECT_EQ(FFake.Chamadas(),
            (std::vector<std::string>{Login, "GET " + Base + "iniciarEnvio?anoMes=202401",
                                      "POST " + Base + "enviarParcial?chavePacote=P1", "POST " + Base + "finalizarEnvio",
                                      "POST /esfingeonline/servicosGerais/cancelarEnvioParcial?chavePacote=P1"}));
  EXPECT_EQ(Linhas(*tree), (std::vector<std::string>{
                               "AVISO Lote 202401: Envio parcial cancelado.",
                               "ERRO Lote 202401: Erro ao realizar envio parcial. Erro ao finalizar o envio parcial. "
                               "O e-Sfinge não retornou o recibo de fechamento do pacote P1."}));
  EXPECT_EQ(Texto("count(*)"), "0");

  // An unreadable reply whose cancel fails too: the package may be left at the court, so the
  // message says so, with the key and the copy of what was sent.
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, R"({"chavePacote":"P2"})");
  FFake.Responder(200, "");
  FFake.Responder(200, "<html>Servico em manutencao</html>");
  FFake.Responder(500, R"({"mensagem":"Pacote inexistente"})");
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  ASSERT_EQ(tree->Raizes().size(), 1u);
  const std::string erro = Linhas(*tree)[0];
  EXPECT_EQ(erro.rfind("ERRO Lote 202401: Erro ao realizar envio parcial. Erro ao finalizar o envio parcial. "
                       "O e-Sfinge não retornou o recibo de fechamento do pacote P2. O cancelamento do envio parcial "
                       "também falhou: o pacote P2 pode ter ficado aberto ou finalizado no e-Sfinge; confira-o antes de "
                       "reenviar o mês. Cópia do lote: " + (FTemp / "JsonEnvioEsfingeOnline_").string(), 0),
            0u)
      << erro;
  EXPECT_FALSE(TemSucesso(*tree));
  EXPECT_EQ(Texto("count(*)"), "0");
}

TEST_F(EsfingeOnlineTest, LoginReplyWithoutKeyIsALoginErrorAndKeepsTheStoredToken) {
  FFake.Responder(200, R"({"chave":"T1"})");
  FFake.Responder(200, R"({"outra":1})");
  FFake.Responder(200, R"({"chave":""})");
  FFake.Responder(200, R"({"chave":null})");
  FFake.Responder(200, "");
  EXPECT_EQ(Factory()->GerarToken()->Config(FConfig).Token(), "T1");
  for (int i = 0; i < 4; ++i) {
    try {
      Factory()->GerarToken()->Config(FConfig).Token();
      ADD_FAILURE() << "login " << i << " sem erro";
    } catch (const nFramework::Exception& e) {
      EXPECT_EQ(e.Message(), i < 3 ? "Erro ao gerar o token. O e-Sfinge não retornou a chave de acesso."
                                   : "Erro ao gerar o token. A resposta do login não é um objeto JSON.");
    }
    EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "T1");
  }

  // In a run nothing more goes out.
  Lcto(1, EncodeDate(2024, 1, 20), 10);
  FFake.Responder(200, R"({"token":"TK"})");
  auto tree = std::make_shared<TnMsgTreeLista>();
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  EXPECT_EQ(Linhas(*tree),
            (std::vector<std::string>{"ERRO Erro ao gerar o token. O e-Sfinge não retornou a chave de acesso."}));
  EXPECT_EQ(FFake.Chamadas().size(), 6u);
  EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "T1");
}

// The login key goes into the header of every later call: one with a line break would have
// been stored and then written headers of its own.
TEST_F(EsfingeOnlineTest, LoginKeyWithALineBreakWouldHaveWrittenHeaders) {
  FFake.Responder(200, "{\"chave\":\"TK\\r\\nX-Injected: 1\"}");
  try {
    Factory()->GerarToken()->Config(FConfig).Token();
    FAIL() << "sem erro";
  } catch (const nFramework::Exception& e) {
    EXPECT_EQ(e.Message(), "Erro ao gerar o token. O e-Sfinge retornou uma chave de acesso com quebra de linha ou "
                           "outro caractere de controle.");
  }
  EXPECT_FALSE(PegarTemRegistro("CFGEMPRESATCE", "CODIGOEMPRESA", "1=1"));
}

TEST_F(EsfingeOnlineTest, ReceiptThatCannotBeStoredNamesMonthKeyAndCodePlainly) {
  CriarGatilhoFalha(*FConexao, "sem_espaco", "insert", "TCEESFINGEONLINEENVIO", "disco cheio");
  Lcto(1, EncodeDate(2024, 1, 20), 10);
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, R"({"chavePacote":"P1"})");
  FFake.Responder(200, "");
  FFake.Responder(200, R"({"codigoRegistroInformacao":"R1"})");
  auto tree = std::make_shared<TnMsgTreeLista>();
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  ASSERT_EQ(tree->Raizes().size(), 1u);
  const std::string erro = Linhas(*tree)[0];
  EXPECT_EQ(erro.rfind("ERRO Erro ao gravar o recibo: Lote 202401, chave do pacote P1, recibo R1: o lote está "
                       "finalizado no e-Sfinge, mas o recibo não foi gravado. Erro no banco de dados: disco cheio",
                       0),
            0u)
      << erro;
  EXPECT_FALSE(TemSucesso(*tree));
}

// Several company accounts mapped to one court account: each package carries it once, with
// the data of the first; the grid keeps its rows, and differing data are reported.
TEST_F(EsfingeOnlineTest, CourtAccountOfSeveralCompanyAccountsGoesOncePerPackage) {
  TClientDataSet contas;
  contas.AddFieldDef("DATAINICIOPLANOTCE", TFieldType::ftDate);
  contas.AddFieldDef("CONTACTB", TFieldType::ftFloat);
  contas.AddFieldDef("CODIGOCONTA", TFieldType::ftString, 50);
  contas.AddFieldDef("NOMECONTA", TFieldType::ftString, 100);
  contas.AddFieldDef("CODIGOBANCO", TFieldType::ftInteger);
  contas.CreateDataSet();
  const TVariant d2023 = TVariant::FromDate(EncodeDate(2023, 1, 1));
  contas.AppendRecord({d2023, 8, "1.1.1", "Bancos", 1});
  contas.AppendRecord({d2023, 5, "1.1.2", "Caixa", nullptr});
  contas.AppendRecord({d2023, 9, "1.1.1", "Bancos", 104});
  contas.AppendRecord({d2023, 6, "1.1.2", "Caixa", nullptr});
  contas.AppendRecord({d2023, 10, "1.1.1", "Bancos", 237});
  contas.AppendRecord({TVariant::FromDate(EncodeDate(2024, 1, 1)), 7, "1.1.2", "Caixa", nullptr});
  Lcto(1, EncodeDate(2024, 1, 20), 10);
  Lcto(2, EncodeDate(2024, 2, 20), 10);
  auto tree = std::make_shared<TnMsgTreeLista>();
  ControleMensagem().SetFraListaMensagemTree(tree);
  std::vector<TEnvioLote> lista;
  Factory()->GerarDadosEnvio()->Config(FConfig).DataSets(contas, FLctos).Lista(lista).Executar();
  ASSERT_EQ(lista.size(), 2u);
  for (const auto& lote : lista) {
    std::vector<std::string> itens;
    for (const auto& c : lote.FContasContabeis)
      itens.push_back(c.FCodigoContaContabil + "/" + std::to_string(c.FAnoCriacao) + "/" + std::to_string(c.FCodigoBanco));
    EXPECT_EQ(itens, (std::vector<std::string>{"1.1.1/2023/1", "1.1.2/2023/0", "1.1.2/2024/0"}));
  }
  EXPECT_EQ(contas.RecordCount(), 6);
  const TnMsgNode* grupo = tree->EncontrarNode("CONTASTCEREPETIDAS");
  ASSERT_NE(grupo, nullptr);
  ASSERT_EQ(grupo->Filhos.size(), 1u);
  EXPECT_EQ(grupo->Filhos[0]->Texto,
            " Conta TCE 1.1.1 (2023): enviada uma vez, com os dados da conta contábil 8; as contas contábeis 9, 10 "
            "têm outros dados (descrição, natureza ou dados bancários), que não foram enviados.");
}

// Earlier runs stored a receipt row with an empty code: cancelling it by receipt can only fail.
TEST_F(EsfingeOnlineTest, CancelOfARowWithoutReceiptCodeNamesThePackageKeyAndCallsNothing) {
  auto tree = std::make_shared<TnMsgTreeLista>();
  ControleMensagem().SetFraListaMensagemTree(tree);
  TRecDadosEnvio d{1, EncodeDate(2024, 3, 1), 2, EncodeDate(2024, 4, 2), TnStatusEnvio::tsFinalizado, "K9", " "};
  Factory()->CancelarLote()->Config(FConfig).Dados(d).Executar();
  ASSERT_EQ(tree->Raizes().size(), 1u);
  EXPECT_EQ(Linhas(*tree)[0], "ERRO Erro ao cancelar o lote (Data: " + DateToStr(EncodeDate(2024, 3, 1)) +
                                  " - Seq: 2 - Recibo:  ): o lote não tem recibo de fechamento; procure-o no e-Sfinge "
                                  "pela chave do pacote K9.");
  EXPECT_TRUE(FFake.Chamadas().empty());
}

std::string ErroLogin(const TRecConfig& aConfig) {
  try {
    Factory()->GerarToken()->Config(aConfig).Token();
  } catch (const nFramework::Exception& e) {
    return e.Message();
  }
  return "(sem erro)";
}

TEST_F(EsfingeOnlineTest, TimeoutsAndTrustedAuthoritiesComeFromTheConfiguration) {
  nConfig().SetValor(ChaveTimeoutLeituraOnline, "1");
  FFake.Responder(200, R"({"chave":"T1"})", 2500);
  auto inicio = std::chrono::steady_clock::now();
  EXPECT_EQ(ErroLogin(FConfig), "Erro ao gerar o token. Falha na comunicação com " + FFake.Url() +
                                    "/esfingeonline/autenticacao/login?codigoUg=UG1&descricaoEmpresaTI=Vendor&"
                                    "descritivoSoftware=Soft: sem resposta completa em 1 segundo (tempo limite "
                                    "esgotado; o limite é configurável no ulmo.toml).");
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(2000));
  nConfig().SetValor(ChaveTimeoutConexaoOnline, "trinta");
  EXPECT_EQ(ErroLogin(FConfig),
            "Erro ao gerar o token. Configuração inválida: esfinge.online_timeout_conexao deve ser um número inteiro "
            "de segundos de 1 a 86400, e não \"trinta\".");

  TFakeServidorHTTP tls(true);
  tls.Responder(200, R"({"chave":"T2"})");
  RestaurarConfiguracao();
  nConfig().UrlEsfingeOnline = tls.Url();
  EXPECT_NE(ErroLogin(FConfig).find("o certificado do servidor não foi aceito"), std::string::npos);
  nConfig().SetValor("esfinge.ca_extra", tls.CaArquivo());
  EXPECT_EQ(Factory()->GerarToken()->Config(FConfig).Token(), "T2");
}

TEST_F(EsfingeOnlineTest, CredentialsNeverGoOverPlainHttpToAnotherMachine) {
  nConfig().UrlEsfingeOnline = "http://192.0.2.1:8080";
  EXPECT_EQ(ErroLogin(FConfig),
            "Erro ao gerar o token. Endereço recusado: http://192.0.2.1 não usa https://, e a chamada levaria usuário, "
            "senha ou token sem criptografia. Use https:// (http:// só é aceito para este computador: 127.0.0.1, ::1 "
            "ou localhost).");
  EXPECT_FALSE(PegarTemRegistro("CFGEMPRESATCE", "CODIGOEMPRESA", "1=1"));
}

TEST_F(EsfingeOnlineTest, NothingToSendIsAnErrorAndNoLogin) {
  FConexao->Driver().ExecuteScript("insert into CFGEMPRESATCE (CODIGOEMPRESA, TOKENESFINGE) values (1, 'ANTIGO');");
  auto tree = std::make_shared<TnMsgTreeLista>();
  TClientDataSet vazio;
  vazio.AddFieldDef("CODIGOCONTA", TFieldType::ftString, 50);
  vazio.CreateDataSet();
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(vazio, FLctos).Enviar();
  EXPECT_EQ(Linhas(*tree), (std::vector<std::string>{"ERRO Nenhum registro marcado para envio."}));
  Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
  ASSERT_EQ(tree->Raizes().size(), 1u);
  EXPECT_EQ(Linhas(*tree)[0].rfind("ERRO Nenhum lançamento marcado para envio.", 0), 0u);
  EXPECT_TRUE(FFake.Chamadas().empty());
  EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "ANTIGO");
}

}  // namespace

namespace {

// One January package accepted by the court.
class CopiasDosLotesTest : public EsfingeOnlineTest {
 protected:
  std::shared_ptr<TnMsgTreeLista> EnviarUmLote() {
    Lcto(1, EncodeDate(2024, 1, 20), 10);
    FFake.Responder(200, R"({"chave":"TK"})");
    FFake.Responder(200, R"({"chavePacote":"P1"})");
    FFake.Responder(200, "");
    FFake.Responder(200, R"({"codigoRegistroInformacao":"R1"})");
    auto tree = std::make_shared<TnMsgTreeLista>();
    Factory()->EnviarInfoContabil()->MsgTree(tree).Config(FConfig).DataSets(FContas, FLctos).Enviar();
    return tree;
  }
  static std::vector<fs::path> Copias(const fs::path& pasta) {
    std::vector<fs::path> r;
    for (const auto& e : fs::directory_iterator(pasta))
      if (e.path().filename().string().rfind("JsonEnvioEsfingeOnline_", 0) == 0) r.push_back(e.path());
    return r;
  }
  static fs::perms Modo(const fs::path& p) { return fs::symlink_status(p).permissions() & fs::perms::all; }
};

// The copies hold the company's accounting: they went to a folder and files that every user of
// the machine could read.
TEST_F(CopiasDosLotesTest, CopiaDoLoteFicavaLegivelPorOutrosUsuarios) {
  auto tree = EnviarUmLote();
  EXPECT_EQ(Linhas(*tree), (std::vector<std::string>{"OK Lote 202401: Envio parcial realizado com sucesso."}));
  ASSERT_EQ(Copias(FTemp).size(), 1u);
  EXPECT_EQ(Modo(FTemp), fs::perms::owner_all);
  EXPECT_EQ(Modo(Copias(FTemp)[0]), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(CopiasDosLotesTest, PastaDeCopiasQueEUmLinkOuDeOutroUsuarioERecusadaAntesDoLogin) {
  TTestFolder dir;
  fs::create_directories(dir / "alheia");
  fs::create_directory_symlink(dir / "alheia", FTemp);
  auto tree = EnviarUmLote();
  ASSERT_EQ(Linhas(*tree).size(), 1u);
  EXPECT_EQ(Linhas(*tree)[0], "ERRO A pasta das cópias dos lotes do e-Sfinge online \"" + FTemp.string() +
                                  "\" não é segura: é um link simbólico. Apague-a ou informe outra pasta em "
                                  "esfinge.pasta_copias no ulmo.toml.");
  EXPECT_TRUE(FFake.Chamadas().empty());
  EXPECT_TRUE(fs::is_empty(dir / "alheia"));

  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
  fs::remove(FTemp);
  fs::create_directories(FTemp);
  ASSERT_EQ(::chown(FTemp.c_str(), 4242, 4242), 0);
  tree = EnviarUmLote();
  ASSERT_EQ(Linhas(*tree).size(), 1u);
  EXPECT_NE(Linhas(*tree)[0].find("não é segura: pertence a outro usuário"), std::string::npos) << Linhas(*tree)[0];
  EXPECT_TRUE(FFake.Chamadas().empty());
}

TEST_F(CopiasDosLotesTest, PastaDasCopiasVemDoUlmoTomlEOutrosNaoPodemTerAcesso) {
  TTestFolder dir;
  nConfig().SetValor("esfinge.pasta_copias", (dir / "copias").string());
  EnviarUmLote();
  EXPECT_FALSE(fs::exists(FTemp));
  ASSERT_EQ(Copias(dir / "copias").size(), 1u);
  EXPECT_EQ(Modo(dir / "copias"), fs::perms::owner_all);
  // A folder the user named is not changed behind their back: one others can enter is refused.
  fs::permissions(dir / "copias", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  auto tree = EnviarUmLote();
  ASSERT_EQ(Linhas(*tree).size(), 1u);
  EXPECT_NE(Linhas(*tree)[0].find("não é segura: outros usuários têm acesso a ela"), std::string::npos)
      << Linhas(*tree)[0];
}

TEST_F(CopiasDosLotesTest, CopiasAntigasFicavamParaSempre) {
  fs::create_directories(FTemp);
  auto velho = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 31);
  auto recente = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 29);
  for (const char* nome : {"JsonEnvioEsfingeOnline_230101120000000.txt", "outro_arquivo.txt"}) {
    WriteBytes(FTemp / nome, "{}");
    fs::last_write_time(FTemp / nome, velho);
  }
  WriteBytes(FTemp / "JsonEnvioEsfingeOnline_240510120000000.txt", "{}");
  fs::permissions(FTemp / "JsonEnvioEsfingeOnline_240510120000000.txt", fs::perms(0644));
  fs::last_write_time(FTemp / "JsonEnvioEsfingeOnline_240510120000000.txt", recente);
  EnviarUmLote();
  // Older than the 30 days kept by default: removed; a younger one is kept, made private.
  EXPECT_FALSE(fs::exists(FTemp / "JsonEnvioEsfingeOnline_230101120000000.txt"));
  EXPECT_TRUE(fs::exists(FTemp / "outro_arquivo.txt"));
  EXPECT_EQ(Modo(FTemp / "JsonEnvioEsfingeOnline_240510120000000.txt"), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Copias(FTemp).size(), 2u);

  nConfig().SetValor("esfinge.copias_dias", "0");  // kept for ever
  fs::last_write_time(FTemp / "JsonEnvioEsfingeOnline_240510120000000.txt", velho);
  FLctos.EmptyDataSet();
  EnviarUmLote();
  EXPECT_EQ(Copias(FTemp).size(), 3u);
  nConfig().SetValor("esfinge.copias_dias", "trinta");
  auto tree = EnviarUmLote();
  ASSERT_EQ(Linhas(*tree).size(), 1u);
  EXPECT_EQ(Linhas(*tree)[0], "ERRO Configuração inválida: esfinge.copias_dias deve ser um número inteiro de dias de 0 "
                              "a 3650, e não \"trinta\".");
}

}  // namespace
