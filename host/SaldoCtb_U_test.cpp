#include "SaldoCtb_U.h"

#include <gtest/gtest.h>

#include <map>

#include "BancoTeste_U.h"
#include "FormatUtils_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

// A small company: bank 4 and cash 5 under the synthetic 1.1.1; clients 14 under a synthetic of
// the same classification; suppliers 8 (credit nature); expenses 10; revenue 12; result 20.
const char* kEmpresa = R"SQL(
insert into EMPRESA values (1, 'Companhia Teste S.A.');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB) values (1, 1, 'Matriz'), (1, 2, 'Filial');
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, NATURGRUPO4)
  values (1, 1, -1, 1, -1);
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values
  (1, 1, '1', 'ATIVO', 1),
  (1, 2, '1.1', 'ATIVO CIRCULANTE', 1),
  (1, 3, '1.1.1', 'DISPONIVEL', 1),
  (1, 4, '1.1.1.01', 'Banco Conta Movimento', 2),
  (1, 5, '1.1.1.02', 'Caixa', 2),
  (1, 13, '1.1.2', 'CLIENTES', 1),
  (1, 14, '1.1.2', 'Clientes', 2),
  (1, 6, '2', 'PASSIVO', 1),
  (1, 7, '2.1', 'PASSIVO CIRCULANTE', 1),
  (1, 8, '2.1.1', 'Fornecedores', 2),
  (1, 20, '2.3', 'Resultado do Exercicio', 2),
  (1, 9, '3', 'DESPESAS', 1),
  (1, 10, '3.1', 'Despesas Gerais', 2),
  (1, 11, '4', 'RECEITAS', 1),
  (1, 12, '4.1', 'Receita de Servicos', 2),
  (1, 30, '9.1', 'Conta sem grupo configurado', 2);
insert into HISTORICOCTB values (1, 'Historico');
insert into ORIGLCTOCTB values ('01', 'Manual'), ('CP', 'Contas a pagar'), ('ZZ', 'Encerramento');
insert into IMPLSALDOCTB values
  (1, 1, 4, '2024-01-01', 60, 1),
  (1, 1, 8, '2024-01-01', 60, -1);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED,
                     VALORLCTOCTB, CODIGOHISTCTB, CODIGOORIGLCTOCTB) values
  (1, 1, 1, '2024-02-10', 4, 8, 40, 1, 'CP'),
  (1, 2, 1, '2024-03-05', 4, 12, 50, 1, '01'),
  (1, 3, 1, '2024-03-20', 10, 4, 30, 1, 'CP'),
  (1, 4, 1, '2024-03-21', 5, 12, 10, 1, '01'),
  (1, 5, 1, '2024-03-31', 12, 20, 60, 1, 'ZZ'),
  (1, 6, 1, '2024-03-31', 20, 10, 30, 1, 'ZZ'),
  (1, 7, 1, '2024-04-02', 14, 12, 70, 1, '01');
)SQL";

class SaldoCtbTest : public ::testing::Test {
 protected:
  void SetUp() override { FBanco.Executar(kEmpresa); }

  // The balance for the parameters' texts, as a caller of the process sets them.
  std::unique_ptr<TClientDataSet> Saldo(std::map<std::string, std::string> textos) {
    return GerarSaldoCtb(LerParamSaldoCtb([&](std::string_view alias) {
      auto it = textos.find(std::string(alias));
      return it == textos.end() ? std::string() : it->second;
    }));
  }

  struct TLinha {
    std::string DataSaldo;
    double Anterior, Debito, Credito, Movimento, Atual;
  };
  // The rows of one account, in the result's order.
  static std::vector<TLinha> Linhas(TClientDataSet& ds, int64_t conta, int estab = -1) {
    std::vector<TLinha> r;
    for (ds.First(); !ds.Eof(); ds.Next()) {
      if (ds.FieldByName("CONTACTB").AsLargeInt() != conta) continue;
      if (estab >= 0 && ds.FieldByName("CODIGOESTAB").AsInteger() != estab) continue;
      r.push_back({FormatDateTime("dd/mm/yyyy", ds.FieldByName("DATASALDO").AsDateTime()),
                   ds.FieldByName("SALDOANTERIOR").AsFloat(), ds.FieldByName("DEBITO").AsFloat(),
                   ds.FieldByName("CREDITO").AsFloat(), ds.FieldByName("MOVIMENTO").AsFloat(),
                   ds.FieldByName("SALDOATUAL").AsFloat()});
    }
    return r;
  }

