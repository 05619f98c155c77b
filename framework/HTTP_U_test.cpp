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

// A user name typed as "usr\r\nX-Injected: 1" reached the server as a header of its own.
TEST(TnHTTPTest, HeaderValueWithALineBreakReachedTheServerAsAHeader) {
  TFakeServidorHTTP fake;
  for (const std::string& valor : {std::string("usr\r\nX-Injected: 1"), std::string("usr\nX-Injected: 1"),
                                   std::string("usr\rX"), std::string("a\tb"), std::string("a\0b", 3),
                                   std::string("a\x7F")}) {
    TnHTTP http;
    std::string erro = Erro([&] { http.AddToHeader("codigoAcesso", valor); });
    EXPECT_EQ(erro, "O valor do cabeçalho HTTP \"codigoAcesso\" contém uma quebra de linha ou outro caractere de "
                    "controle e não foi enviado.");
    http.Post(fake.Url() + "/login", "");
  }
  for (const char* nome : {"X-A\r\nX-Injected", "X A", "X:A", ""})
    EXPECT_EQ(Erro([&] { TnHTTP().AddToHeader(nome, "v"); }).rfind("Nome de cabeçalho HTTP inválido: ", 0), 0u) << nome;
  // An address with a line break (a host from ulmo.toml) never goes out either.
  EXPECT_EQ(Erro([&] { TnHTTP().Get(fake.Url() + "/x HTTP/1.1\r\nX-Injected: 1\r\n\r\nGET /y"); }).rfind("Endereço inválido: ", 0),
            0u);
  for (const auto& req : fake.Requisicoes()) {
    EXPECT_EQ(req.Header("X-Injected"), "");
    EXPECT_EQ(req.Header("codigoAcesso"), "");
  }
  // Accented and other printable text goes as it is.
  TnHTTP http;
  http.AddToHeader("senha", "çã ~!@#$%");
  http.Post(fake.Url() + "/login", "");
  EXPECT_EQ(fake.Requisicoes().back().Header("senha"), "çã ~!@#$%");
}

// Nothing bounded a reply: a server or proxy could send gigabytes, or a small gzip that
// inflates to them, and the program held it all.
TEST(TnHTTPTest, ReplyPastTheSizeLimitWasReadWhole) {
  TFakeServidorHTTP fake;
  fake.Responder(200, std::string(MaxCorpoResposta + 1, 'x'));
  fake.Responder(500, std::string(1001, 'x'));
  fake.Responder(200, std::string(1000, 'x'));
  fake.Responder(200, std::string(5000, 'y'));  // compressed to a few bytes, inflated past the limit
  TnHTTP http;
  http.SetNomeResposta("do e-Sfinge ao login");
  try {
    http.Get(fake.Url() + "/grande");
    ADD_FAILURE() << "sem erro";
  } catch (const EnHTTPError& e) {
    EXPECT_EQ(e.Message(), "Resposta do e-Sfinge ao login recusada: passa de 32 MB, o limite de uma resposta.");
    EXPECT_TRUE(e.PodeTerChegado());
  }
  TnHTTP pequeno;
  pequeno.SetMaxResposta(1000);
  const std::string recusada = " recusada: passa de 1000 bytes, o limite de uma resposta.";
  EXPECT_EQ(Erro([&] { pequeno.Get(fake.Url() + "/erro"); }), "Resposta de " + fake.Url() + "/erro" + recusada);
  EXPECT_EQ(pequeno.Get(fake.Url() + "/limite").size(), 1000u);
  EXPECT_EQ(Erro([&] { pequeno.Get(fake.Url() + "/gzip"); }), "Resposta de " + fake.Url() + "/gzip" + recusada);
}

TEST(TnHTTPTest, ConnectionDroppedMidBodyWasAnUnnamedFailure) {
  TFakeServidorHTTP fake;
  TFakeServidorHTTP::TResposta cortada;
  cortada.Corpo = R"({"codigoRegistroInformacao":"R1"})";
  cortada.CortarApos = 10;
  fake.Responder(cortada);
  TnHTTP http;
  try {
    http.Post(fake.Url() + "/fim", "{}");
    FAIL() << "sem erro";
  } catch (const EnHTTPError& e) {
    EXPECT_EQ(e.Message(), "Falha na comunicação com " + fake.Url() +
                               "/fim: a conexão caiu no meio da resposta, que chegou incompleta.");
    EXPECT_TRUE(e.PodeTerChegado());
  }
  // A request that never went out was not acted on.
  try {
    http.Get("http://127.0.0.1:9/x");
    FAIL() << "sem erro";
  } catch (const EnHTTPError& e) {
    EXPECT_FALSE(e.PodeTerChegado());
  }
}

// A Latin-1 reply declared UTF-8 reached the JSON parser as invalid UTF-8, and a finish reply
// with an accent in it lost its receipt.
TEST(TnHTTPTest, Latin1ReplyDeclaredUtf8CameOutAsInvalidUtf8) {
  TFakeServidorHTTP fake;
  auto resposta = [&](std::string aCorpo, std::string aTipo, int aStatus = 200) {
    TFakeServidorHTTP::TResposta r;
    r.Status = aStatus;
    r.Corpo = std::move(aCorpo);
    r.ContentType = std::move(aTipo);
    fake.Responder(r);
  };
  resposta("{\"mensagem\":\"Conta inv\xE1lida \x80 \x81\"}", "application/json; charset=utf-8");
  resposta("{\"mensagem\":\"Conta inválida\"}", "application/json; charset=ISO-8859-1");
  resposta("Conta inv\xE1lida", "text/plain; charset=ISO-8859-1");
  resposta("{\"mensagem\":\"n\xE3o\"}", "application/json", 400);
  TnHTTP http;
  EXPECT_EQ(http.Get(fake.Url() + "/a"), "{\"mensagem\":\"Conta inválida € \xC2\x81\"}");
  EXPECT_EQ(http.Get(fake.Url() + "/b"), "{\"mensagem\":\"Conta inválida\"}");
  EXPECT_EQ(http.Get(fake.Url() + "/c"), "Conta inválida");
  try {
    http.Get(fake.Url() + "/d");
    FAIL() << "sem erro";
  } catch (const EIdHTTPProtocolException& e) {
    EXPECT_EQ(e.ErrorMessage(), "{\"mensagem\":\"não\"}");
  }
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
