#include "Schema_U.h"

#include <gtest/gtest.h>

#include "BancoVazioTeste_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace {

struct TBanco {
  std::unique_ptr<TnDMConexao> Conexao = nFramework::AbrirBancoTeste();
  TBanco() { SetConexao(Conexao.get()); }
  ~TBanco() { SetConexao(nullptr); }
};

}  // namespace

TEST(Schema, AppliesPendingScriptsInOrderOnceAndCallsTheHookAfter) {
  TBanco b;
  std::vector<TSchemaScript> scripts = {{2, "dois", "create table B (X integer); insert into A values (2);"},
                                        {1, "um", "create table A (X integer);"}};
  int hooks = 0;
  EXPECT_EQ(AtualizarEsquema(*b.Conexao, scripts, [&] { ++hooks; }), 2);
  EXPECT_EQ(VersaoEsquema(*b.Conexao), 2);
  EXPECT_EQ(hooks, 1);
  EXPECT_EQ(AtualizarEsquema(*b.Conexao, scripts, [&] { ++hooks; }), 0);
  EXPECT_EQ(hooks, 1);
}

TEST(Schema, AFailingScriptLeavesNothingOfItselfAndKeepsTheVersion) {
  TBanco b;
  std::vector<TSchemaScript> scripts = {{1, "um", "create table A (X integer);"},
                                        {2, "dois", "create table B (X integer); insert into NAOHA values (1);"}};
  EXPECT_THROW(AtualizarEsquema(*b.Conexao, scripts), EDatabaseError);
  EXPECT_EQ(VersaoEsquema(*b.Conexao), 1);
  EXPECT_FALSE(ExisteTabela(*b.Conexao, "B"));
}

TEST(Schema, TheProgramsScriptsCreateTheModuleTablesOnAnEmptyDatabase) {
  TBanco b;
  ASSERT_FALSE(ScriptsEsquema().empty());
  AtualizarEsquema(*b.Conexao);
  for (const char* t : {"TCESISTEMA", "TCEPLANO", "TCETIPOCONTACTB", "TCETIPOMOVIMCTB", "TCESISTEMAEMPRESA",
                        "TCEORIGEMLCTOCTB", "TCEPLANOPLESPEC", "PATBEMTIPOCATEGORIABEM", "PATBEMTIPODETALHAMENTOBEM",
                        "PATBEMRELACTCE", "CFGEMPRESATCE", "TCEESFINGEONLINEENVIO", "TCESESAGRESCONTABANC",
                        "TCESESAGRESRECEITA", "TCESESAGRESDESPESA", "TCESESAGRESPATRIMONIO", "TCESESAGRESPGTO"})
    EXPECT_TRUE(ExisteTabela(*b.Conexao, t)) << t;
  EXPECT_EQ(AtualizarEsquema(*b.Conexao), 0);
}

TEST(Schema, ADatabaseNewerThanTheProgramIsRefusedNamingBothVersions) {
  TBanco b;
  std::vector<TSchemaScript> scripts = {{1, "um", "create table A (X integer);"}};
  AtualizarEsquema(*b.Conexao, scripts);
  ExecutarSQLDireto("insert into SCHEMAVERSAO values (7, 'futura', '2030-01-01 00:00:00.000')");
  try {
    AtualizarEsquema(*b.Conexao, scripts);
    FAIL() << "a newer database was opened";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(std::string(e.what()),
              "O banco de dados \"" + CitarCaminho(b.Conexao->Driver().Caminho()) + "\" está na versão 7 do esquema, mais nova que a versão 1 deste programa: use "
              "a versão do Ulmo que o converteu, ou uma mais nova.");
  }
}
