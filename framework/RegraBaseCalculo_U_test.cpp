#include "RegraBaseCalculo_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;

namespace {

Currency C(const char* texto) { return Currency::FromString(texto); }

class RegraBaseCalculoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSaldos.AddFieldDef("CONTACTB", TFieldType::ftLargeint);
    FSaldos.AddFieldDef("SALDOANTERIOR", TFieldType::ftCurrency);
    FSaldos.AddFieldDef("DEBITO", TFieldType::ftCurrency);
    FSaldos.AddFieldDef("CREDITO", TFieldType::ftCurrency);
    FSaldos.AddFieldDef("MOVIMENTO", TFieldType::ftCurrency);
    FSaldos.AddFieldDef("SALDOATUAL", TFieldType::ftCurrency);
    FSaldos.CreateDataSet();
    // Account 10 in two rows (two establishments), account 20 in one.
    FSaldos.AppendRecord({10, 100.0, 30.0, 5.0, -25.0, 75.0});
    FSaldos.AppendRecord({10, 1.0, 0.0, 0.0, 0.0, 1.0});
    FSaldos.AppendRecord({20, 0.0, 0.0, 40.0, 40.0, 40.0});
    FRegra.RegistrarCTB();
    FRegra.SetcdsPlano(&FSaldos);
  }
  TClientDataSet FSaldos;
  TnDMRegraBaseCalculo FRegra;
};

}  // namespace