  TBancoTeste FBanco;
};

#define EXPECT_LINHA(l, data, ant, deb, cred, mov, atual) \
  do {                                                    \
    EXPECT_EQ((l).DataSaldo, data);                       \
    EXPECT_DOUBLE_EQ((l).Anterior, ant);                  \
    EXPECT_DOUBLE_EQ((l).Debito, deb);                    \
    EXPECT_DOUBLE_EQ((l).Credito, cred);                  \
    EXPECT_DOUBLE_EQ((l).Movimento, mov);                 \
    EXPECT_DOUBLE_EQ((l).Atual, atual);                   \
  } while (0)

const std::map<std::string, std::string> kMarco = {
    {"pCodigoEmpresa", "1"}, {"pDataInicial", "01/03/2024"}, {"pDataFinal", "31/03/2024"}};

std::map<std::string, std::string> Com(std::map<std::string, std::string> base, const std::map<std::string, std::string>& mais) {
  for (const auto& [k, v] : mais) base[k] = v;
  return base;
}

}  // namespace

TEST_F(SaldoCtbTest, OpeningIsTheImplantationPlusEveryEarlierEntryAndClosingAddsTheMovement) {
  auto ds = Saldo(kMarco);
  auto banco = Linhas(*ds, 4);
  ASSERT_EQ(banco.size(), 1u);
  EXPECT_LINHA(banco[0], "01/03/2024", 100, 50, 30, 20, 120);
  ASSERT_TRUE(ds->Locate("CONTACTB", {4}));
  EXPECT_EQ(ds->FieldByName("TIPOCONTACALC").AsInteger(), 1);
  EXPECT_EQ(ds->FieldByName("CODIGOESTAB").AsInteger(), 0);  // not split by establishment
}

TEST_F(SaldoCtbTest, CreditNatureAccountsCountCreditsMinusDebits) {
  auto ds = Saldo(kMarco);
  auto fornecedores = Linhas(*ds, 8);
  ASSERT_EQ(fornecedores.size(), 1u);
  EXPECT_LINHA(fornecedores[0], "01/03/2024", 100, 0, 0, 0, 100);
  auto receita = Linhas(*ds, 12);
  ASSERT_EQ(receita.size(), 1u);
  EXPECT_LINHA(receita[0], "01/03/2024", 0, 60, 60, 0, 0);  // the closing entry moved it out
  ds->Locate("CONTACTB", {12});
  EXPECT_EQ(ds->FieldByName("TIPOCONTACALC").AsInteger(), -1);
}

TEST_F(SaldoCtbTest, SyntheticAccountsCarryTheirDescendantsOrNothingWhenNotAsked) {
  auto ds = Saldo(kMarco);
  EXPECT_LINHA(Linhas(*ds, 3)[0], "01/03/2024", 100, 60, 30, 30, 130);  // bank + cash
  EXPECT_LINHA(Linhas(*ds, 1)[0], "01/03/2024", 100, 60, 30, 30, 130);
  EXPECT_LINHA(Linhas(*ds, 9)[0], "01/03/2024", 0, 30, 30, 0, 0);

  // A synthetic account of the same classification is the analytic one's parent.
  auto abril = Saldo(Com(kMarco, {{"pDataInicial", "01/04/2024"}, {"pDataFinal", "30/04/2024"}}));
  EXPECT_LINHA(Linhas(*abril, 13)[0], "01/04/2024", 0, 70, 0, 70, 70);
  EXPECT_LINHA(Linhas(*abril, 2)[0], "01/04/2024", 130, 70, 0, 70, 200);

  auto semTotais = Saldo(Com(kMarco, {{"pTotalizarSintetica", "0"}}));
  EXPECT_TRUE(Linhas(*semTotais, 3).empty());
  EXPECT_TRUE(Linhas(*semTotais, 1).empty());
  EXPECT_EQ(Linhas(*semTotais, 4).size(), 1u);
}

