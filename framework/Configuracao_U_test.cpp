#include "Configuracao_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "Nutil_U.h"

using namespace nFramework;

namespace {
struct TConfigLimpa {
  TConfigLimpa() { RestaurarConfiguracao(); }
  ~TConfigLimpa() { RestaurarConfiguracao(); }
};

std::string Erro(std::string_view texto) {
  try {
    CarregarConfiguracaoTexto(texto, "ulmo.toml");
  } catch (const Exception& e) {
    return e.what();
  }
  return "";
}
}  // namespace

TEST(Configuracao, DefaultsListTheFourLibrariesInOpeningOrder) {
  TConfigLimpa c;
  EXPECT_EQ(nConfig().Bibliotecas,
            (std::vector<std::string>{"UlmoPkPb", "UlmoPkPbDevExpress", "UlmoPkDevExpress", "UlmoPk"}));
  EXPECT_EQ(nConfig().Banco, "ulmo.db");
  EXPECT_EQ(nConfig().EsperaBloqueioMs, 5000);
  EXPECT_FALSE(nConfig().BancoSomenteLeitura);
  EXPECT_EQ(nConfig().Modulos, std::vector<int>{8});
  EXPECT_FALSE(nConfig().GetHomologacao());
  EXPECT_FALSE(EhUsoInterno());
}

TEST(Configuracao, TheFileOverridesTheDefaultsAndKeepsInstallationValuesByKey) {
  TConfigLimpa c;
  CarregarConfiguracaoTexto(R"(
[banco]
caminho = "/dados/ulmo.db"
espera_bloqueio_ms = 250
somente_leitura = true
[modulos]
bibliotecas = ["UlmoPkPb"]
numeros = [1, 8]
[ambiente]
homologacao = true
uso_interno = true
esfinge_online_url = "https://teste.local"
[instalacao.esfinge]
host_producao = "esfinge.tce.sc.gov.br"
)",
                            "ulmo.toml");
  EXPECT_EQ(nConfig().Banco, "/dados/ulmo.db");
  EXPECT_EQ(nConfig().EsperaBloqueioMs, 250);
  EXPECT_TRUE(nConfig().BancoSomenteLeitura);
  EXPECT_EQ(nConfig().Bibliotecas, std::vector<std::string>{"UlmoPkPb"});
  EXPECT_EQ(nConfig().Modulos, (std::vector<int>{1, 8}));
  EXPECT_TRUE(nConfig().GetHomologacao());
  EXPECT_TRUE(EhUsoInterno());
  EXPECT_EQ(nConfig().GetUrlEsfingeOnline(), "https://teste.local");
  EXPECT_EQ(nConfig().Valor("esfinge.host_producao"), "esfinge.tce.sc.gov.br");
  EXPECT_EQ(nConfig().Valor("esfinge.host_homologacao", "padrao"), "padrao");
}

// A float past 64 bits where an integer goes went through toml++'s float-to-integer cast, which
// overflows (undefined behaviour), before its type was checked.
TEST(Configuracao, AHugeFloatWhereAnIntegerGoesWasCastBeforeItsTypeWasChecked) {
  EXPECT_EQ(Erro("[banco]\nespera_bloqueio_ms = 5.5e61\n"),
            "Configuração inválida em ulmo.toml: banco.espera_bloqueio_ms deve ser um número inteiro de 0 a 3600000");
  EXPECT_EQ(Erro("[banco]\nespera_bloqueio_ms = 250.0\n"),
            "Configuração inválida em ulmo.toml: banco.espera_bloqueio_ms deve ser um número inteiro de 0 a 3600000");
  EXPECT_EQ(Erro("[modulos]\nnumeros = [8, -1e300]\n"), "Configuração inválida em ulmo.toml: modulos.numeros aceita números de 0 a 191");
}

// toml++ builds and frees the tables of a dotted key recursively: a key or a table header of a
// hundred thousand parts overflowed the stack, and --config /dev/zero was read without end.
TEST(Configuracao, AKeyOfAHundredThousandPartsOverflowedTheStack) {
  std::string chave = "a";
  for (int i = 0; i < 100000; ++i) chave += ".a";
  EXPECT_EQ(Erro("[instalacao]\n" + chave + " = 1\n"), "Configuração inválida em ulmo.toml: chave de mais de 32 níveis (linha 2)");
  EXPECT_EQ(Erro("# x.y\n[" + chave + "]\nx = 1\n"), "Configuração inválida em ulmo.toml: chave de mais de 32 níveis (linha 2)");
  EXPECT_EQ(Erro("[instalacao]\nx = { " + chave + " = 1 }\n"), "Configuração inválida em ulmo.toml: chave de mais de 32 níveis (linha 2)");
  EXPECT_EQ(Erro(std::string(2u << 20, '#')), "Configuração inválida em ulmo.toml: o arquivo passa de 1 MB");
  // Real files pass: quoted parts, and dots in texts and comments.
  std::string trinta = "a";
  for (int i = 1; i < 30; ++i) trinta += ".a";
  EXPECT_EQ(Erro("[instalacao] # a.b.c.d.e.f.g.h.i.j.k.l.m.n.o.p.q.r.s.t.u.v.w.x.y.z.a.b.c.d.e.f.g.h\n"
                 "esfinge.\"host.producao\" = \"https://a.b.c.d.e.f.g.h.i.j.k.l.m.n.o.p.q.r.s.t.u.v.w.x.y.z.a.b.c.d.e.f.g.h\"\n" +
                 trinta + " = \"1.5\"\n"),
            "");
  RestaurarConfiguracao();
  EXPECT_THROW(CarregarConfiguracao("/dev/zero"), Exception);
}

TEST(Configuracao, MistakesNameTheFileAndTheKeyAndChangeNothing) {
  TConfigLimpa c;
  EXPECT_EQ(Erro("[ambiente]\nhomologacoa = true\n"),
            "Configuração inválida em ulmo.toml: chave desconhecida ambiente.homologacoa");
  EXPECT_EQ(Erro("[ambiente]\nhomologacao = \"sim\"\n"),
            "Configuração inválida em ulmo.toml: ambiente.homologacao deve ser true ou false");
  EXPECT_EQ(Erro("[modulos]\nnumeros = [200]\n"),
            "Configuração inválida em ulmo.toml: modulos.numeros aceita números de 0 a 191");
  EXPECT_EQ(Erro("[banco\n").rfind("Configuração inválida em ulmo.toml: erro de sintaxe (linha 1, coluna ", 0), 0u)
      << Erro("[banco\n");
  EXPECT_EQ(Erro("[banco]\nespera_bloqueio_ms = \"5\"\n"),
            "Configuração inválida em ulmo.toml: banco.espera_bloqueio_ms deve ser um número inteiro de 0 a 3600000");
  EXPECT_EQ(Erro("[banco]\nespera_bloqueio_ms = -1\n"),
            "Configuração inválida em ulmo.toml: banco.espera_bloqueio_ms deve ser um número inteiro de 0 a 3600000");
  EXPECT_EQ(Erro("[banco]\ncaminho = \"x.db\"\n[modulos]\nbibliotecas = 3\n"),
            "Configuração inválida em ulmo.toml: modulos.bibliotecas deve ser uma lista de textos");
  EXPECT_EQ(nConfig().Banco, "ulmo.db");  // the failed file left nothing behind
}
