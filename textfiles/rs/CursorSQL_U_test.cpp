#include "CursorSQL_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;
using namespace nUlmoRS;

namespace {

class CursorSQLTest : public ::testing::Test {
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

TEST_F(CursorSQLTest, AmountsStoredAsRealOrIntegerReadBackExactly) {
  TCursorSQL c("select ID, VALOR from T where ID >= :ID order by ID", {TVariant(1)});
  const int valor = c.Coluna("valor");
  std::vector<std::string> lidos;
  while (c.Proximo()) lidos.push_back(c.Moeda(valor).ToString());
  EXPECT_EQ(lidos, (std::vector<std::string>{"0.1", "2.675", "1000000000000.01", "99999999999.99", "0.125", "7"}));
}

TEST_F(CursorSQLTest, RowsComeOneAtATimeTypedAndNullsReadAsEmpty) {
  TCursorSQL c("select ID, DATA, NOME from T where ID between :A and :B order by ID", {TVariant(1), TVariant(3)});
  ASSERT_TRUE(c.Proximo());
  EXPECT_EQ(c.Inteiro(0), 1);
  EXPECT_EQ(c.Data(1), EncodeDate(2024, 3, 10));
  EXPECT_EQ(c.Texto(2), "a");
  ASSERT_TRUE(c.Proximo());
  EXPECT_TRUE(c.Nulo(2));
  EXPECT_EQ(c.Texto(2), "");
  ASSERT_TRUE(c.Proximo());
  EXPECT_THROW(c.Data(1), EConvertError);
  EXPECT_FALSE(c.Proximo());
  EXPECT_FALSE(c.Proximo());
  EXPECT_THROW(c.Coluna("NADA"), EInternalError);
}

TEST_F(CursorSQLTest, ACursorLeftMidResultDoesNotDisturbTheNextRunOfItsQuery) {
  const char* sql = "select ID from T order by ID";
  {
    TCursorSQL c(sql, {});
    ASSERT_TRUE(c.Proximo());
    ASSERT_TRUE(c.Proximo());
  }
  TCursorSQL c(sql, {});
  ASSERT_TRUE(c.Proximo());
  EXPECT_EQ(c.Inteiro(0), 1);
}

}  // namespace