TEST_F(SaldoCtbTest, ASyntheticAccountsOwnEntryCountsOnceInItAndInItsParents) {
  FBanco.Executar(
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED,"
      " VALORLCTOCTB, CODIGOHISTCTB) values (1, 40, 1, '2024-03-12', 3, 12, 5, 1);");
  auto ds = Saldo(kMarco);
  EXPECT_LINHA(Linhas(*ds, 3)[0], "01/03/2024", 100, 65, 30, 35, 135);
  EXPECT_LINHA(Linhas(*ds, 2)[0], "01/03/2024", 100, 65, 30, 35, 135);
  EXPECT_LINHA(Linhas(*ds, 1)[0], "01/03/2024", 100, 65, 30, 35, 135);
}

TEST_F(SaldoCtbTest, MonthlyRowsChainEachOpeningToThePreviousClosing) {
  auto ds = Saldo({{"pCodigoEmpresa", "1"},
                   {"pDataInicial", "01/01/2024"},
                   {"pDataFinal", "31/03/2024"},
                   {"pTipoAgruparData", "2"}});
  auto banco = Linhas(*ds, 4);
  ASSERT_EQ(banco.size(), 3u);
  EXPECT_LINHA(banco[0], "01/01/2024", 60, 0, 0, 0, 60);
  EXPECT_LINHA(banco[1], "01/02/2024", 60, 40, 0, 40, 100);
  EXPECT_LINHA(banco[2], "01/03/2024", 100, 50, 30, 20, 120);
  for (int64_t conta : {1, 3, 6, 7, 8}) {
    auto linhas = Linhas(*ds, conta);
    ASSERT_EQ(linhas.size(), 3u) << conta;
    for (size_t m = 1; m < linhas.size(); ++m) EXPECT_DOUBLE_EQ(linhas[m].Anterior, linhas[m - 1].Atual) << conta;
  }
  // Months in which an account has neither balance nor movement are left out.
  auto caixa = Linhas(*ds, 5);
  ASSERT_EQ(caixa.size(), 1u);
  EXPECT_EQ(caixa[0].DataSaldo, "01/03/2024");
}

TEST_F(SaldoCtbTest, AMonthlyPeriodStartingMidMonthKeepsTheFirstOfTheMonthAsItsDate) {
  auto ds = Saldo({{"pCodigoEmpresa", "1"},
                   {"pDataInicial", "15/02/2024"},
                   {"pDataFinal", "10/03/2024"},
                   {"pTipoAgruparData", "2"}});
  auto banco = Linhas(*ds, 4);
  ASSERT_EQ(banco.size(), 2u);
  EXPECT_LINHA(banco[0], "01/02/2024", 100, 0, 0, 0, 100);  // the entry of the 10th is before the start
  EXPECT_LINHA(banco[1], "01/03/2024", 100, 50, 0, 50, 150);
}

TEST_F(SaldoCtbTest, TheOriginFilterLeavesOutExactlyTheEntriesOfThoseOrigins) {
  for (std::string filtro : {"ZZ", "'ZZ'", "AB; ZZ", "'AB','ZZ'"}) {
    auto ds = Saldo(Com(kMarco, {{"pConsiderarFiltroLctoCtb", "1"}, {"pFiltroOrigemLcto", filtro}}));
    EXPECT_LINHA(Linhas(*ds, 12)[0], "01/03/2024", 0, 0, 60, 60, 60);
    EXPECT_LINHA(Linhas(*ds, 10)[0], "01/03/2024", 0, 30, 0, 30, 30);
    EXPECT_TRUE(Linhas(*ds, 20).empty()) << filtro;
  }
  // The filter counts only when asked for.
  auto semFiltro = Saldo(Com(kMarco, {{"pFiltroOrigemLcto", "ZZ"}}));
  EXPECT_LINHA(Linhas(*semFiltro, 12)[0], "01/03/2024", 0, 60, 60, 0, 0);
  // Earlier closings stay in the opening.
  auto abril = Saldo(Com(kMarco, {{"pDataInicial", "01/04/2024"}, {"pDataFinal", "30/04/2024"},
                                  {"pConsiderarFiltroLctoCtb", "1"}, {"pFiltroOrigemLcto", "ZZ"}}));
  EXPECT_LINHA(Linhas(*abril, 12)[0], "01/04/2024", 0, 0, 70, 70, 70);
}

