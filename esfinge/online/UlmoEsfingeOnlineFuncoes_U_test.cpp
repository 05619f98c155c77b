#include "BancoVazioTeste_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "HTTP_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "UlmoEsfingeOnlineSql_U.h"
#include "UlmoEsfingeValor_U.h"
#include "UlmoSQLs_U.h"

using namespace nFramework;
using namespace nUlmoEsfingeOnline;

namespace {

class EsfingeUrlTest : public ::testing::Test {
 protected:
  void SetUp() override { RestaurarConfiguracao(); }
  void TearDown() override { RestaurarConfiguracao(); }
};

TEST_F(EsfingeUrlTest, HostsFollowHomologationAndTheOverrideWins) {
  nConfig().SetValor("esfinge.online_host_producao", "https://prod.example");
  nConfig().SetValor("esfinge.online_host_homologacao", "https://homol.example");
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlBase(), "https://prod.example/esfingeonline");
  nConfig().Homologacao = true;
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlBase(), "https://homol.example/esfingeonline");
  nConfig().UrlEsfingeOnline = "http://127.0.0.1:9";
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlBase(), "http://127.0.0.1:9/esfingeonline");
}

TEST_F(EsfingeUrlTest, EndpointAddresses) {
  nConfig().UrlEsfingeOnline = "http://h";
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlToken(), "http://h/esfingeonline/autenticacao/login");
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlIniciarEnvio(202403),
            "http://h/esfingeonline/v6/registroscontabeis/empresas/iniciarEnvio?anoMes=202403");
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlEnviarParcial("K1"),
            "http://h/esfingeonline/v6/registroscontabeis/empresas/enviarParcial?chavePacote=K1");
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlFinalizarEnvio(),
            "http://h/esfingeonline/v6/registroscontabeis/empresas/finalizarEnvio");
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlCancelarEnvioParcial("K1"),
            "http://h/esfingeonline/servicosGerais/cancelarEnvioParcial?chavePacote=K1");
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetUrlCancelarLote("UG9"),
            "http://h/esfingeonline/servicosGerais/cancelarPorCodigoRegistroInformacao?identificadorUnidadeGestora=UG9");
}

TEST(EsfingeFuncoesTest, MonthsAsYearMonth) {
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetAnoMes(EncodeDate(2024, 3, 31) + 0.9), 202403);
  EXPECT_EQ(TUlmoEsfingeFuncoes::ConverterAnoMesParaData(202403), EncodeDate(2024, 3, 1));
  EXPECT_THROW(TUlmoEsfingeFuncoes::ConverterAnoMesParaData(202413), EConvertError);
  EXPECT_THROW(TUlmoEsfingeFuncoes::ConverterAnoMesParaData(2024), EConvertError);
}

TEST(EsfingeFuncoesTest, LimparClassificacaoConta) {
  EXPECT_EQ(TUlmoEsfingeFuncoes::LimparClassificacaoConta("1.2.0.00"), "1.2");
  EXPECT_EQ(TUlmoEsfingeFuncoes::LimparClassificacaoConta("1.20"), "1.20");
  EXPECT_EQ(TUlmoEsfingeFuncoes::LimparClassificacaoConta("1.0"), "1");
  EXPECT_EQ(TUlmoEsfingeFuncoes::LimparClassificacaoConta("100"), "100");
  EXPECT_EQ(TUlmoEsfingeFuncoes::LimparClassificacaoConta("1.2.00.10"), "1.2.00.10");
  EXPECT_EQ(TUlmoEsfingeFuncoes::LimparClassificacaoConta(""), "");
}

TEST(EsfingeFuncoesTest, ErrorBodiesBecomeTheCourtsMessage) {
  const std::string corpo =
      R"({"mensagem":"Falha","erros":[{"mensagem":"Conta inexistente","objetoErro":{"codigoContaContabil":"1.1.1"}},)"
      R"({"mensagem":"Outra","objetoErro":null}]})";
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(400, corpo, "HTTP/1.1 400"),
            "Falha - Conta inexistente - Conta contábil: 1.1.1 - Outra");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(400, "", "HTTP/1.1 400"), "Exceções de negócio! validar RestricoesCONs");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(401, R"({"mensagem":"Token expirado"})", "x"), "Token expirado");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(401, "  ", "x"), "Requisição Requer Autenticação!");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(422, R"({"mensagem":"ignorada"})", "x"),
            "Requisição Mal Formada, Exceções de campos obrigatorios. Contate o suporte!");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(503, "", "HTTP/1.1 503 Service Unavailable"),
            "HTTP/1.1 503 Service Unavailable");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(500, "<html>oops</html>", "x"), "<html>oops</html>");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(500, R"({"erro":1})", "x"), R"({"erro":1})");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(500, "", "x").rfind("Erro de servidor! Entre em contato com suporte técnico ", 0), 0u);
}

