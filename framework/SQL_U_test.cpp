#include "SQL_U.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "BancoVazioTeste_U.h"
#include "Exceptions_U.h"

using namespace nFramework;

namespace {

class SQLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPath = std::filesystem::temp_directory_path() /
            ("ulmo_sql_" + std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
    std::filesystem::remove(FPath);
    FConexao = AbrirBancoTeste(FPath.string());
    SetConexao(FConexao.get());
    FConexao->Driver().ExecuteScript(
        "create table T (A integer, B integer, NOME varchar(20), VALOR numeric(15,2), DATA date, QUANDO timestamp);"
        "insert into T values (1, 2, 'um', 10.5, '2024-03-15', '2024-03-15 10:20:30.000');"
        "insert into T values (3, 4, 'O''Brien', 0.1, '2023-12-31', null);"
        "insert into T values (1, 5, null, null, null, null);");
  }
  void TearDown() override {
    FConexao.reset();
    for (const char* ext : {"", "-wal", "-shm"}) std::filesystem::remove(FPath.string() + ext);
  }
  std::filesystem::path FPath;
  std::unique_ptr<TnDMConexao> FConexao;
};

}  // namespace

TEST_F(SQLTest, NamedParametersBindByFirstAppearanceAndExtraValuesAreIgnored) {
  auto ds = ExecutarSQL("select A, B from T where A = :X and B = :Y or A = :X order by B", {1, 2, 3});
  // X=1, Y=2: rows (1,2) and (1,5)
  ASSERT_EQ(ds->RecordCount(), 2);
  EXPECT_EQ(ds->FieldByName("B").AsInteger(), 2);
  ds->Next();
  EXPECT_EQ(ds->FieldByName("b").AsInteger(), 5);

  // A name that repeats with other case is the same parameter.
  auto ds2 = ExecutarSQL("select count(*) QTD from T where A = :pA or B = :PA", {3});
  EXPECT_EQ(ds2->FieldByName("QTD").AsInteger(), 1);
}

TEST_F(SQLTest, ColumnTypesComeFromTheDeclarationsAndExpressionsFromTheirValues) {
  auto ds = ExecutarSQL("select T.*, A * 1.5 CALC, cast(A as varchar(5)) TXT, A ALIAS, B ALIAS from T order by A, B");
  EXPECT_EQ(ds->FieldByName("VALOR").DataType(), TFieldType::ftCurrency);
  EXPECT_EQ(ds->FieldByName("DATA").DataType(), TFieldType::ftDate);
  EXPECT_EQ(ds->FieldByName("QUANDO").DataType(), TFieldType::ftDateTime);
  EXPECT_EQ(ds->FieldByName("NOME").Size(), 20);
  EXPECT_EQ(ds->FieldByName("CALC").DataType(), TFieldType::ftFloat);
  EXPECT_EQ(ds->FieldByName("TXT").DataType(), TFieldType::ftString);
  ds->First();
  EXPECT_EQ(ds->FieldByName("DATA").AsDateTime(), EncodeDate(2024, 3, 15));
  EXPECT_EQ(ds->FieldByName("VALOR").AsCurrency(), Currency::FromString("10.5"));
  EXPECT_EQ(ds->FieldByName("ALIAS").AsInteger(), 1);  // the first of two columns of one name
}

TEST_F(SQLTest, ExtractIsTranslatedForSQLite) {
  auto ds = ExecutarSQL(
      "select extract(year from DATA) Y, EXTRACT( MONTH FROM DATA ) M, extract(day from QUANDO) D from T where A = 1 and B = 2");
  EXPECT_EQ(ds->FieldByName("Y").AsInteger(), 2024);
  EXPECT_EQ(ds->FieldByName("M").AsInteger(), 3);
  EXPECT_EQ(ds->FieldByName("D").AsInteger(), 15);
  auto ds2 = ExecutarSQL("select 'extract(year from x)' TXT from T limit 1");
  EXPECT_EQ(ds2->FieldByName("TXT").AsString(), "extract(year from x)");
}