TEST_F(SaldoCtbTest, AnImplantationInsideThePeriodIsMovementOnItsSide) {
  FBanco.Executar(
      "insert into IMPLSALDOCTB values (1, 1, 5, '2024-02-15', 25, 1), (1, 1, 8, '2024-02-15', 25, -1);");
  auto trimestre = Saldo({{"pCodigoEmpresa", "1"},
                          {"pDataInicial", "01/01/2024"},
                          {"pDataFinal", "31/03/2024"},
                          {"pTipoAgruparData", "2"}});
  auto caixa = Linhas(*trimestre, 5);
  ASSERT_EQ(caixa.size(), 2u);
  EXPECT_LINHA(caixa[0], "01/02/2024", 0, 25, 0, 25, 25);
  EXPECT_LINHA(caixa[1], "01/03/2024", 25, 10, 0, 10, 35);
  // A period starting on its day has it in the opening.
  auto desde = Saldo({{"pCodigoEmpresa", "1"}, {"pDataInicial", "15/02/2024"}, {"pDataFinal", "31/03/2024"}});
  EXPECT_LINHA(Linhas(*desde, 5)[0], "15/02/2024", 25, 10, 0, 10, 35);
  EXPECT_LINHA(Linhas(*desde, 8)[0], "15/02/2024", 125, 0, 0, 0, 125);
}

TEST_F(SaldoCtbTest, EstablishmentsSplitAndFilterTheRows) {
  FBanco.Executar(
      "insert into IMPLSALDOCTB values (1, 2, 4, '2024-01-01', 5, 1), (1, 2, 8, '2024-01-01', 5, -1);"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED,"
      " VALORLCTOCTB, CODIGOHISTCTB, CODIGOORIGLCTOCTB) values (1, 20, 2, '2024-03-10', 4, 12, 7.25, 1, '01');");
  auto ds = Saldo(Com(kMarco, {{"pRelacionarEstab", "1"}}));
  auto matriz = Linhas(*ds, 4, 1);
  auto filial = Linhas(*ds, 4, 2);
  ASSERT_EQ(matriz.size(), 1u);
  ASSERT_EQ(filial.size(), 1u);
  EXPECT_LINHA(matriz[0], "01/03/2024", 100, 50, 30, 20, 120);
  EXPECT_LINHA(filial[0], "01/03/2024", 5, 7.25, 0, 7.25, 12.25);
  EXPECT_LINHA(Linhas(*ds, 1, 2)[0], "01/03/2024", 5, 7.25, 0, 7.25, 12.25);

  auto soFilial = Saldo(Com(kMarco, {{"pCodigoEstab", "2"}}));
  EXPECT_LINHA(Linhas(*soFilial, 4)[0], "01/03/2024", 5, 7.25, 0, 7.25, 12.25);
  auto juntos = Saldo(kMarco);
  EXPECT_LINHA(Linhas(*juntos, 4)[0], "01/03/2024", 105, 57.25, 30, 27.25, 132.25);
}

TEST_F(SaldoCtbTest, ClassificationPrefixesAndAccountListsChooseTheAccounts) {
  auto ds = Saldo(Com(kMarco, {{"pClassifConta", "1;2"}}));
  for (ds->First(); !ds->Eof(); ds->Next()) {
    char grupo = ds->FieldByName("CLASSIFCONTA").AsString()[0];
    EXPECT_TRUE(grupo == '1' || grupo == '2') << ds->FieldByName("CLASSIFCONTA").AsString();
  }
  EXPECT_EQ(Linhas(*ds, 4).size(), 1u);
  EXPECT_EQ(Linhas(*ds, 8).size(), 1u);

  auto uma = Saldo(Com(kMarco, {{"pContaCtb", "4"}}));
  ASSERT_EQ(uma->RecordCount(), 1);
  EXPECT_EQ(uma->FieldByName("CONTACTB").AsLargeInt(), 4);
  EXPECT_EQ(Saldo(Com(kMarco, {{"pContaCtb", "4-5"}, {"pTotalizarSintetica", "0"}}))->RecordCount(), 2);
}