TEST_F(RegraBaseCalculoTest, FormulasReadTheBalancesOfTheirAccounts) {
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("SALDOATUAL(10)"), C("76"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("saldoatual(10) - Credito(20) * 0.5"), C("56"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("-(DEBITO(10) + MOVIMENTO(20)) / 2"), C("-35"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("SALDOANTERIOR(99) + 2"), C("2"));  // an account without rows
  EXPECT_THROW(FRegra.ExecutarFormulaCTB("SALDOATUAL(10) / SALDOATUAL(99)"), EFormulaSemValor);
  // Only the arithmetic of the run refuses: the text itself is valid.
  EXPECT_TRUE(FRegra.ValidarFormulaCTB("SALDOATUAL(10) / SALDOATUAL(99)"));
}

// Values went through double: a tenth added a million times, or 2.675, came out a hair off
// and a cent could turn at the rounding.
// Found by fuzzing: an invalid rule whose evaluation met a division by zero before its error
// was said to have no value over the balances, as if the rule were valid.
TEST_F(RegraBaseCalculoTest, AnInvalidRuleWithADivisionByZeroWasSaidToHaveNoValue) {
  const std::string regra = "SALDOATUAL(10) / SALDOATUAL(99) 2";
  ASSERT_FALSE(FRegra.ValidarFormulaCTB(regra));
  try {
    FRegra.ExecutarFormulaCTB(regra);
    FAIL() << "an invalid rule was evaluated";
  } catch (const EFormulaSemValor&) {
    FAIL() << "an invalid rule was said to have no value";
  } catch (const Exception& e) {
    EXPECT_EQ(e.what(), FRegra.MotivoFormulaInvalida(regra));
  }
}

TEST_F(RegraBaseCalculoTest, FormulasComputeInExactDecimals) {
  std::string decimos = "0.1";
  for (int i = 1; i < 1000000; ++i) decimos += "+0.1";
  EXPECT_EQ(FRegra.ExecutarFormulaCTB(decimos), C("100000"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("2.675 * 1"), C("2.675"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("0.125 + 1000000000000"), C("1000000000000.125"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("922337203685476.9999 + 0.5"), C("922337203685477.4999"));
  // Products and quotients keep four places, the last rounded half away from zero.
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("1 / 3"), C("0.3333"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("-2 / 3"), C("-0.6667"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("0.0001 * 0.5"), C("0.0001"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("-0.0001 * 0.5"), C("-0.0001"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB("1.23456"), C("1.2346"));
  // Past what a currency holds there is no value, not a wrapped one.
  EXPECT_THROW(FRegra.ExecutarFormulaCTB("922337203685476 * 10"), EFormulaSemValor);
  EXPECT_THROW(FRegra.ExecutarFormulaCTB("922337203685476 + 922337203685476"), EFormulaSemValor);
  EXPECT_FALSE(FRegra.ValidarFormulaCTB("922337203685477"));
  EXPECT_TRUE(FRegra.ValidarFormulaCTB("000922337203685476"));
}

TEST_F(RegraBaseCalculoTest, OnlyWellFormedFormulasOfKnownFunctionsAreValid) {
  EXPECT_TRUE(FRegra.ValidarFormulaCTB(" ( SALDOATUAL(1) + 2.5 ) * 3 "));
  for (const char* f : {"", "   ", "SALDOATUAL(1) +", "SALDO(1)", "SALDOATUAL(x)", "SALDOATUAL(1", "2..5",
                        "SALDOATUAL(1) SALDOATUAL(2)", "1; drop table X"})
    EXPECT_FALSE(FRegra.ValidarFormulaCTB(f)) << f;
  EXPECT_THROW(FRegra.ExecutarFormulaCTB("SALDOATUAL(1) +"), Exception);
  // Without RegistrarCTB no function is known.
  TnDMRegraBaseCalculo semFuncoes;
  EXPECT_FALSE(semFuncoes.ValidarFormulaCTB("SALDOATUAL(1)"));
  EXPECT_TRUE(semFuncoes.ValidarFormulaCTB("1 + 1"));
}

TEST_F(RegraBaseCalculoTest, TheEditorGivesTheTextBackUnlessOneIsInstalled) {
  EXPECT_EQ(FRegra.MontarFormulaCTB("DEBITO(1)"), "DEBITO(1)");
  TnDMRegraBaseCalculo::SetEditorFormula([](const std::string& f) { return f + " + 1"; });
  EXPECT_EQ(FRegra.MontarFormulaCTB("DEBITO(1)"), "DEBITO(1) + 1");
  // A front end's editor sees the engine it edits for.
  const TnDMRegraBaseCalculo* visto = nullptr;
  TnDMRegraBaseCalculo::SetEditorFormula([&](const std::string& f, const TnDMRegraBaseCalculo& r) {
    visto = &r;
    return f;
  });
  EXPECT_EQ(FRegra.MontarFormulaCTB("DEBITO(1)"), "DEBITO(1)");
  EXPECT_EQ(visto, &FRegra);
  visto = nullptr;
  TnDMRegraBaseCalculo::SetEditorFormula(nullptr);
  EXPECT_EQ(FRegra.MontarFormulaCTB("DEBITO(2)"), "DEBITO(2)");
  EXPECT_EQ(visto, nullptr);
}

// The editor lists these to the user: each must be one a formula may call, and none missing.
TEST_F(RegraBaseCalculoTest, TheFunctionsOfferedAreTheOnesFormulasMayCall) {
  const auto& funcoes = FRegra.FuncoesCTB();
  ASSERT_EQ(funcoes.size(), 5u);
  EXPECT_EQ(funcoes.front().Nome, "SALDOANTERIOR");
  for (const auto& f : funcoes) {
    EXPECT_TRUE(FRegra.ValidarFormulaCTB(f.Nome + "(10)")) << f.Nome;
    EXPECT_FALSE(f.Descricao.empty()) << f.Nome;
    // Each reads the balance column of its name.
    EXPECT_NO_THROW(FSaldos.FieldByName(f.Nome)) << f.Nome;
  }
  EXPECT_TRUE(TnDMRegraBaseCalculo().FuncoesCTB().empty());
}

TEST_F(RegraBaseCalculoTest, TheAccountsOfTheBalancesAddUpTheirRows) {
  auto contas = FRegra.SaldosCTB();
  ASSERT_EQ(contas.size(), 2u);
  EXPECT_EQ(contas[0].ContaCtb, 10);
  EXPECT_EQ(contas[0].SaldoAnterior, C("101"));
  EXPECT_EQ(contas[0].SaldoAtual, C("76"));
  EXPECT_EQ(contas[1].ContaCtb, 20);
  EXPECT_EQ(contas[1].Credito, C("40"));
  // The engine's cursor stays where it was.
  FSaldos.Last();
  FRegra.SaldosCTB();
  EXPECT_EQ(FSaldos.FieldByName("CONTACTB").AsInteger(), 20);
  EXPECT_TRUE(FSaldos.Eof() == false);
  FRegra.SetcdsPlano(nullptr, "Sem saldos");
  EXPECT_TRUE(FRegra.SaldosCTB().empty());
  EXPECT_EQ(FRegra.DescricaoPlano(), "Sem saldos");
}

TEST_F(RegraBaseCalculoTest, TheReasonOfARefusalNamesThePosition) {
  EXPECT_EQ(FRegra.MotivoFormulaInvalida("SALDOATUAL(10) - DEBITO(12)"), "");
  EXPECT_EQ(FRegra.MotivoFormulaInvalida("SALDOATUAL(10) +"), "Fórmula inválida (posição 17): fim inesperado");
  EXPECT_EQ(FRegra.MotivoFormulaInvalida("SALDO(1)"), "Fórmula inválida (posição 6): função desconhecida SALDO");
}

// A stored rule of 60,000 leading minus signs, or 200,000 nested parentheses, ran the recursive
// descent out of stack and ended the SAGRES run.
TEST_F(RegraBaseCalculoTest, DeeplyNestedFormulaOverflowedTheStack) {
  const std::string menos = std::string(60000, '-') + "SALDOATUAL(10)";
  const std::string parenteses = std::string(200000, '(') + "1" + std::string(200000, ')');
  std::string alternados;
  for (int i = 0; i < 100000; ++i) alternados += "-(";
  alternados += "1" + std::string(100000, ')');
  for (const std::string& f : {menos, parenteses, alternados}) {
    EXPECT_FALSE(FRegra.ValidarFormulaCTB(f));
    try {
      FRegra.ExecutarFormulaCTB(f);
      ADD_FAILURE() << "sem erro";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Fórmula inválida (posição ", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find("): mais de 100 níveis de parênteses e sinais."), std::string::npos)
          << e.what();
    }
  }
  // A hundred levels are a formula like any other.
  EXPECT_EQ(FRegra.ExecutarFormulaCTB(std::string(99, '(') + "-SALDOATUAL(10)" + std::string(99, ')')), C("-76"));
  EXPECT_EQ(FRegra.ExecutarFormulaCTB(std::string(100, '-') + "2"), C("2"));
  EXPECT_FALSE(FRegra.ValidarFormulaCTB(std::string(101, '-') + "2"));
  // Long flat formulas are not deep.
  std::string soma = "0";
  for (int i = 0; i < 100000; ++i) soma += "+1";
  EXPECT_EQ(FRegra.ExecutarFormulaCTB(soma), C("100000"));
}

// As in the field expressions, the character a rule could not read was quoted as a raw byte.
TEST_F(RegraBaseCalculoTest, AnUnexpectedCharacterWasQuotedAsARawByte) {
  for (auto [formula, citado] : {std::pair{"SALDOATUAL(10) \x1b", "'\\x1B'"}, std::pair{"2 * ç", "'ç'"},
                                 std::pair{"1 \n+ \xE7", "'\\xE7'"}}) {
    try {
      FRegra.ExecutarFormulaCTB(formula);
      ADD_FAILURE() << formula;
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("caractere inesperado ") + citado), std::string::npos) << e.what();
    }
  }
}
