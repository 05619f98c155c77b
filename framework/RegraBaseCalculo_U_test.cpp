#include "RegraBaseCalculo_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;

namespace {

class RegraBaseCalculoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSaldos.AddFieldDef("CONTACTB", TFieldType::ftFloat);
    for (const char* c : {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"})
      FSaldos.AddFieldDef(c, TFieldType::ftFloat);
    FSaldos.CreateDataSet();
    Linha(10, 100, 50, 30, 20, 120);
    Linha(20, -5, 0, 7, -7, -12);
    FSaldos.SetIndexFieldNames("CONTACTB");
    FRegra.RegistrarCTB();
    FRegra.SetcdsPlano(&FSaldos);
  }
  void Linha(double conta, double a, double d, double c, double m, double s) {
    FSaldos.Append();
    FSaldos.FieldByName("CONTACTB").SetAsFloat(conta);
    FSaldos.FieldByName("SALDOANTERIOR").SetAsFloat(a);
    FSaldos.FieldByName("DEBITO").SetAsFloat(d);
    FSaldos.FieldByName("CREDITO").SetAsFloat(c);
    FSaldos.FieldByName("MOVIMENTO").SetAsFloat(m);
    FSaldos.FieldByName("SALDOATUAL").SetAsFloat(s);
    FSaldos.Post();
  }
  TClientDataSet FSaldos;
  TnDMRegraBaseCalculo FRegra;
};

TEST_F(RegraBaseCalculoTest, ArithmeticFollowsPrecedenceAndParentheses) {
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("1 + 2 * 3"), 7);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("(1 + 2) * 3"), 9);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("10 - 4 - 3"), 3);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("-2.5 * -2"), 5);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("9 / 3 / 3"), 1);
}

TEST_F(RegraBaseCalculoTest, AccountFunctionsReadTheirBalanceColumn) {
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("SALDOANTERIOR(10)"), 100);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("debito(10) - credito(10)"), 20);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("MOVIMENTO(20)"), -7);
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("SALDOATUAL(10) + SALDOATUAL(20)"), 108);
  // An account without balances in the period counts as zero.
  EXPECT_DOUBLE_EQ(FRegra.ExecutarFormulaCTB("SALDOATUAL(99) + 1"), 1);
}

TEST_F(RegraBaseCalculoTest, ValidationRejectsMalformedFormulasWithAReason) {
  std::string msg;
  EXPECT_TRUE(FRegra.ValidarFormulaCTB("SALDOATUAL(10) * 2", &msg));
  for (const char* f : {"", "  ", "1 +", "(1 + 2", "SALDO(10)", "DEBITO 10", "DEBITO(x)", "1 2", "1..2", "2 # 3"}) {
    EXPECT_FALSE(FRegra.ValidarFormulaCTB(f, &msg)) << f;
    EXPECT_EQ(msg.rfind("Fórmula inválida: ", 0), 0u) << msg;
  }
  EXPECT_THROW(FRegra.ExecutarFormulaCTB("1 +"), Exception);
}

TEST_F(RegraBaseCalculoTest, AccountFunctionsNeedRegistration) {
  TnDMRegraBaseCalculo semCTB;
  EXPECT_TRUE(semCTB.ValidarFormulaCTB("1 + 1"));
  EXPECT_FALSE(semCTB.ValidarFormulaCTB("DEBITO(10)"));
}

TEST_F(RegraBaseCalculoTest, DivisionByZeroIsAnErrorNotAnInfiniteAmount) {
  EXPECT_TRUE(FRegra.ValidarFormulaCTB("SALDOATUAL(10) / DEBITO(20)"));
  try {
    FRegra.ExecutarFormulaCTB("SALDOATUAL(10) / DEBITO(20)");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("divisão por zero"), std::string::npos) << e.what();
  }
}

TEST_F(RegraBaseCalculoTest, BalancesAskedForWithoutBalancesIsAnError) {
  TnDMRegraBaseCalculo regra;
  regra.RegistrarCTB();
  EXPECT_THROW(regra.ExecutarFormulaCTB("DEBITO(10)"), Exception);
}

}  // namespace