TEST_F(SaldoCtbTest, ListingAccountsWithoutMovementGivesEveryAccountInChartOrder) {
  FBanco.Executar("update CFGPLANOESPEC set NATURGRUPO9 = 1;");
  auto ds = Saldo(Com(kMarco, {{"pListarContasMovimentoZero", "1"}}));
  EXPECT_EQ(ds->RecordCount(), 16);
  std::vector<std::string> ordem;
  for (ds->First(); !ds->Eof(); ds->Next())
    ordem.push_back(ds->FieldByName("CLASSIFCONTA").AsString() + "/" + ds->FieldByName("TIPOCONTA").AsString());
  EXPECT_EQ(ordem[5], "1.1.2/1");
  EXPECT_EQ(ordem[6], "1.1.2/2");
  ds->Locate("CONTACTB", {14});
  EXPECT_EQ(ds->FieldByName("SEMSALDOMOV").AsInteger(), 1);
  ds->Locate("CONTACTB", {4});
  EXPECT_EQ(ds->FieldByName("SEMSALDOMOV").AsInteger(), 0);
}

// A large amount followed by fifty cents of 0.01: summed as doubles, each cent after the large
// one loses a fraction and the total comes out a cent short, in the movement and in the next
// period's opening alike.
TEST_F(SaldoCtbTest, AmountsWhoseFloatingSumLosesACentAreSummedExactly) {
  std::string sql =
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED,"
      " VALORLCTOCTB, CODIGOHISTCTB) values (1, 100, 1, '2024-03-01', 5, 12, 9000000000000.00, 1)";
  for (int i = 1; i <= 50; ++i) sql += ", (1, " + std::to_string(100 + i) + ", 1, '2024-03-02', 5, 12, 0.01, 1)";
  FBanco.Executar(sql + ";");
  auto valores = [](TClientDataSet& ds, int64_t conta) {
    EXPECT_TRUE(ds.Locate("CONTACTB", {conta}));
    std::vector<std::string> r;
    for (const char* campo : {"SALDOANTERIOR", "DEBITO", "CREDITO", "SALDOATUAL"})
      r.push_back(ds.FieldByName(campo).AsCurrency().ToString());
    return r;
  };
  auto marco = Saldo(kMarco);
  EXPECT_EQ(valores(*marco, 5), (std::vector<std::string>{"0", "9000000000010.5", "0", "9000000000010.5"}));
  EXPECT_EQ(valores(*marco, 3), (std::vector<std::string>{"100", "9000000000060.5", "30", "9000000000130.5"}));
  EXPECT_EQ(valores(*marco, 12), (std::vector<std::string>{"0", "60", "9000000000060.5", "9000000000000.5"}));
  auto abril = Saldo(Com(kMarco, {{"pDataInicial", "01/04/2024"}, {"pDataFinal", "30/04/2024"}}));
  EXPECT_EQ(valores(*abril, 5), (std::vector<std::string>{"9000000000010.5", "0", "0", "9000000000010.5"}));
  auto mensal = Saldo(Com(kMarco, {{"pTipoAgruparData", "2"}}));
  EXPECT_EQ(valores(*mensal, 5), (std::vector<std::string>{"0", "9000000000010.5", "0", "9000000000010.5"}));
}

// The column holds cents: SQLite keeps 0.125 as given, PostgreSQL would have stored 0.13, and
// each entry counts as those cents on both engines, so two of them make 0.26, not 0.25.
TEST_F(SaldoCtbTest, AnAmountWithMoreDecimalsCountsAsTheCentsItsColumnHolds) {
  FBanco.Executar(
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED,"
      " VALORLCTOCTB, CODIGOHISTCTB) values (1, 100, 1, '2024-03-01', 5, 12, 0.125, 1),"
      " (1, 101, 1, '2024-03-02', 5, 12, 0.125, 1), (1, 102, 1, '2024-03-02', 10, 5, '-0.005', 1);");
  auto ds = Saldo(kMarco);
  ASSERT_TRUE(ds->Locate("CONTACTB", {5}));
  EXPECT_EQ(ds->FieldByName("DEBITO").AsCurrency().ToString(), "10.26");
  EXPECT_EQ(ds->FieldByName("CREDITO").AsCurrency().ToString(), "-0.01");
}

TEST_F(SaldoCtbTest, CallersFindAnAccountByAFloatingKey) {
  auto ds = Saldo(kMarco);
  ds->SetIndexFieldNames("CONTACTB");
  ASSERT_TRUE(ds->FindKey({4.0}));
  EXPECT_DOUBLE_EQ(ds->FieldByName("SALDOATUAL").AsFloat(), 120);
}

