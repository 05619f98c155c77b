// Amounts as the movement file reads them (the framework's cursor over SQLite): a REAL column
// must give back the decimal that was stored, the largest the court's field holds included.
#include "CursorSQL_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;

namespace {

class LeituraExataRSTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = TnDMConexao::AbrirSQLite(":memory:");
    SetConexao(FConexao.get());
    FConexao->Driver().ExecuteScript(
        "create table T (ID integer, VALOR NUMERIC(14,2), DATA DATE, NOME varchar(10));"
        "insert into T values (1, 0.1, '2024-03-10', 'a'), (2, 2.675, '2024-12-31', null),"
        " (3, 1000000000000.01, null, 'c'), (4, 99999999999.99, '2024-01-01', 'd'), (5, '0.125', null, null),"
        " (6, 7, null, null);");
  }
  void TearDown() override { SetConexao(nullptr); }
  std::unique_ptr<TnDMConexao> FConexao;
};

TEST_F(LeituraExataRSTest, AmountsStoredAsRealOrIntegerReadBackExactly) {
  TCursorSQL c(*FConexao, "select ID, VALOR from T where ID >= :ID order by ID", {TVariant(1)});
  const int valor = 1;
  std::vector<std::string> lidos;
  while (c.Proximo()) lidos.push_back(c.Moeda(valor).ToString());
  EXPECT_EQ(lidos, (std::vector<std::string>{"0.1", "2.675", "1000000000000.01", "99999999999.99", "0.125", "7"}));
}

}  // namespace
