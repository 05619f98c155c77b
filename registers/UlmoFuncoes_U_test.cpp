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
  std::unique_ptr<TnDMConexao> Conexao = TnDMConexao::AbrirSQLite(":memory:");
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
