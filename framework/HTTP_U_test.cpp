#include "HTTP_U.h"

#include <gtest/gtest.h>

#include "FakeServidorHTTP_U.h"

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

}  // namespace
}  // namespace nFramework
