// A fake e-Sfinge SOAP court for tests: on 127.0.0.1 at an ephemeral port it records every
// request and answers each operation (obterToken, obterSituacaoToken, iniciarTransferencia,
// contas, lancamentos, finalizarTransferencia, cancelarTransferencia) from its script, or as a
// court that accepts everything. It can be told to spoil an operation from its nth call on, as
// a broken court or network would. Tests only.
#pragma once
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SabotagemTeste_U.h"

namespace nUlmoEsfingeTeste {

class TFakeTribunal {
 public:
  struct TRequisicao {
    std::string Caminho, Operacao, Corpo, ContentType, UserAgent, AcceptEncoding;
    bool SoapAction = false;
  };
  // How an operation misbehaves (see SabotagemTeste_U.h); Erro500 answers a SOAP fault and
  // Erro401 an empty body.
  using TSabotagem = nFramework::TSabotagem;

  TFakeTribunal() {
    FServer.Post(".*", [this](const httplib::Request& req, httplib::Response& res) { Tratar(req, res); });
    FPorta = FServer.bind_to_any_port("127.0.0.1");
    FThread = std::thread([this] { FServer.listen_after_bind(); });
    while (!FServer.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TFakeTribunal() {
    FServer.stop();
    FThread.join();
  }
  TFakeTribunal(const TFakeTribunal&) = delete;
  TFakeTribunal& operator=(const TFakeTribunal&) = delete;

  int Porta() const { return FPorta; }
  void Responder(const std::string& aOperacao, int aStatus, const std::string& aCorpo) {
    std::lock_guard<std::mutex> l(FMutex);
    FScript[aOperacao].push_back({aStatus, aCorpo});
  }
  // Spoils the operation's aVez-th call (1: the first) and every later one.
  void Sabotar(const std::string& aOperacao, TSabotagem aSabotagem, int aVez = 1, int aAtrasoMs = 1300) {
    std::lock_guard<std::mutex> l(FMutex);
    FSabotagens[aOperacao] = {aSabotagem, aVez, aAtrasoMs};
  }
  // Run inside the handler before it replies (the call is then under way at the client).
  void Antes(std::function<void()> aAcao) {
    std::lock_guard<std::mutex> l(FMutex);
    FAntes = std::move(aAcao);
  }
  std::vector<TRequisicao> Requisicoes() {
    std::lock_guard<std::mutex> l(FMutex);
    return FRequisicoes;
  }
  std::vector<std::string> Operacoes() {
    std::vector<std::string> r;
    for (const auto& q : Requisicoes()) r.push_back(q.Operacao);
    return r;
  }

  static std::string Operacao(const std::string& aCorpo) {
    for (const char* op : {"obterToken", "obterSituacaoToken", "iniciarTransferencia", "finalizarTransferencia",
                           "cancelarTransferencia"})
      if (aCorpo.find(std::string("<tok:") + op + ">") != std::string::npos) return op;
    if (aCorpo.find("<con:enviar>") != std::string::npos) return "contas";
    if (aCorpo.find("<lan:enviar>") != std::string::npos) return "lancamentos";
    return "?";
  }
  static std::string Token(int n) {
    char b[64];
    std::snprintf(b, sizeof b, "%08d-abcd-ef01-2345-6789abcdef01", n);
    return b;
  }

 private:
  struct TSabotar {
    TSabotagem Tipo;
    int Vez;
    int AtrasoMs;
  };

  void Tratar(const httplib::Request& req, httplib::Response& res) {
    TRequisicao r{req.path, Operacao(req.body), req.body, req.get_header_value("Content-Type"),
                  req.get_header_value("User-Agent"), req.get_header_value("Accept-Encoding"),
                  req.has_header("SOAPAction")};
    std::pair<int, std::string> resposta;
    std::function<void()> antes;
    bool sabotar = false;
    TSabotar s{};
    {
      std::lock_guard<std::mutex> l(FMutex);
      FRequisicoes.push_back(r);
      const int vez = ++FVezes[r.Operacao];
      auto it = FSabotagens.find(r.Operacao);
      if (it != FSabotagens.end() && vez >= it->second.Vez) {
        sabotar = true;
        s = it->second;
      }
      auto& fila = FScript[r.Operacao];
      if (!fila.empty()) {
        resposta = fila.front();
        fila.pop_front();
      } else {
        resposta = Padrao(r.Operacao);
      }
      antes = FAntes;
    }
    if (antes) antes();
    res.status = resposta.first;
    if (!sabotar) {
      res.set_content(resposta.second, "text/xml;charset=UTF-8");
      return;
    }
    switch (s.Tipo) {
      case TSabotagem::Erro500:
        res.status = 500;
        res.set_content("<soap:Envelope><soap:Body><soap:Fault><faultcode>soap:Server</faultcode><faultstring>"
                        "Erro interno do servidor</faultstring></soap:Fault></soap:Body></soap:Envelope>",
                        "text/xml;charset=UTF-8");
        break;
      case TSabotagem::Erro401: res.status = 401; break;
      default: EstragarResposta(res, s.Tipo, resposta.second, "text/xml;charset=UTF-8", s.AtrasoMs); break;
    }
  }

  std::pair<int, std::string> Padrao(const std::string& aOperacao) {
    if (aOperacao == "obterToken")
      return {200, "<S:Envelope><S:Body><return><chaveToken>" + Token(++FTokens) +
                       "</chaveToken><mensagem>Token gerado às 10h</mensagem></return></S:Body></S:Envelope>"};
    if (aOperacao == "obterSituacaoToken") return {200, "<return><mensagem>Pronto para envio ou consulta</mensagem></return>"};
    if (aOperacao == "iniciarTransferencia") return {200, "<return><mensagem>Início de transferência liberado</mensagem></return>"};
    if (aOperacao == "finalizarTransferencia") return {200, "<return><mensagem>Finalizada com sucesso</mensagem></return>"};
    if (aOperacao == "cancelarTransferencia") return {200, "<return><mensagem>Cancelada</mensagem></return>"};
    return {200, "<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body><ns2:enviarResponse "
                 "xmlns:ns2=\"urn:x\"><return><status>OK</status><dados/></return></ns2:enviarResponse></S:Body>"
                 "</S:Envelope>"};
  }

  httplib::Server FServer;
  std::thread FThread;
  int FPorta = 0;
  std::mutex FMutex;
  std::vector<TRequisicao> FRequisicoes;
  std::map<std::string, std::deque<std::pair<int, std::string>>> FScript;
  std::map<std::string, TSabotar> FSabotagens;
  std::map<std::string, int> FVezes;
  std::function<void()> FAntes;
  int FTokens = 0;
};

}  // namespace nUlmoEsfingeTeste