TEST(EsfingeFuncoesTest, ACourtsErrorPageFilledTheMessageWithManyLines) {
  const std::string pagina = "<html>\n<body>\r\n" + std::string(300, 'x') + "\n</body></html>";
  std::string m = TUlmoEsfingeFuncoes::TratarErro(500, pagina, "x");
  EXPECT_EQ(m, "<html>\\n<body>\\r\\n" + std::string(80 - 19, 'x') + "…");
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(400, R"({"mensagem":"Falha\nna linha","erros":[{"mensagem":"a\tb"}]})", "x"),
            "Falha\\nna linha - a\\tb");
}

// A reply nested hundreds of thousands of levels deep was dumped recursively and ended the
// program; a proxy or a broken court can send one.
TEST(EsfingeFuncoesTest, DeeplyNestedErrorReplyOverflowedTheStack) {
  const size_t niveis = 500000;
  const std::string fundo = std::string(niveis, '[') + std::string(niveis, ']');
  for (const std::string& corpo : {R"({"mensagem":)" + fundo + "}", fundo,
                                   R"({"mensagem":"Falha","erros":[{"mensagem":)" + fundo + "}]}"}) {
    std::string m = TUlmoEsfingeFuncoes::TratarErro(400, corpo, "HTTP/1.1 400");
    EXPECT_EQ(m, "Resposta de erro do e-Sfinge recusada: passa de 64 níveis de aninhamento.") << m.substr(0, 100);
  }
}

// A refusal listing each of 200,000 entries became one message line of some 20 MB.
TEST(EsfingeFuncoesTest, ErrorReplyListingEveryRejectedEntryMadeAMessageOfMegabytes) {
  std::string corpo = R"({"mensagem":"Lote recusado","erros":[)";
  for (int i = 1; i <= 200000; ++i)
    corpo += (i > 1 ? "," : "") + std::string(R"({"mensagem":"Lançamento )") + std::to_string(i) +
             R"( fora do mês","objetoErro":{"codigoContaContabil":"1.1"}})";
  corpo += "]}";
  const std::string m = TUlmoEsfingeFuncoes::TratarErro(400, corpo, "HTTP/1.1 400");
  EXPECT_EQ(m.rfind("Lote recusado - Lançamento 1 fora do mês - Conta contábil: 1.1 - Lançamento 2 fora", 0), 0u);
  const std::string fim = " - Lançamento 100 fora do mês - Conta contábil: 1.1 - e outros 199900 erros.";
  ASSERT_GT(m.size(), fim.size());
  EXPECT_EQ(m.substr(m.size() - fim.size()), fim);
  EXPECT_LT(m.size(), 8000u);
  // A hundred errors are all listed.
  EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErro(400, R"({"mensagem":"F","erros":[{"mensagem":"a"},{"mensagem":"b"}]})", ""),
            "F - a - b");
}

