#include "HTTP_U.h"

#include <gtest/gtest.h>

#include <functional>

#include <chrono>

#include "Configuracao_U.h"
#include "FakeServidorHTTP_U.h"
#include "SegurancaHTTP_U.h"

namespace nFramework {
namespace {

TEST(TnHTTPTest, PostSendsHeadersBodyAndReturnsTheReply) {
  TFakeServidorHTTP fake;
  fake.Responder(200, R"({"chave":"abc"})");
  TnHTTP http;
  http.AddToHeader("AUTH_TOKEN", "tk");
  http.SetContentType("application/json; charset=utf-8");
  EXPECT_EQ(http.Post(fake.Url() + "/a/b?x=1", "[1]"), R"({"chave":"abc"})");
  auto reqs = fake.Requisicoes();
  ASSERT_EQ(reqs.size(), 1u);
  EXPECT_EQ(reqs[0].Metodo, "POST");
  EXPECT_EQ(reqs[0].Alvo, "/a/b?x=1");
  EXPECT_EQ(reqs[0].Corpo, "[1]");
  EXPECT_EQ(reqs[0].Header("AUTH_TOKEN"), "tk");
  EXPECT_EQ(reqs[0].Header("Content-Type"), "application/json; charset=utf-8");
}

TEST(TnHTTPTest, EmptyPostAndGet) {
  TFakeServidorHTTP fake;
  fake.Responder(200, "");
  fake.Responder(200, "ok");
  TnHTTP http;
  EXPECT_EQ(http.Post(fake.Url() + "/p", ""), "");
  EXPECT_EQ(http.Get(fake.Url() + "/g?anoMes=202401"), "ok");
  EXPECT_EQ(fake.Chamadas(), (std::vector<std::string>{"POST /p", "GET /g?anoMes=202401"}));
}

TEST(TnHTTPTest, ErrorStatusRaisesWithStatusAndBody) {
  TFakeServidorHTTP fake;
  fake.Responder(422, R"({"mensagem":"x"})");
  TnHTTP http;
  try {
    http.Get(fake.Url() + "/e");
    FAIL() << "no exception";
  } catch (const EIdHTTPProtocolException& e) {
    EXPECT_EQ(e.ErrorCode(), 422);
    EXPECT_EQ(e.ErrorMessage(), R"({"mensagem":"x"})");
    EXPECT_EQ(e.Message(), "HTTP/1.1 422 Unprocessable Entity");
  }
}

TEST(TnHTTPTest, UnreachableServerRaisesTransportError) {
  int porta;
  {
    TFakeServidorHTTP fake;  // a port that was free and is closed again
    porta = std::stoi(fake.Url().substr(fake.Url().rfind(':') + 1));
  }
  TnHTTP http;
  http.SetConnectTimeout(2000);
  EXPECT_THROW(http.Get("http://127.0.0.1:" + std::to_string(porta) + "/x"), EnHTTPError);
}

std::string Erro(const std::function<void()>& aAcao) {
  try {
    aAcao();
  } catch (const EnHTTPError& e) {
    return e.what();
  }
  return "(sem erro)";
}

TEST(TnHTTPTest, PlainHttpToAnotherMachineIsRefusedBeforeAnythingIsSent) {
  TnHTTP http;
  http.AddToHeader("senha", "segredo");
  http.SetConnectTimeout(300);
  for (const char* url : {"http://192.0.2.1/login", "http://127.0.0.1@192.0.2.1/login", "http://127.0.0.1.nip.io/x",
                          "HTTP://192.0.2.1/x", "ftp://127.0.0.1/x", "http://[::ffff:192.0.2.1]/x"}) {
    std::string erro = Erro([&] { http.Post(url, "{}"); });
    EXPECT_EQ(erro.rfind("Endereço recusado: ", 0), 0u) << url << ": " << erro;
    EXPECT_NE(erro.find("Use https://"), std::string::npos) << url;
  }
  for (const char* url : {"https://192.0.2.1/x", "http://127.0.0.1:1/x", "http://127.9.9.9/x", "http://localhost/x",
                          "http://LocalHost:8080/x", "http://[::1]:1/x"})
    EXPECT_NO_THROW(VerificarEnderecoSeguro(url)) << url;
}

TEST(TnHTTPTest, WholeCallTimeoutEndsASlowReplyWithAPortugueseMessage) {
  TFakeServidorHTTP fake;
  fake.Responder(200, "tarde demais", 1500);
  TnHTTP http;
  http.SetTimeoutTotal(300);
  auto inicio = std::chrono::steady_clock::now();
  std::string erro = Erro([&] { http.Get(fake.Url() + "/lento"); });
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(1200));
  EXPECT_EQ(erro, "Falha na comunicação com " + fake.Url() +
                      "/lento: sem resposta completa em 1 segundo (tempo limite esgotado; o limite é configurável no "
                      "ulmo.toml).");
}

TEST(TnHTTPTest, ExtraAuthorityFileIsTrustedBesidesTheSystemOnes) {
  TFakeServidorHTTP fake(true);
  fake.Responder(200, "ok");
  TnHTTP semCa;
  std::string erro = Erro([&] { semCa.Get(fake.Url() + "/a"); });
  EXPECT_NE(erro.find("o certificado do servidor não foi aceito"), std::string::npos) << erro;
  TnHTTP comCa;
  comCa.SetCaExtra(fake.CaArquivo());
  EXPECT_EQ(comCa.Get(fake.Url() + "/a"), "ok");
  TnHTTP caInvalido;
  caInvalido.SetCaExtra("/nao/existe.pem");
  EXPECT_EQ(Erro([&] { caInvalido.Get(fake.Url() + "/a"); }),
            "Não foi possível ler o arquivo de autoridades certificadoras /nao/existe.pem indicado no ulmo.toml.");
  EXPECT_EQ(fake.Requisicoes().size(), 1u);
}

TEST(TnHTTPTest, ConfiguredSecondsMustBeAWholeNumber) {
  RestaurarConfiguracao();
  EXPECT_EQ(SegundosConfigurados("x.timeout", 30), 30);
  nConfig().SetValor("x.timeout", "900");
  EXPECT_EQ(SegundosConfigurados("x.timeout", 30), 900);
  for (const char* v : {"0", "-5", "1.5", "abc", "86401"}) {
    nConfig().SetValor("x.timeout", v);
    EXPECT_THROW(SegundosConfigurados("x.timeout", 30), Exception) << v;
  }
  RestaurarConfiguracao();
}

}  // namespace
}  // namespace nFramework
