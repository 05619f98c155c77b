// Rows inserted one by one or, on a server, in batches: all of them reach the table by the end,
// a refused row names where it was, and rows held when an exception is under way are dropped.
#include "Insercao_U.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "BancoVazioTeste_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

class InsercaoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = AbrirBancoTeste();
    SetConexao(FConexao.get());
    ExecutarSQLDireto("create table T (A integer not null primary key, B varchar(20))");
  }
  void TearDown() override { SetConexao(nullptr); }
  static int64_t Linhas() { return ExecutarSQL("select count(*) from T")->Fields(0).AsLargeInt(); }
  std::unique_ptr<TnDMConexao> FConexao;
};

}  // namespace

TEST_F(InsercaoTest, EveryRowReachesTheTableByTheEndInBatchesOrNot) {
  for (bool lotes : {false, true}) {
    ExecutarSQLDireto("delete from T");
    EmTransacao([&] {
      TInsercao t("T", "A, B", lotes);
      for (int i = 1; i <= 4500; ++i) t.Linha({i, "linha " + std::to_string(i)});
      t.Concluir();
      EXPECT_EQ(t.Quantidade(), 4500);
      EXPECT_EQ(Linhas(), 4500);
      t.Linha({4501, "depois"});  // the destructor writes what is still held
    });
    EXPECT_EQ(Linhas(), 4501) << lotes;
    EXPECT_EQ(ExecutarSQL("select B from T where A = 2345")->Fields(0).AsString(), "linha 2345");
  }
}

TEST_F(InsercaoTest, ARefusedRowNamesWhereItWasAndHeldRowsGoWithAnExceptionUnderWay) {
  ExecutarSQLDireto("insert into T values (2500, 'antes')");
  try {
    EmTransacao([&] {
      TInsercao t("T", "A, B", true);
      for (int i = 1; i <= 3000; ++i) t.Linha({i, "x"});
      t.Concluir();
    });
    ADD_FAILURE() << "gravou a chave repetida";
  } catch (const EDatabaseError& e) {
    // One row to a statement on SQLite; on a server the batch that held it.
    const std::string onde = FConexao->DriverName() == "SQLite" ? "T, linha 2500: " : "T, linhas 2001 a 3000: ";
    EXPECT_EQ(std::string(e.what()).rfind(onde, 0), 0u) << e.what();
  }
  EXPECT_EQ(Linhas(), 1);
  EXPECT_THROW(EmTransacao([&] {
                 TInsercao t("T", "A, B", true);
                 t.Linha({1, "x"});
                 throw std::runtime_error("falha no meio");
               }),
               std::runtime_error);
  EXPECT_EQ(Linhas(), 1);
}
