#include "BancoVazioTeste_U.h"
#include "UlmoFuncoes_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "UlmoSQLs_U.h"

using namespace nFramework;
using namespace nUlmo;

namespace {

struct TBanco {
  std::unique_ptr<TnDMConexao> Conexao = nFramework::AbrirBancoTeste();
  TBanco() {
    SetConexao(Conexao.get());
    AtualizarEsquema(*Conexao);
    Conexao->Driver().ExecuteScript(
        "insert into EMPRESA values (1, 'A'), (2, 'B');"
        "insert into TCESISTEMA values (3, 'TCE SC', 'SC', '9.9'), (4, 'TCE PR minúsculo', 'pr', '9.9');"
        "insert into TCESISTEMAEMPRESA values (3, 1);");
  }
  ~TBanco() { SetConexao(nullptr); }
};

}  // namespace

TEST(TUlmoFuncoes, SistemaOfALinkedCompanyAndTheMessageOfAnUnlinkedOne) {
  TBanco b;
  EXPECT_EQ(TUlmoFuncoes::GetSistemaTCE(1), 3);
  try {
    TUlmoFuncoes::GetSistemaTCE(2);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "A empresa selecionada não está vinculada ao Sistema e ao Plano de Contas do TCE. Acesse a rotina "
                 "Plano de Contas e informe o código da empresa no campo Cadastro da Empresa.!");
  }
  EXPECT_EQ(TUlmoFuncoes::GetUFSistema(3), "SC");
  EXPECT_EQ(TUlmoFuncoes::GetUFSistema(4), "pr");  // kept as stored
  EXPECT_EQ(TUlmoFuncoes::GetUFSistema(99), "");
}

TEST(TUlmoSQLs, FormatFillsSequentialAndIndexedHoles) {
  EXPECT_EQ(FormatSQL("a %s b %s", {"1", "2"}), "a 1 b 2");
  EXPECT_EQ(FormatSQL("%0:s x %1:s y %0:s z %2:s", {"L", "5", "'1%'"}), "L x 5 y L z '1%'");
  EXPECT_EQ(FormatSQL("100%% %s", {"ok"}), "100% ok");
  EXPECT_THROW(FormatSQL("%s %s", {"1"}), EInternalError);
  // The texts keep their trailing blanks and their holes.
  EXPECT_EQ(TUlmoSQLs::GetSQLSelectPlanoTCE().back(), ' ');
  EXPECT_EQ(TUlmoSQLs::GetSQLSelectRelacBens().back(), 's');
}

TEST(TUlmoSQLs, PlanoTCEHidesTheNoneSurplusTypeAndFallsBackToTheCourtDescription) {
  TBanco b;
  b.Conexao->Driver().ExecuteScript(
      "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values (1, 10, '1.1', 'CAIXA', 2),"
      " (1, 11, '1.2', 'BANCO', 2);"
      "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values (3, 100, 2, '1.1', 'Caixa TCE'),"
      " (3, 101, 2, '1.2', 'Bancos TCE');"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE,"
      " CONTATCE, TIPONATURSALDO, TIPOSUPERAVITFINANC) values (1, 10, '2024-01-01', '2024-12-31', null, 3, 100, 1, 'N'),"
      " (1, 11, '2024-01-01', '2024-12-31', 'Detalhe', 3, 101, 1, 'F');");
  auto ds = ExecutarSQL(TUlmoSQLs::GetSQLSelectPlanoTCE(), {3, 1});
  ASSERT_EQ(ds->RecordCount(), 2);
  EXPECT_TRUE(ds->FieldByName("TIPOSUPERAVITFINANC").IsNull());
  EXPECT_EQ(ds->FieldByName("DESCRCONTA").AsString(), "Caixa TCE");
  ds->Next();
  EXPECT_EQ(ds->FieldByName("TIPOSUPERAVITFINANC").AsString(), "F");
  EXPECT_EQ(ds->FieldByName("DESCRCONTA").AsString(), "Detalhe");
}

