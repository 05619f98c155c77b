#include "TextoMensagem_U.h"

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <nlohmann/json.hpp>
#include <vector>

#include "Exceptions_U.h"
#include "TextUtils_U.h"
#include "Utilitarios_U.h"

using namespace nFramework;

TEST(TextoMensagem, AQuotedValueStaysOneLineAndShowsItsControlCharacters) {
  EXPECT_EQ(CitarValor("Conta 1.1"), "Conta 1.1");
  EXPECT_EQ(CitarValor("São Paulo"), "São Paulo");
  EXPECT_EQ(CitarValor("a\nb\r\tc"), "a\\nb\\r\\tc");
  EXPECT_EQ(CitarValor(std::string("x\0y", 3)), "x\\x00y");
  EXPECT_EQ(CitarValor("\x1b[31mvermelho"), "\\x1B[31mvermelho");
  EXPECT_EQ(CitarValor("\x7f"), "\\x7F");
  EXPECT_EQ(CitarValor("\xc2\x85"), "\\u0085");  // the C1 "next line"
  // Bytes that are not UTF-8 (a Windows-1252 reply) are shown, not passed to the terminal.
  EXPECT_EQ(CitarValor("Jo\xe3o"), "Jo\\xE3o");
  EXPECT_EQ(CitarValor("\xed\xa0\x80"), "\\xED\\xA0\\x80");
}

TEST(TextoMensagem, ALongValueIsCutWithAnEllipsis) {
  std::string oitenta(80, 'a');
  EXPECT_EQ(CitarValor(oitenta), oitenta);
  std::string longo = std::string(100, 'b');
  std::string citado = CitarValor(longo);
  EXPECT_EQ(Utf8Length(citado), MaxCitacao);
  EXPECT_EQ(citado, std::string(79, 'b') + "…");
  // Escapes count as what the message shows and are never split.
  std::string linhas;
  for (int i = 0; i < 60; ++i) linhas += "\n";
  citado = CitarValor(linhas);
  EXPECT_EQ(citado.substr(citado.size() - 7), "\\n\\n…");
  EXPECT_EQ(Utf8Length(citado), 2 * 39 + 1u);
  // Accented characters count as one and are not split either.
  EXPECT_EQ(CitarValor(std::string(78, 'x') + "ção"), std::string(78, 'x') + "ç…");
}

// A court's 32 MB reply quoted in a message took a string per character: a gigabyte and a
// second. Only the beginning that shows is looked at.
TEST(TextoMensagem, QuotingAHugeValueHeldAStringPerCharacter) {
  const std::string enorme = std::string(32u << 20, 'x') + "\n";
  auto inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(CitarValor(enorme), std::string(79, 'x') + "…");
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(250));
  // The cut never splits a character, however the bytes fall.
  for (size_t n = 300; n < 340; ++n)
    for (const char* c : {"ç", "€", "\xF0\x9F\x98\x80", "\xFF", "\n"}) {
      std::string v;
      while (v.size() < n) v += c;
      EXPECT_EQ(CitarValor(v), CitarValor(v.substr(0, 2000))) << n << c;
    }
}

TEST(TextoMensagem, ALongPathKeepsItsFileName) {
  std::filesystem::path p = "/home/contador/" + std::string(90, 'p') + "/saida/MOVIMENT.txt";
  std::string citado = CitarCaminho(p);
  EXPECT_EQ(Utf8Length(citado), MaxCitacao);
  EXPECT_EQ(citado.rfind("/home/contador/", 0), 0u) << citado;
  EXPECT_NE(citado.find("…"), std::string::npos);
  EXPECT_EQ(citado.substr(citado.size() - 19), "/saida/MOVIMENT.txt");
  EXPECT_EQ(CitarCaminho("/tmp/a\nb.txt"), "/tmp/a\\nb.txt");
}

TEST(TextoMensagem, SystemErrorsAreSaidInPortuguese) {
  EXPECT_EQ(DescricaoErroSistema(ENOENT), "arquivo ou pasta inexistente");
  EXPECT_EQ(DescricaoErroSistema(ENOTDIR), "uma parte do caminho não é uma pasta");
  EXPECT_EQ(DescricaoErroSistema(std::make_error_code(std::errc::permission_denied)), "permissão negada");
  EXPECT_EQ(DescricaoErroSistema(std::error_code(ENOSPC, std::system_category())), "disco cheio");
  EXPECT_EQ(DescricaoErroSistema(12345), "erro do sistema número 12345");
}

TEST(TextoMensagem, AnExceptionShownToTheUserCarriesNoLibraryText) {
  std::vector<std::string> debug;
  SetLogDebugSink([&](const std::string& l) { debug.push_back(l); });
  EXPECT_EQ(MensagemDeErro(EFileError("Não foi possível criar a pasta \"x\"")), "Não foi possível criar a pasta \"x\"");

  std::filesystem::filesystem_error fs("cannot create directories", "/tmp/arquivo/pasta",
                                       std::make_error_code(std::errc::not_a_directory));
  std::string m = MensagemDeErro(fs);
  EXPECT_EQ(m, "Erro no arquivo \"/tmp/arquivo/pasta\": uma parte do caminho não é uma pasta");
  ASSERT_EQ(debug.size(), 1u);
  EXPECT_NE(debug[0].find("Not a directory"), std::string::npos) << debug[0];

  std::string json;
  try {
    auto j = nlohmann::json::parse("{\"a\":");
    (void)j;
  } catch (const std::exception& e) {
    json = MensagemDeErro(e);
  }
  EXPECT_EQ(json, "Erro interno inesperado (os detalhes aparecem com --debug).");
  EXPECT_NE(debug.back().find("parse error"), std::string::npos) << debug.back();
  EXPECT_EQ(MensagemDeErro(std::bad_alloc()), "Memória insuficiente para concluir a operação.");
  SetLogDebugSink(nullptr);
}
