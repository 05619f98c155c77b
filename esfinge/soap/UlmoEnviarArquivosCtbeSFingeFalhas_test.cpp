// The SOAP sender against a court that fails each operation of a transfer in each way a court
// or the network does: a SOAP fault, a refusal without a body, a reply that never comes, a
// connection dropped halfway, an HTML page, a reply in Latin-1 declared UTF-8. The second of two
// documents meets the fault: the run never confirms what failed, the error says what went
// wrong and which documents the court had already finished, and the court's words come through.
#include <gtest/gtest.h>

#include "Configuracao_U.h"
#include "ControleMensagem_U.h"
#include "Encoding_U.h"
#include "Exceptions_U.h"
#include "FakeEsfingeSoap_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"
#include "UlmoEnviarArquivosCtbeSFinge_U.h"

using namespace nUlmoEsfingeSoap;
using namespace nFramework;
using nUlmoEsfingeTeste::TFakeTribunal;
using TSabotagem = TFakeTribunal::TSabotagem;

namespace {


std::unique_ptr<TClientDataSet> Contas() {
  auto ds = std::make_unique<TClientDataSet>();
  ds->AddFieldDef("DataInicioPlanoTCE", TFieldType::ftDate);
  for (const char* f : {"CodigoConta", "NomeConta", "DescricaoConta", "IndicativoContaAnalitica", "CodigoContaSintetica",
                        "CodigoContaBancaria"})
    ds->AddFieldDef(f, TFieldType::ftString, 50);
  for (const char* f : {"TipoContaContabil", "NumeroNivel", "TipoNaturezaSaldo", "CodigoBanco", "CodigoAgenciaBancaria"})
    ds->AddFieldDef(f, TFieldType::ftInteger);
  ds->CreateDataSet();
  // Two two-month periods: two documents.
  for (auto [mes, codigo] : {std::pair{1, "1"}, std::pair{3, "2"}})
    ds->AppendRecord({TVariant::FromDate(EncodeDate(2021, mes, 1)), codigo, "Conta", "", "S", "", "", 1, 1, 1, 0, 0});
  return ds;
}

std::unique_ptr<TClientDataSet> Lancamentos() {
  auto ds = std::make_unique<TClientDataSet>();
  for (const char* f : {"NumeroSlip", "CodigoContaContabil", "HistoricoLancamento"}) ds->AddFieldDef(f, TFieldType::ftString, 50);
  for (const char* f : {"NumeroSequencial", "TipoLancamento", "TipoMovimentoContabil", "AnoCriacaoConta"})
    ds->AddFieldDef(f, TFieldType::ftInteger);
  ds->AddFieldDef("ValorLancamento", TFieldType::ftFloat);
  ds->AddFieldDef("DataLancamento", TFieldType::ftDateTime);
  ds->CreateDataSet();
  for (auto [mes, seq] : {std::pair{1, 1}, std::pair{3, 2}})
    ds->AppendRecord({"S", "2", "Hist", seq, 1, 2, 2020, 10.0, TVariant::FromDate(EncodeDate(2021, mes, 5))});
  return ds;
}

// The data reply of the second document: OK (or ERRO) and item 1 rejected in accented words.
std::string RespostaDados(const char* aStatus) {
  return std::string("<S:Envelope><S:Body><return><status>") + aStatus +
         "</status><mensagem>Competência já encerrada</mensagem><dados><e><key>1</key><value><codigo>7</codigo>"
         "<mensagem>Código inválido</mensagem></value></e></dados></return></S:Body></S:Envelope>";
}

struct TCaso {
  const char* Operacao;
  TSabotagem Sabotagem;
  // The error of the run, in part; empty: the run succeeds.
  std::string Erro;
  std::string Tambem = {};
};

const char* const Falha500 = "Problema ao enviar mensagem SOAP!\r\n<soap:Envelope><soap:Body><soap:Fault>";
const char* const Falha401 = "Problema ao enviar mensagem SOAP!\r\nO e-Sfinge recusou a chamada (HTTP 401) sem dizer o motivo.";
const char* const SemResposta = "sem resposta completa em 1 segundo (tempo limite esgotado";
const char* const Caiu = "a conexão caiu no meio da resposta, que chegou incompleta.";

void Rodar(const std::vector<TCaso>& aCasos, bool aLancamentos) {
  const std::string envio = aLancamentos ? "Erro ao enviar Lançamentos! \r\n" : "Erro ao enviar Contas Contábeis! \r\n";
  const std::string finalizado =
      "\r\nJá finalizados no e-Sfinge nesta execução: documento da competência 202101 (1 item).";
  auto aviso = [&](int aItem) {
    return aLancamentos ? " Lançamento: " + std::to_string(aItem) + " Conta: 2 Retorno: 7 - Código inválido"
                        : " Conta: " + std::to_string(aItem) + " Retorno: 7 - Código inválido";
  };
  const std::string dados = aLancamentos ? "lancamentos" : "contas";
  for (const TCaso& c : aCasos) {
    const std::string caso = std::string(c.Operacao) + " com " + NomeSabotagem(c.Sabotagem);
    RestaurarConfiguracao();
    TFakeTribunal tribunal;
    nConfig().SetValor(ChaveProtocolo, "http");
    nConfig().SetValor(ChaveHostProducao, "127.0.0.1:" + std::to_string(tribunal.Porta()));
    nConfig().SetValor(ChaveTimeoutLeitura, "1");
    auto arvore = std::make_shared<TnMsgTreeLista>();
    const std::string operacao = c.Operacao == std::string("dados") ? dados : c.Operacao;
    const bool cancelar = operacao == "cancelarTransferencia";
    tribunal.Responder(dados, 200, RespostaDados("OK"));
    tribunal.Responder(dados, 200, RespostaDados(cancelar ? "ERRO" : "OK"));
    // The cancel comes only in the second document's cycle.
    tribunal.Sabotar(operacao, c.Sabotagem, cancelar ? 1 : 2);
    std::string erro;
    {
      TUlmoEnviarArquivosCtbeSFinge sender("usuario", "senha", "1234");
      sender.SetMsgTreeLista(arvore);
      auto contas = Contas();
      auto lctos = Lancamentos();
      try {
        if (aLancamentos)
          sender.EnviarInformacoesLancamentosWB(*lctos);
        else
          sender.EnviarInformacoesContasWB(*contas);
      } catch (const Exception& e) {
        erro = e.what();
      }
    }
    ControleMensagem().SetFraListaMensagemTree(nullptr);

    std::vector<std::string> confirmacoes, avisos;
    for (const auto& n : arvore->Raizes()) {
      if (n->Tipo == tmConfirmacao) confirmacoes.push_back(n->Texto);
      for (const auto& f : n->Filhos) avisos.push_back(f->Texto);
    }
    for (const std::string& t : avisos) EXPECT_NO_THROW(ValidarUtf8(t)) << caso << ": " << t;
    EXPECT_NO_THROW(ValidarUtf8(erro)) << caso;
    if (c.Erro.empty()) {
      EXPECT_EQ(erro, "") << caso;
      EXPECT_EQ(confirmacoes.size(), 1u) << caso;
      EXPECT_EQ(avisos, (std::vector<std::string>{aviso(1), aviso(2)})) << caso;
      continue;
    }
    EXPECT_TRUE(confirmacoes.empty()) << caso;
    EXPECT_EQ(erro.rfind(envio, 0), 0u) << caso << ": " << erro;
    EXPECT_NE(erro.find(c.Erro), std::string::npos) << caso << ": " << erro;
    if (!c.Tambem.empty()) {
      EXPECT_NE(erro.find(c.Tambem), std::string::npos) << caso << ": " << erro;
    }
    // The first document went through before the fault.
    EXPECT_EQ(erro.size() >= finalizado.size() ? erro.substr(erro.size() - finalizado.size()) : erro, finalizado)
        << caso << ": " << erro;
  }
  RestaurarConfiguracao();
}

const std::string FinalizarIncerto =
    "A transferência do documento da competência 202102 (1 item) pode ter sido finalizada no e-Sfinge; confira-a "
    "antes de reenviar.";
const std::string CancelarFalhou =
    "Competência já encerrada\r\nO cancelamento da transferência também falhou, e ela pode ter ficado aberta no "
    "e-Sfinge: ";

// Every failing cell also checks that the first document is named as finished. The cells not in
// the table are the faults mended, each in a test of its own below.
TEST(EsfingeSoapFalhasTest, EveryOperationOfATransferFailingEveryWay) {
  Rodar(
      {
          {"obterToken", TSabotagem::Atraso, SemResposta},
          {"obterToken", TSabotagem::Queda, Caiu},
          {"obterToken", TSabotagem::Malformada, "Erro ao recuperar Token! \r\n"},
          {"obterToken", TSabotagem::Latin1, ""},
          {"obterSituacaoToken", TSabotagem::Erro500, Falha500},
          {"obterSituacaoToken", TSabotagem::Atraso, SemResposta},
          {"obterSituacaoToken", TSabotagem::Queda, Caiu},
          {"obterSituacaoToken", TSabotagem::Malformada, "Erro ao Inciar Transferência!\r\n"},
          {"obterSituacaoToken", TSabotagem::Latin1, ""},
          {"iniciarTransferencia", TSabotagem::Erro500, Falha500},
          {"iniciarTransferencia", TSabotagem::Atraso, SemResposta},
          {"iniciarTransferencia", TSabotagem::Queda, Caiu},
          {"iniciarTransferencia", TSabotagem::Malformada, "Erro ao Inciar Transferência!\r\n"},
          {"dados", TSabotagem::Erro500, Falha500},
          {"dados", TSabotagem::Atraso, SemResposta},
          {"dados", TSabotagem::Queda, Caiu},
          {"dados", TSabotagem::Malformada,
           "O e-Sfinge não informou a situação do envio (status OK ou ERRO) do documento da competência 202102 (1 "
           "item); a transferência foi cancelada."},
          {"finalizarTransferencia", TSabotagem::Erro500, Falha500},
          {"finalizarTransferencia", TSabotagem::Malformada,
           "Erro ao Finalizar Transferência!<html><body><h1>Serviço temporariamente indisponível"},
          {"finalizarTransferencia", TSabotagem::Latin1, ""},
          // The cancel's reply is not read.
          {"cancelarTransferencia", TSabotagem::Malformada, "\r\nCompetência já encerrada\r\nJá finalizados"},
          {"cancelarTransferencia", TSabotagem::Latin1, "\r\nCompetência já encerrada\r\nJá finalizados"},
      },
      false);
}

TEST(EsfingeSoapFalhasTest, SendingEntriesFailingEveryWay) {
  Rodar(
      {
          {"dados", TSabotagem::Erro500, Falha500},
          {"dados", TSabotagem::Erro401, Falha401},
          {"dados", TSabotagem::Atraso, SemResposta},
          {"dados", TSabotagem::Queda, Caiu},
          {"dados", TSabotagem::Malformada, "O e-Sfinge não informou a situação do envio (status OK ou ERRO)"},
      },
      true);
}

// The second document failed after the first was finished at the court, and the error did not
// say so: the user would send the finished one again.
TEST(EsfingeSoapFalhasTest, FailureAfterAFinishedDocumentDidNotSayItWasFinished) {
  Rodar({{"obterToken", TSabotagem::Erro500, Falha500}}, false);
}

// A refusal with an empty body gave "Problema ao enviar mensagem SOAP!" and nothing more.
TEST(EsfingeSoapFalhasTest, ErrorStatusWithoutABodySaidNothing) {
  Rodar({{"obterToken", TSabotagem::Erro401, Falha401},
         {"obterSituacaoToken", TSabotagem::Erro401, Falha401},
         {"iniciarTransferencia", TSabotagem::Erro401, Falha401},
         {"dados", TSabotagem::Erro401, Falha401},
         {"finalizarTransferencia", TSabotagem::Erro401, Falha401}},
        false);
}

// A reply in Latin-1 declared UTF-8: "Início de transferência liberado" did not match and the
// start was taken for a refusal; the court's item messages reached the tree as broken bytes.
TEST(EsfingeSoapFalhasTest, RepliesInLatin1DeclaredUtf8WereMisreadAsRefusals) {
  Rodar({{"iniciarTransferencia", TSabotagem::Latin1, ""}, {"dados", TSabotagem::Latin1, ""}}, false);
  Rodar({{"dados", TSabotagem::Latin1, ""}}, true);
}

// The court may have finished the document when the finish reply was lost: the error did not
// say so.
TEST(EsfingeSoapFalhasTest, LostFinishReplyLeftTheDocumentsStateUnsaid) {
  Rodar({{"finalizarTransferencia", TSabotagem::Atraso, SemResposta, FinalizarIncerto},
         {"finalizarTransferencia", TSabotagem::Queda, Caiu, FinalizarIncerto}},
        false);
}

// A document the court refused, then a cancel that failed: the error was the cancel's alone,
// without the court's reason, and did not say the transfer might stay open.
TEST(EsfingeSoapFalhasTest, FailedCancelHidTheCourtsRefusalOfTheDocument) {
  Rodar({{"cancelarTransferencia", TSabotagem::Erro500, CancelarFalhou + Falha500},
         {"cancelarTransferencia", TSabotagem::Erro401, CancelarFalhou + Falha401},
         {"cancelarTransferencia", TSabotagem::Atraso, CancelarFalhou + "Falha na comunicação com ", SemResposta},
         {"cancelarTransferencia", TSabotagem::Queda, CancelarFalhou + "Falha na comunicação com ", Caiu}},
        false);
}

}  // namespace
