#include "BancoVazioTeste_U.h"
#include "CursorSQL_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "FormatUtils_U.h"

namespace nFramework {
namespace {

class CursorSQLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    FConexao->Driver().ExecuteScript(
        "create table T (ID integer, VALOR NUMERIC(18,4), TEXTO varchar(20), DATA date);"
        "insert into T values (1, 0.125, 'a', '2024-01-31'), (2, 2.675, null, '2024-02-29 10:00:00.000'),"
        " (3, 1000000000000, 'ção', null), (4, 9999999999999.99, '', '2024-12-01');");
  }
  std::unique_ptr<TnDMConexao> FConexao;
};

TEST_F(CursorSQLTest, RowsComeOneByOneTypedAsAsked) {
  TCursorSQL c(*FConexao, "select ID, VALOR, TEXTO, DATA from T where ID >= :pMin order by ID", {TVariant(1)});
  ASSERT_TRUE(c.Proximo());
  EXPECT_EQ(c.Inteiro(0), 1);
  EXPECT_EQ(c.Moeda(1), Currency::FromString("0.125"));
  EXPECT_EQ(c.Texto(2), "a");
  EXPECT_EQ(c.Data(3), EncodeDate(2024, 1, 31));
  ASSERT_TRUE(c.Proximo());
  EXPECT_EQ(c.Moeda(1), Currency::FromString("2.675"));
  EXPECT_TRUE(c.Nulo(2));
  EXPECT_EQ(c.Texto(2), "");
  EXPECT_EQ(DateOf(c.Data(3)), EncodeDate(2024, 2, 29));
  ASSERT_TRUE(c.Proximo());
  EXPECT_EQ(c.Moeda(1), Currency::FromInt(1000000000000));
  EXPECT_EQ(c.Texto(2), "ção");
  EXPECT_EQ(c.Data(3), 0);
  ASSERT_TRUE(c.Proximo());
  EXPECT_EQ(c.Moeda(1), Currency::FromString("9999999999999.99"));
  EXPECT_FALSE(c.Proximo());
}

TEST_F(CursorSQLTest, TheSameTextRunsAgainAfterTheCursorCloses) {
  for (int vez = 0; vez < 2; ++vez) {
    TCursorSQL c(*FConexao, "select ID from T where ID > :pMin order by ID", {TVariant(2)});
    ASSERT_TRUE(c.Proximo()) << vez;
    EXPECT_EQ(c.Inteiro(0), 3);
    // Left half read: the next cursor starts from the first row again.
  }
}

TEST_F(CursorSQLTest, ATextThatIsNoDateIsRefused) {
  TCursorSQL c(*FConexao, "select TEXTO from T where ID = 1", {});
  ASSERT_TRUE(c.Proximo());
  EXPECT_THROW(c.Data(0), EConvertError);
}

}  // namespace
}  // namespace nFramework
