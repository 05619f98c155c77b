// The fake court that the end-to-end tests rely on: it must refuse what the court refuses, or
// a broken send would pass them; and its program must start, say where it listens and stop.
#include "FakeEsfingeOnline_U.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TestFolder_U.h"

using nUlmoEsfingeTeste::TFakeEsfingeOnline;

namespace {

httplib::Result Post(httplib::Client& c, const std::string& alvo, const std::string& corpo, const std::string& token) {
  return c.Post(alvo, httplib::Headers{{"AUTH_TOKEN", token}}, corpo, "application/json");
}

TEST(FakeEsfingeOnlineTest, RefusesWhatTheCourtRefuses) {
  TFakeEsfingeOnline corte;
  httplib::Client c(corte.Url());
  const std::string b = "/esfingeonline/v6/registroscontabeis/empresas/";
  EXPECT_EQ(c.Post("/esfingeonline/autenticacao/login?codigoUg=UG")->status, 401);  // no user nor password
  auto login = c.Post("/esfingeonline/autenticacao/login?codigoUg=UG", httplib::Headers{{"codigoAcesso", "u"}, {"senha", "s"}},
                      "", "application/json");
  ASSERT_EQ(login->status, 200);
  const std::string token = nlohmann::json::parse(login->body)["chave"];
  EXPECT_EQ(c.Get(b + "iniciarEnvio?anoMes=202401", httplib::Headers{{"AUTH_TOKEN", "outro"}})->status, 401);
  auto inicio = c.Get(b + "iniciarEnvio?anoMes=202401", httplib::Headers{{"AUTH_TOKEN", token}});
  ASSERT_EQ(inicio->status, 200);
  const std::string chave = nlohmann::json::parse(inicio->body)["chavePacote"];

  // An entry of another month in the package.
  const std::string lote = R"([{"anoMes":202401,"contasContabeis":[{}],"lancamentosContabeis":[)"
                           R"({"numeroSequencial":1,"dataLancamento":"2024-01-31"},)";
  auto fora = Post(c, b + "enviarParcial?chavePacote=" + chave, lote + R"({"numeroSequencial":2,"dataLancamento":"2024-02-01"}]}])", token);
  EXPECT_EQ(fora->status, 400);
  EXPECT_NE(fora->body.find("Lançamento 2 de 2024-02-01 fora do mês do pacote"), std::string::npos) << fora->body;
  ASSERT_EQ(Post(c, b + "enviarParcial?chavePacote=" + chave, lote + R"({"numeroSequencial":2,"dataLancamento":"2024-01-02"}]}])", token)->status, 200);
  // Counts that differ from what was sent.
  EXPECT_EQ(Post(c, b + "finalizarEnvio", R"({"chavePacote":")" + chave + R"(","quantidadeContaContabil":1,"quantidadeLancamentoContabil":1})", token)->status, 400);
  corte.Falhar("finalizarEnvio", 202401);
  EXPECT_EQ(Post(c, b + "finalizarEnvio", R"({"chavePacote":")" + chave + R"(","quantidadeContaContabil":1,"quantidadeLancamentoContabil":2})", token)->status, 400);
  ASSERT_EQ(corte.Pacotes().size(), 1u);
  EXPECT_EQ(corte.Pacotes()[0].Estado, "enviado");
  EXPECT_EQ(corte.Pacotes()[0].Lancamentos, 2);
  EXPECT_THROW(corte.Falhar("finalizar"), std::invalid_argument);
}

TEST(FakeEsfingeOnlineTest, UncheckedItTakesAPartialSendUnreadAndTheCountsOfTheFinish) {
  TFakeEsfingeOnline corte;
  corte.SemConferir();
  httplib::Client c(corte.Url());
  const std::string b = "/esfingeonline/v6/registroscontabeis/empresas/";
  auto login = c.Post("/esfingeonline/autenticacao/login?codigoUg=UG", httplib::Headers{{"codigoAcesso", "u"}, {"senha", "s"}},
                      "", "application/json");
  const std::string token = nlohmann::json::parse(login->body)["chave"];
  auto inicio = c.Get(b + "iniciarEnvio?anoMes=202401", httplib::Headers{{"AUTH_TOKEN", token}});
  const std::string chave = nlohmann::json::parse(inicio->body)["chavePacote"];
  EXPECT_EQ(Post(c, b + "enviarParcial?chavePacote=" + chave, "não é JSON", token)->status, 200);
  EXPECT_EQ(Post(c, b + "finalizarEnvio", R"({"chavePacote":")" + chave + R"(","quantidadeContaContabil":3,"quantidadeLancamentoContabil":7})", token)->status, 200);
  ASSERT_EQ(corte.Pacotes().size(), 1u);
  EXPECT_EQ(corte.Pacotes()[0].Estado, "finalizado");
  EXPECT_EQ(corte.Pacotes()[0].Lancamentos, 7);
  // The finish was still read and recorded; the package's body was not kept.
  auto r = corte.Requisicoes();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[2].Corpo, "");
  EXPECT_NE(r[3].Corpo.find("quantidadeLancamentoContabil"), std::string::npos);
}

// Starts the program, reads its first line, and leaves it running.
struct TPrograma {
  pid_t Pid = -1;
  std::string Url;
  explicit TPrograma(const std::string& registro) {
    int canal[2];
    if (pipe(canal) != 0) return;
    Pid = fork();
    if (Pid == 0) {
      dup2(canal[1], STDOUT_FILENO);
      close(canal[0]);
      execl(FAKE_ESFINGE_ONLINE, FAKE_ESFINGE_ONLINE, "--registro", registro.c_str(), "--tempo-limite", "60", nullptr);
      _exit(127);
    }
    close(canal[1]);
    char c;
    while (read(canal[0], &c, 1) == 1 && c != '\n') Url += c;
    close(canal[0]);
  }
  ~TPrograma() {
    if (Pid > 0) Parar();
  }
  int Parar() {
    int status = -1;
    kill(Pid, SIGTERM);
    waitpid(Pid, &status, 0);
    Pid = -1;
    return status;
  }
};

TEST(FakeEsfingeOnlineTest, ProgramPrintsItsAddressLogsEachRequestAndStopsOnSigterm) {
  nFramework::TTestFolder pasta;
  const std::string registro = (pasta / "registro.txt").string();
  TPrograma programa(registro);
  ASSERT_GT(programa.Pid, 0);
  ASSERT_EQ(programa.Url.rfind("http://127.0.0.1:", 0), 0u) << programa.Url;
  httplib::Client c(programa.Url);
  auto r = c.Post("/esfingeonline/autenticacao/login?codigoUg=UG", httplib::Headers{{"codigoAcesso", "u"}, {"senha", "s"}},
                  "", "application/json");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 200);
  EXPECT_EQ(c.Get("/fake/estado")->body, R"({"pacotes":[]})");
  const int status = programa.Parar();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::ifstream in(registro);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), "POST /esfingeonline/autenticacao/login?codigoUg=UG\t\n");
}

}  // namespace