TEST_F(SQLTest, RefreshReusesTheFieldsAndDatesBindAsIsoText) {
  auto ds = ExecutarSQL("select A, NOME from T where DATA between :D1 and :D2",
                        {TVariant::FromDate(EncodeDate(2024, 1, 1)), TVariant::FromDate(EncodeDate(2024, 12, 31))});
  TField* nome = &ds->FieldByName("NOME");
  EXPECT_EQ(ds->RecordCount(), 1);
  RefreshSQL(*ds, {TVariant::FromDate(EncodeDate(2023, 1, 1)), TVariant::FromDate(EncodeDate(2023, 12, 31))});
  EXPECT_EQ(&ds->FieldByName("NOME"), nome);
  EXPECT_EQ(nome->AsString(), "O'Brien");
}

TEST_F(SQLTest, LiteralsEscapeTextAndRefuseWhatIsNotANumber) {
  std::string lit = ValorParaSQL("O'Brien", TFieldType::ftString);
  EXPECT_EQ(lit, "'O''Brien'");
  EXPECT_EQ(PegarValorCampo("T", "A", "NOME = " + lit).AsInteger(), 3);
  EXPECT_EQ(ValorParaSQL(TVariant::FromDate(EncodeDate(2024, 2, 29)), TFieldType::ftDate), "'2024-02-29'");
  EXPECT_EQ(ValorParaSQL(12, TFieldType::ftSmallint), "12");
  EXPECT_EQ(ValorParaSQL(Null, TFieldType::ftInteger), "null");
  EXPECT_EQ(ValorParaSQL(Currency::FromString("-1.25"), TFieldType::ftCurrency), "-1.25");
  EXPECT_THROW(ValorParaSQL("1 or 1=1", TFieldType::ftInteger), EConvertError);
}

// An interval typed into a panel was quoted raw in its refusal, line breaks and control
// characters included, so the message broke over lines (or wrote to the terminal).
TEST_F(SQLTest, ARefusedIntervalWasQuotedAsItCame) {
  try {
    FilterInterval("X", "1,\n2-\x1b");
    ADD_FAILURE() << "sem erro";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Intervalo inválido \"1,\\n2-\\x1B\": \"2-\" não é uma faixa de números inteiros. "
                           "Informe números separados por vírgula ou faixas como 10-20.");
  }
}

TEST_F(SQLTest, FilterIntervalAcceptsOnlyIntegerListsAndRanges) {
  EXPECT_EQ(FilterInterval("C.CODIGOCFOP", "1,5,10-20"), "(C.CODIGOCFOP in (1,5) or C.CODIGOCFOP between 10 and 20)");
  EXPECT_EQ(FilterInterval("X", " 7 "), "(X in (7))");
  EXPECT_EQ(FilterInterval("X", ""), "");
  EXPECT_THROW(FilterInterval("C.CODIGOCFOP", "5102; drop table X"), Exception);
  EXPECT_THROW(FilterInterval("X", "1,,2"), Exception);
  EXPECT_THROW(FilterInterval("X", "1-a"), Exception);
}

TEST_F(SQLTest, LookupsReturnValuesArraysOrNull) {
  EXPECT_EQ(PegarValorCampo("T", "NOME", "A = 1 and B = 2").AsString(), "um");
  TVariant arr = PegarValorCampo("T X join T Y on X.A = Y.A and Y.B = 5", "X.B, Y.NOME", "X.B = 2");
  ASSERT_TRUE(arr.IsArray());
  EXPECT_EQ(arr[0].AsInteger(), 2);
  EXPECT_TRUE(arr[1].IsNull());
  EXPECT_TRUE(PegarValorCampo("T", "A", "A = 99").IsNull());
  EXPECT_TRUE(PegarTemRegistro("T", "A", "A = 3"));
  EXPECT_FALSE(PegarTemRegistro("T", "A", "A = 4"));
  EXPECT_EQ(PegarProximoCodigoInt("T", "B"), 6);
  EXPECT_EQ(PegarProximoCodigoInt("T", "B", "A = 9"), 1);
}