namespace {

// The start dates of the mapping rows of one company account and system chosen by a condition.
std::vector<std::string> Escolhidos(int64_t AConta, const std::string& ACondicao) {
  auto ds = ExecutarSQL("select T.DATAINICIOPLANO from TCEPLANOPLESPEC T where T.CODIGOEMPRESA = 1 and T.CONTACTB = " +
                        std::to_string(AConta) + " and T.CODIGOSISTEMATCE = 3 and " + ACondicao);
  std::vector<std::string> r;
  for (ds->First(); !ds->Eof(); ds->Next()) r.push_back(DateToISO(ds->Fields(0).AsDateTime()));
  return r;
}

}  // namespace

TEST(TUlmoSQLs, OneMappingRowCountsForAnEntryAnOpeningBalanceAndARecordOfAPeriod) {
  TBanco b;
  b.Conexao->Driver().ExecuteScript(
      "insert into TCESISTEMA values (5, 'TCE RS', 'RS', '9.9');"
      "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values (1, 10, '1.1', 'CAIXA', 2),"
      " (1, 11, '1.2', 'BANCO', 2), (1, 12, '1.3', 'APLICAÇÃO', 2);"
      "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values (3, 100, 2, '1.1', 'A'),"
      " (3, 101, 2, '1.2', 'B'), (5, 100, 2, '1.1', 'A');"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE,"
      " TIPONATURSALDO, TIPOSUPERAVITFINANC) values"
      " (1, 10, '2023-01-01', '2023-12-31', 3, 100, 1, 'N'), (1, 10, '2024-01-01', '2024-06-30', 3, 101, 1, 'N'),"
      " (1, 10, '2024-07-01', '2024-12-31', 3, 100, 1, 'N'), (1, 10, '2024-03-01', '9999-12-31', 5, 100, 1, 'N'),"
      " (1, 11, '2024-03-01', '2024-09-30', 3, 101, 1, 'N'),"
      " (1, 12, '2024-01-01', '2024-12-31', 3, 100, 1, 'N'), (1, 12, '2024-06-01', '2024-06-30', 3, 101, 1, 'N');");
  using V = std::vector<std::string>;
  auto naData = [](const char* d) { return TUlmoSQLs::GetSQLCondPlanoVigenteNaData("T", std::string("'") + d + "'"); };
  const TDateTime jan = EncodeDate(2024, 1, 1), jun = EncodeDate(2024, 6, 30), dez = EncodeDate(2024, 12, 31);
  // An entry: the row valid on its date, and none outside every row (another system's row does not count).
  EXPECT_EQ(Escolhidos(10, naData("2024-03-10")), V{"2024-01-01"});
  EXPECT_EQ(Escolhidos(10, naData("2023-05-01")), V{"2023-01-01"});
  EXPECT_EQ(Escolhidos(10, naData("2025-01-01")), V{});
  // The period's first day for an opening balance, its last day for a record of the period.
  EXPECT_EQ(Escolhidos(10, TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", jan, dez)), V{"2024-01-01"});
  EXPECT_EQ(Escolhidos(10, TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", jan, dez)), V{"2024-07-01"});
  EXPECT_EQ(Escolhidos(10, TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", jan, jun)), V{"2024-01-01"});
  // Mapped only within the period: that row for both; outside it, none.
  EXPECT_EQ(Escolhidos(11, TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", jan, dez)), V{"2024-03-01"});
  EXPECT_EQ(Escolhidos(11, TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", jan, dez)), V{"2024-03-01"});
  EXPECT_EQ(Escolhidos(11, TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", EncodeDate(2024, 10, 1), dez)), V{});
  EXPECT_EQ(Escolhidos(11, TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", EncodeDate(2023, 1, 1),
                                                                         EncodeDate(2024, 2, 29))), V{});
  // Rows that overlap: one of them only, the one that starts last among those valid on the day.
  EXPECT_EQ(Escolhidos(12, naData("2024-06-15")), V{"2024-06-01"});
  EXPECT_EQ(Escolhidos(12, TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", jan, dez)), V{"2024-01-01"});
  EXPECT_EQ(Escolhidos(12, TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", jan, jun)), V{"2024-06-01"});
}
