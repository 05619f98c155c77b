// A fake web server for tests: listens on 127.0.0.1 at an ephemeral port, records every
// request and answers from a script, one scripted reply per request in order (200 with an
// empty body once the script runs out). Tests only; needs cpp-httplib.
#pragma once
#include <httplib.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nFramework {

class TFakeServidorHTTP {
 public:
  struct TRequisicao {
    std::string Metodo;
    std::string Alvo;  // path and query, as sent
    std::string Corpo;
    httplib::Headers Headers;
    std::string Header(const std::string& aNome) const {
      auto it = Headers.find(aNome);
      return it == Headers.end() ? std::string() : it->second;
    }
  };
  struct TResposta {
    int Status = 200;
    std::string Corpo;
  };

  TFakeServidorHTTP() {
    auto tratar = [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> lock(FMutex);
      TRequisicao r{req.method, req.target, req.body, req.headers};
      FRequisicoes.push_back(std::move(r));
      TResposta resp;
      if (!FRoteiro.empty()) {
        resp = FRoteiro.front();
        FRoteiro.pop_front();
      }
      res.status = resp.Status;
      res.set_content(resp.Corpo, "application/json");
    };
    FServidor.Get(".*", tratar);
    FServidor.Post(".*", tratar);
    FPorta = FServidor.bind_to_any_port("127.0.0.1");
    FThread = std::thread([this] { FServidor.listen_after_bind(); });
    while (!FServidor.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TFakeServidorHTTP() {
    FServidor.stop();
    if (FThread.joinable()) FThread.join();
  }
  TFakeServidorHTTP(const TFakeServidorHTTP&) = delete;
  TFakeServidorHTTP& operator=(const TFakeServidorHTTP&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(FPorta); }
  void Responder(int aStatus, std::string aCorpo) {
    std::lock_guard<std::mutex> lock(FMutex);
    FRoteiro.push_back({aStatus, std::move(aCorpo)});
  }
  std::vector<TRequisicao> Requisicoes() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequisicoes;
  }
  // "METHOD target" of every request, in order.
  std::vector<std::string> Chamadas() const {
    std::vector<std::string> r;
    for (const auto& req : Requisicoes()) r.push_back(req.Metodo + " " + req.Alvo);
    return r;
  }

 private:
  httplib::Server FServidor;
  int FPorta = 0;
  std::thread FThread;
  mutable std::mutex FMutex;
  std::deque<TResposta> FRoteiro;
  std::vector<TRequisicao> FRequisicoes;
};

}  // namespace nFramework
