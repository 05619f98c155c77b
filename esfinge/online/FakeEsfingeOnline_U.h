// A fake e-Sfinge online court for tests: serves the login, start, partial send, finish and the
// two cancels on 127.0.0.1 (an ephemeral port unless one is given), keeps the packages it was
// sent and answers as the court does, so a whole send, list and cancel can run against it. It
// checks what a court would refuse (unknown token or package, a package's entries outside its
// month, counts that differ from what was sent) and can be told to fail a call. Every request
// is recorded; a log file, when given, gets one line per request: "METHOD target<TAB>body".
// Tests only (the program fake_esfinge_online and the GoogleTests use it).
#pragma once
#include <atomic>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "SabotagemTeste_U.h"

namespace nUlmoEsfingeTeste {

class TFakeEsfingeOnline {
 public:
  struct TRequisicao {
    std::string Metodo;
    std::string Alvo;  // path and query, as sent
    std::string Corpo;
    std::string Token;  // the AUTH_TOKEN header
  };
  struct TPacote {
    std::string Chave;
    int AnoMes = 0;
    std::string Estado;  // "iniciado", "enviado", "finalizado", "cancelado" (partial send or by receipt)
    int Contas = 0;
    int Lancamentos = 0;
    std::string Recibo;
  };

  // aPorta 0: an ephemeral port. Raises std::runtime_error when the port cannot be bound.
  explicit TFakeEsfingeOnline(int aPorta = 0);
  ~TFakeEsfingeOnline();
  TFakeEsfingeOnline(const TFakeEsfingeOnline&) = delete;
  TFakeEsfingeOnline& operator=(const TFakeEsfingeOnline&) = delete;

  std::string Url() const;  // "http://127.0.0.1:PORT", the value of esfinge_online_url
  // Makes a call fail with a court error (status, {"mensagem": ...}) from now on: aChamada is
  // "login", "iniciarEnvio", "enviarParcial", "finalizarEnvio", "cancelarEnvioParcial" or
  // "cancelarLote"; aAnoMes limits it to one month's packages (0: every call). Raises
  // std::invalid_argument for another name.
  void Falhar(const std::string& aChamada, int aAnoMes = 0, int aStatus = 400);
  // How a call misbehaves (see SabotagemTeste_U.h). Erro500 answers an HTML error page and
  // Erro401 an empty body; Latin1 adds an accented "mensagem" to the reply.
  using TSabotagem = nFramework::TSabotagem;
  // Makes a call (a name of Falhar) misbehave from now on; aAnoMes as in Falhar. Raises
  // std::invalid_argument for another name.
  void Sabotar(const std::string& aChamada, TSabotagem aSabotagem, int aAnoMes = 0, int aAtrasoMs = 1500);
  // Appends every request to the file. Raises std::runtime_error when it cannot be opened.
  void Registrar(const std::string& aArquivo);
  // Takes partial sends unread and keeps none of their bodies, so a benchmark times the sender, not this
  // fake: the counts of the finishing call are taken as they come.
  void SemConferir();

  std::vector<TRequisicao> Requisicoes() const;
  std::vector<std::string> Chamadas() const;  // "METHOD target" of every request, in order
  std::vector<TPacote> Pacotes() const;       // in the order they were started
  // The packages as JSON (also served at GET /fake/estado).
  std::string Estado() const;

 private:
  struct TFalha {
    std::string Chamada;
    int AnoMes;
    int Status;
    // A sabotage instead of a plain error status.
    bool Sabotagem = false;
    TSabotagem Tipo = TSabotagem::Erro500;
    int AtrasoMs = 0;
  };
  void Tratar(const httplib::Request& aReq, httplib::Response& aRes);
  // REQUIRES: FMutex held. A sabotage that spoils the reply of a call done is left in aDepois.
  void Responder(const httplib::Request& aReq, httplib::Response& aRes, std::optional<TFalha>& aDepois);
  // The reply spoilt as aFalha says (it sleeps for Atraso); REQUIRES: FMutex not held.
  static void Estragar(const TFalha& aFalha, httplib::Response& aRes);
  // The failure set for the call, if any; REQUIRES: FMutex held.
  const TFalha* Falha(const std::string& aChamada, int aAnoMes) const;
  TPacote* PacoteDaChave(const std::string& aChave);

  std::unique_ptr<httplib::Server> FServidor;
  int FPorta = 0;
  std::thread FThread;
  mutable std::mutex FMutex;
  std::vector<TRequisicao> FRequisicoes;
  std::vector<TPacote> FPacotes;
  std::vector<std::string> FTokens;
  std::vector<TFalha> FFalhas;
  std::ofstream FRegistro;
  std::atomic<bool> FSemConferir = false;
  int FContador = 0;
};

}  // namespace nUlmoEsfingeTeste