TEST_F(SaldoCtbTest, RefusesWhatItCannotCompute) {
  try {
    Saldo(Com(kMarco, {{"pCodigoEmpresa", "2"}}));
    FAIL();
  } catch (const EParamSaldoCtb& e) {
    EXPECT_EQ(e.Alias(), "pCodigoEmpresa");
    EXPECT_STREQ(e.what(), "Código da empresa inválido!");
  }
  // A group whose nature is not configured stops the run once an account of it has a row.
  FBanco.Executar(
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED,"
      " VALORLCTOCTB, CODIGOHISTCTB) values (1, 30, 1, '2024-03-15', 30, 5, 1, 1);");
  EXPECT_THROW(
      {
        try {
          Saldo(kMarco);
        } catch (const Exception& e) {
          EXPECT_STREQ(e.what(), "Natureza do grupo 9 não configurada no plano da empresa 1!");
          throw;
        }
      },
      Exception);
  EXPECT_NO_THROW(Saldo(Com(kMarco, {{"pClassifConta", "1;2;3;4"}})));
}

TEST(LerParamSaldoCtb, MissingParametersTakeTheirDefaults) {
  TParamSaldoCtb p = LerParamSaldoCtb([](std::string_view alias) -> std::string {
    if (alias == "pCodigoEmpresa") return "7";
    if (alias == "pDataInicial") return "01/01/2024";
    if (alias == "pDataFinal") return " 31/12/2024 ";
    return "";
  });
  EXPECT_EQ(p.CodigoEmpresa, 7);
  EXPECT_EQ(p.DataInicial, EncodeDate(2024, 1, 1));
  EXPECT_EQ(p.DataFinal, EncodeDate(2024, 12, 31));
  EXPECT_TRUE(p.TotalizarSintetica);
  EXPECT_FALSE(p.ListarContasMovimentoZero);
  EXPECT_FALSE(p.RelacionarEstab);
  EXPECT_FALSE(p.ConsiderarFiltroLctoCtb);
  EXPECT_EQ(p.TipoAgruparData, 0);
  EXPECT_TRUE(p.ClassifConta.empty());
  EXPECT_EQ(ParamsSaldoCtb().size(), 14u);
}

TEST(LerParamSaldoCtb, NamesTheParameterOfAValueItCannotUse) {
  std::map<std::string, std::string> base = {
      {"pCodigoEmpresa", "1"}, {"pDataInicial", "01/03/2024"}, {"pDataFinal", "31/03/2024"}};
  auto erro = [&](const std::map<std::string, std::string>& mais) -> std::pair<std::string, std::string> {
    auto textos = Com(base, mais);
    try {
      LerParamSaldoCtb([&](std::string_view a) {
        auto it = textos.find(std::string(a));
        return it == textos.end() ? std::string() : it->second;
      });
    } catch (const EParamSaldoCtb& e) {
      return {e.Alias(), e.what()};
    }
    return {};
  };
  EXPECT_EQ(erro({{"pCodigoEmpresa", ""}}).second, "Empresa inválida!");
  EXPECT_EQ(erro({{"pCodigoEmpresa", "x"}}).first, "pCodigoEmpresa");
  EXPECT_EQ(erro({{"pDataInicial", "2024-03-01"}}), std::make_pair(std::string("pDataInicial"), std::string("Data inicial inválida!")));
  EXPECT_EQ(erro({{"pDataFinal", "29/02/2024"}, {"pDataInicial", "01/03/2024"}}),
            std::make_pair(std::string("pDataFinal"), std::string("A Data Final não pode ser menor que a Data Inicial!")));
  EXPECT_EQ(erro({{"pTipoAgruparData", "1"}}).first, "pTipoAgruparData");
  EXPECT_EQ(erro({{"pTipoAgruparData", "3"}}).first, "pTipoAgruparData");
  EXPECT_EQ(erro({{"pCodigoMoeda", "1"}}).first, "pCodigoMoeda");
  EXPECT_EQ(erro({{"pTipoSaldoCtb", "2"}}).first, "pTipoSaldoCtb");
  auto estab = erro({{"pCodigoEstab", "1;2"}});
  EXPECT_EQ(estab.first, "pCodigoEstab");
  EXPECT_NE(estab.second.find("Intervalo inválido"), std::string::npos);
  EXPECT_EQ(erro({{"pContaCtb", "10-x"}}).first, "pContaCtb");
  EXPECT_EQ(erro({{"pCodigoEstab", "1,3-5"}, {"pContaCtb", "10"}}).first, "");
}