TEST_F(SQLTest, BlockCommandIsAllOrNothing) {
  TBlockCommand block;
  block.Add("insert into T (A, B) values (:A, :B)", {7, 7});
  block.Add("insert into NAOEXISTE values (1)");
  EXPECT_THROW(block.Executar(), EDatabaseError);
  EXPECT_FALSE(PegarTemRegistro("T", "A", "A = 7"));
  block.Clear();
  block.Add("insert into T (A, B) values (:A, :B)", {7, 7});
  block.Add("update T set B = 8 where A = :A", {7});
  block.Executar();
  EXPECT_EQ(PegarValorCampo("T", "B", "A = 7").AsInteger(), 8);
}

TEST_F(SQLTest, ReadOnlyTransactionsNestByIdentifierAndWritesInsideThemAreDurable) {
  auto& c = Conexao();
  c.StartTransactionRO(1);
  c.StartTransactionRO(1);  // a helper opening the same read-only transaction
  c.CommitRO(1);
  c.StartTransaction();
  ExecutarSQLDireto("insert into T (A, B) values (8, 8)");
  c.Commit();
  c.RollBackRO(1);
  EXPECT_FALSE(c.InTransaction());
  // A second connection sees the row: it was committed, not kept in the read transaction.
  auto other = TnDMConexao::Abrir(FConexao->Driver().Caminho());
  SetConexao(other.get());
  EXPECT_TRUE(PegarTemRegistro("T", "A", "A = 8"));
  SetConexao(FConexao.get());

  c.StartTransaction();
  c.StartTransaction();
  ExecutarSQLDireto("insert into T (A, B) values (9, 9)");
  c.RollBack();  // only the inner part
  ExecutarSQLDireto("insert into T (A, B) values (10, 10)");
  c.Commit();
  EXPECT_FALSE(PegarTemRegistro("T", "A", "A = 9"));
  EXPECT_TRUE(PegarTemRegistro("T", "A", "A = 10"));
}

TEST_F(SQLTest, AMillionRowResultLoadsAndWalksWithoutPerValueAllocation) {
  FConexao->Driver().ExecuteScript(
      "create table BIG (K bigint, V numeric(15,2), S varchar(10));"
      "with recursive N(i) as (select 1 union all select i + 1 from N where i < 200000) "
      "insert into BIG select i, i / 100.0, 'x' || (i % 7) from N;");
  auto ds = ExecutarSQL("select K, V, S from BIG order by K");
  TField& k = ds->FieldByName("K");
  TField& v = ds->FieldByName("V");
  TField& s = ds->FieldByName("S");
  int64_t sumK = 0;
  Currency sumV;
  size_t len = 0;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    sumK += k.AsLargeInt();
    sumV += v.AsCurrency();
    len += s.AsStringView().size();
  }
  EXPECT_EQ(sumK, 200000LL * 200001 / 2);
  EXPECT_EQ(sumV, Currency::FromRaw(sumK * 100));
  EXPECT_EQ(len, 400000u);
}

// Amounts stored as SQLite REAL came back through a double: what the column holds, written as
// the demo and the court processes write it (a bound currency or a literal), reads back exact.
TEST_F(SQLTest, StoredAmountsReadBackAsExactCurrency) {
  FConexao->Driver().ExecuteScript("create table M (K integer, V numeric(18,4));");
  const char* valores[] = {"0.1", "0.125", "2.675", "-2.675", "1000000000000", "1000000000000.12",
                           "9999999999999.99", "-9999999999999.99", "1234567890123.45"};
  int k = 0;
  for (const char* v : valores) {
    ExecutarSQLDireto("insert into M values (:K, :V)", {++k, Currency::FromString(v)});
    ExecutarSQLDireto(std::string("insert into M values (") + std::to_string(++k) + ", " + v + ")");
  }
  auto ds = ExecutarSQL("select K, V from M order by K");
  ASSERT_EQ(ds->RecordCount(), 2 * static_cast<int>(std::size(valores)));
  for (ds->First(); !ds->Eof(); ds->Next()) {
    const char* v = valores[(ds->FieldByName("K").AsInteger() - 1) / 2];
    EXPECT_EQ(ds->FieldByName("V").AsCurrency().ToString(), Currency::FromString(v).ToString())
        << v << (ds->FieldByName("K").AsInteger() % 2 ? " (bound)" : " (literal)");
  }
}
