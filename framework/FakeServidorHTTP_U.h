// A fake web server for tests: listens on 127.0.0.1 at an ephemeral port, records every
// request and answers from a script, one scripted reply per request in order (200 with an
// empty body once the script runs out), each after an optional delay, with the content type
// given, or cut: the connection dropped after part of the body. With TLS it serves https with
// a certificate of the test authority (CaArquivo), which nothing trusts unless told to. Tests
// only; needs cpp-httplib built with OpenSSL.
#pragma once
#include <httplib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CertificadosTeste_U.h"

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
    int AtrasoMs = 0;
    std::string ContentType = "application/json";
    // Bytes of the body sent before the connection is dropped (the length announced is the
    // whole body's); negative: the whole body.
    long CortarApos = -1;
  };

  explicit TFakeServidorHTTP(bool aTLS = false) : FTLS(aTLS) {
    if (FTLS) {
      static std::atomic<int> contador{0};
      FPasta = std::filesystem::temp_directory_path() /
               ("ulmo_fake_tls_" + std::to_string(::getpid()) + "_" + std::to_string(++contador));
      std::filesystem::create_directories(FPasta);
      Gravar("ca.pem", nCertificadosTeste::Autoridade);
      Gravar("servidor.pem", nCertificadosTeste::Servidor);
      Gravar("servidor.key", nCertificadosTeste::ChaveServidor);
      FServidor = std::make_unique<httplib::SSLServer>((FPasta / "servidor.pem").c_str(),
                                                       (FPasta / "servidor.key").c_str());
    } else {
      FServidor = std::make_unique<httplib::Server>();
    }
    auto tratar = [this](const httplib::Request& req, httplib::Response& res) {
      TResposta resp;
      {
        std::lock_guard<std::mutex> lock(FMutex);
        TRequisicao r{req.method, req.target, req.body, req.headers};
        FRequisicoes.push_back(std::move(r));
        if (!FRoteiro.empty()) {
          resp = FRoteiro.front();
          FRoteiro.pop_front();
        }
      }
      if (resp.AtrasoMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(resp.AtrasoMs));
      res.status = resp.Status;
      if (resp.CortarApos < 0) {
        res.set_content(resp.Corpo, resp.ContentType.c_str());
      } else {
        auto parte = std::make_shared<std::string>(resp.Corpo.substr(0, static_cast<size_t>(resp.CortarApos)));
        // A provider that fails after writing makes the server close the connection.
        res.set_content_provider(resp.Corpo.size(), resp.ContentType.c_str(),
                                 [parte](size_t, size_t, httplib::DataSink& aSink) {
                                   aSink.write(parte->data(), parte->size());
                                   return false;
                                 });
      }
    };
    FServidor->Get(".*", tratar);
    FServidor->Post(".*", tratar);
    FPorta = FServidor->bind_to_any_port("127.0.0.1");
    FThread = std::thread([this] { FServidor->listen_after_bind(); });
    while (!FServidor->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TFakeServidorHTTP() {
    FServidor->stop();
    if (FThread.joinable()) FThread.join();
    if (!FPasta.empty()) {
      std::error_code ec;
      std::filesystem::remove_all(FPasta, ec);
    }
  }
  TFakeServidorHTTP(const TFakeServidorHTTP&) = delete;
  TFakeServidorHTTP& operator=(const TFakeServidorHTTP&) = delete;

  std::string Url() const { return std::string(FTLS ? "https" : "http") + "://127.0.0.1:" + std::to_string(FPorta); }
  // The test authority's certificate (TLS only).
  std::string CaArquivo() const { return (FPasta / "ca.pem").string(); }
  void Responder(int aStatus, std::string aCorpo, int aAtrasoMs = 0) {
    TResposta r;
    r.Status = aStatus;
    r.Corpo = std::move(aCorpo);
    r.AtrasoMs = aAtrasoMs;
    Responder(std::move(r));
  }
  void Responder(TResposta aResposta) {
    std::lock_guard<std::mutex> lock(FMutex);
    FRoteiro.push_back(std::move(aResposta));
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
  void Gravar(const char* aNome, const char* aTexto) { std::ofstream(FPasta / aNome, std::ios::binary) << aTexto; }

  bool FTLS;
  std::filesystem::path FPasta;
  std::unique_ptr<httplib::Server> FServidor;
  int FPorta = 0;
  std::thread FThread;
  mutable std::mutex FMutex;
  std::deque<TResposta> FRoteiro;
  std::vector<TRequisicao> FRequisicoes;
};

}  // namespace nFramework
