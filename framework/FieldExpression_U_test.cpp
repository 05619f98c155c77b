#include "FieldExpression_U.h"

#include <gtest/gtest.h>

#include <map>

#include "Classes_U.h"
#include "Exceptions_U.h"

using namespace nFramework;

namespace {

TnResolvedorNome Campos(std::map<std::string, TVariant> valores) {
  return [valores](const std::string& nome) -> std::optional<TVariant> {
    for (const auto& [k, v] : valores)
      if (SameText(k, nome)) return v;
    return std::nullopt;
  };
}

std::string Erro(std::string_view expr, const TnResolvedorNome& r) {
  try {
    AvaliarExpressao(expr, r);
  } catch (const Exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(FieldExpression, IgualComparesNumbersAsNumbersAndTextsAsTexts) {
  auto r = Campos({{"PGERAAPLICFINANCEIRA", TVariant("1")}, {"UF", TVariant("PR")}, {"VAZIO", TVariant()}});
  EXPECT_TRUE(AvaliarCondicao("IGUAL(PGERAAPLICFINANCEIRA,1)", r));
  EXPECT_TRUE(AvaliarCondicao("IGUAL ( pGeraAplicFinanceira , 1.0 )", r));
  EXPECT_FALSE(AvaliarCondicao("IGUAL(UF, \"pr\")", r));
  EXPECT_TRUE(AvaliarCondicao("NOT(DIFERENTE(UF, 'PR'))", r));
  EXPECT_TRUE(AvaliarCondicao("E(VAZIO(VAZIO), OU(IGUAL(UF,'SC'), IGUAL(UF,'PR')))", r));
  EXPECT_FALSE(AvaliarCondicao("VAZIO(UF)", r));
}

TEST(FieldExpression, ExternoHandsEveryArgumentAsTextToTheRegisteredFunction) {
  std::vector<std::string> recebidos;
  FieldExpressionFunctions().RegisterFunction("VALIDARUFTCE", [&](const std::vector<std::string>& a) {
    recebidos = a;
    return TVariant(a.size() == 2 && a[0] == "3" && a[1] == "PR");
  });
  auto r = Campos({{"CODIGOSISTEMATCE", TVariant(3)}});
  EXPECT_TRUE(AvaliarCondicao("EXTERNO(\"VALIDARUFTCE\" , [CODIGOSISTEMATCE, \"PR\"])", r));
  EXPECT_EQ(recebidos, (std::vector<std::string>{"3", "PR"}));
  EXPECT_FALSE(AvaliarCondicao("NOT(EXTERNO(\"validaruftce\" , [CODIGOSISTEMATCE, \"PR\"]))", r));
  // A Null field reaches the function as an empty text.
  auto nulo = Campos({{"CODIGOEMPRESA", TVariant()}});
  FieldExpressionFunctions().RegisterFunction("PEGARSISTEMATCE", [&](const std::vector<std::string>& a) {
    recebidos = a;
    return TVariant(0);
  });
  EXPECT_EQ(AvaliarExpressao("EXTERNO(\"PEGARSISTEMATCE\" , [CODIGOEMPRESA])", nulo).AsInteger(), 0);
  EXPECT_EQ(recebidos, std::vector<std::string>{""});
  FieldExpressionFunctions().UnRegisterFunction("VALIDARUFTCE");
  FieldExpressionFunctions().UnRegisterFunction("PEGARSISTEMATCE");
}

TEST(FieldExpression, MistakesAreReportedWithTheExpression) {
  auto r = Campos({{"A", TVariant(1)}});
  EXPECT_EQ(Erro("IGUAL(B,1)", r), "Expressão inválida: IGUAL(B,1) (nome desconhecido B)");
  EXPECT_EQ(Erro("IGUAL(A,1", r), "Expressão inválida: IGUAL(A,1 (esperava ')' na posição 10)");
  EXPECT_EQ(Erro("SOMAR(A)", r), "Expressão inválida: SOMAR(A) (função desconhecida SOMAR)");
  EXPECT_EQ(Erro("EXTERNO(\"NAOHA\", [A])", r), "Função de expressão não registrada: NAOHA");
  EXPECT_EQ(Erro("NOT(A, A)", r), "Expressão inválida: NOT(A, A) (NOT com 2 argumento(s))");
}

// An expression nesting calls or lists a hundred thousand deep ran the parser, the evaluation
// and the tree's destruction out of stack.
TEST(FieldExpression, DeeplyNestedExpressionOverflowedTheStack) {
  auto r = Campos({{"A", TVariant(1)}});
  std::string chamadas;
  for (int i = 0; i < 100000; ++i) chamadas += "NOT(";
  chamadas += "A" + std::string(100000, ')');
  const std::string listas = std::string(300000, '[') + std::string(300000, ']');
  for (const std::string& e : {chamadas, listas}) {
    std::string erro = Erro(e, r);
    EXPECT_EQ(erro.rfind("Expressão inválida: ", 0), 0u) << erro.substr(0, 200);
    EXPECT_NE(erro.find(" (mais de 64 chamadas e listas aninhadas na posição "), std::string::npos) << erro.substr(0, 200);
    EXPECT_LT(erro.size(), 300u);
  }
  // Sixty-four levels are an expression like any other.
  std::string fundo;
  for (int i = 0; i < 64; ++i) fundo += "NOT(";
  EXPECT_TRUE(AvaliarCondicao(fundo + "A" + std::string(64, ')'), r));
  EXPECT_NE(Erro("NOT(" + fundo + "A" + std::string(65, ')'), r).find("(mais de 64 chamadas"), std::string::npos);
}

// The unexpected character went into the message as a raw byte: a control character typed into
// a rule reached the terminal, and half of a UTF-8 character made the message
// invalid text.
TEST(FieldExpression, AnUnexpectedCharacterWasQuotedAsARawByte) {
  auto r = Campos({{"A", TVariant(1)}});
  EXPECT_EQ(Erro("IGUAL(A,\x7f[31m)", r), "Expressão inválida: IGUAL(A,\\x7F[31m) (caractere inesperado '\\x7F' na posição 9)");
  EXPECT_NE(Erro("IGUAL(A, é)", r).find("caractere inesperado 'é' na posição 10"), std::string::npos);
  EXPECT_NE(Erro("IGUAL(A,\xDE" "1)", r).find("caractere inesperado '\\xDE' na posição 9"), std::string::npos);
}

// EXTERNO takes the function's name as a text, so it can hold anything; the refusal of an
// unregistered one wrote it as it came, a line break or a stray byte included.
TEST(FieldExpression, AnUnregisteredOutsideFunctionWasNamedAsItCame) {
  auto r = Campos({});
  EXPECT_EQ(Erro("EXTERNO(\"VALIDAR\nUF\xC9\", [1])", r), "Função de expressão não registrada: VALIDAR\\nUF\\xC9");
}