TEST(EsfingeFuncoesTest, RepliesNestedPastTheLimitAreRefusedNamingTheCall) {
  EXPECT_EQ(TUlmoEsfingeFuncoes::ProfundidadeJson(R"({"a":[1,{"b":"[[[{{"}],"c":"\\\"[["})"), 3);
  EXPECT_EQ(TUlmoEsfingeFuncoes::ProfundidadeJson("[]"), 1);
  EXPECT_EQ(TUlmoEsfingeFuncoes::ProfundidadeJson("sem json"), 0);
  const std::string limite = std::string(64, '[') + std::string(64, ']');
  EXPECT_TRUE(TUlmoEsfingeFuncoes::LerJsonResposta(limite, "do e-Sfinge ao login").is_array());
  EXPECT_TRUE(TUlmoEsfingeFuncoes::LerJsonResposta("<html>", "do e-Sfinge ao login").is_discarded());
  try {
    TUlmoEsfingeFuncoes::LerJsonResposta(R"({"chave":)" + std::string(65, '[') + std::string(65, ']') + "}",
                                         "do e-Sfinge ao login");
    FAIL() << "sem erro";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Resposta do e-Sfinge ao login recusada: passa de 64 níveis de aninhamento.");
  }
  std::string valor;
  EXPECT_TRUE(TUlmoEsfingeFuncoes::LerChaveJson(R"({"chavePacote":" P1 "})", "chavePacote", valor, "x"));
  EXPECT_EQ(valor, "P1");
  EXPECT_TRUE(TUlmoEsfingeFuncoes::LerChaveJson(R"({"chavePacote":12})", "chavePacote", valor, "x"));
  EXPECT_EQ(valor, "12");
  for (const char* r : {R"({"chavePacote":""})", R"({"chavePacote":[1]})", "[1]", "", R"({"outra":"P"})"})
    EXPECT_FALSE(TUlmoEsfingeFuncoes::LerChaveJson(r, "chavePacote", valor, "x")) << r;
}

TEST(EsfingeFuncoesTest, TratarErroRequestTellsProtocolErrorsFromOthers) {
  try {
    throw EIdHTTPProtocolException(401, R"({"mensagem":"Token expirado"})", "HTTP/1.1 401");
  } catch (...) {
    EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErroRequest(), "Token expirado");
  }
  try {
    throw Exception("sem rede");
  } catch (...) {
    EXPECT_EQ(TUlmoEsfingeFuncoes::TratarErroRequest(), "sem rede");
  }
}

class EsfingeSeqTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    FConexao->Driver().ExecuteScript(
        "insert into EMPRESA values (1, 'A'), (2, 'B');"
        "insert into TCEESFINGEONLINEENVIO values (1, '2024-03-01', 1, '2024-04-02', 0, 'K1', 'R1'),"
        " (1, '2024-03-01', 2, '2024-04-03', 1, 'K2', 'R2'), (1, '2024-04-01', 1, '2024-05-02', 1, 'K3', 'R3');");
  }
  void TearDown() override { SetConexao(nullptr); }
  std::unique_ptr<TnDMConexao> FConexao;
};

TEST_F(EsfingeSeqTest, SequenceCountsPerCompanyAndMonth) {
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(1, EncodeDate(2024, 3, 1)), 3);
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(1, EncodeDate(2024, 4, 1)), 2);
  EXPECT_EQ(TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(2, EncodeDate(2024, 3, 1)), 1);
  EXPECT_FALSE(TUlmoEsfingeFuncoes::TemRegistroCfgEmpresaTce(1));
}

TEST_F(EsfingeSeqTest, ConsultaSelectsTheRangeWithLote) {
  auto ds = ExecutarSQL(nUlmo::FormatSQL(TUlmoEsfingeOnlineSql::GetSqlConsultaTceEsfingeOnlineEnvio(),
                                         {"1", "'2024-03-02'", "'2024-12-31'"}));
  ASSERT_EQ(ds->RecordCount(), 1);
  EXPECT_EQ(ds->FieldByName("LOTE").AsInteger(), 202404);
  EXPECT_EQ(ds->FieldByName("SELECIONADO").AsInteger(), 0);
}

}  // namespace

// Amounts went to the court through double and printf-style rounding: 2.675 and 0.125 sit a hair
// below their half in binary and lost their cent.
TEST(EsfingeValorTest, AmountsRoundHalfAwayFromZeroWithAPoint) {
  auto valor = [](const char* v) { return nUlmoEsfinge::ValorEsfinge(Currency::FromString(v)); };
  EXPECT_EQ(valor("0.125"), "0.13");
  EXPECT_EQ(valor("2.675"), "2.68");
  EXPECT_EQ(valor("-2.675"), "-2.68");
  EXPECT_EQ(valor("1000000000000"), "1000000000000.00");
  EXPECT_EQ(valor("1234567.891"), "1234567.89");
  EXPECT_EQ(nUlmoEsfinge::ValorEsfinge(Currency::FromRaw(INT64_MAX)), "922337203685477.58");
  Currency soma;
  for (int i = 0; i < 1000000; ++i) soma += Currency::FromString("0.1");
  EXPECT_EQ(nUlmoEsfinge::ValorEsfinge(soma), "100000.00");
}
