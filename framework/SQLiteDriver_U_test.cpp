// The SQLite driver as a user meets it: a missing file, a file that cannot be written, a file
// another program holds, and failures said in Portuguese with SQLite's text in the debug log.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "Conexao_U.h"
#include "Exceptions_U.h"
#include "Schema_U.h"
#include "SQL_U.h"
#include "TestFolder_U.h"
#include "Utilitarios_U.h"

using namespace nFramework;
namespace fs = std::filesystem;

namespace {

std::string Erro(const std::function<void()>& f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "";
}

class SQLiteDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FBanco = (FPasta / "ulmo.db").string();
    auto c = TnDMConexao::AbrirSQLite(FBanco);
    c->Driver().ExecuteScript("create table T (A integer primary key, B varchar(10) not null); insert into T values (1, 'um');");
  }
  void TearDown() override {
    SetConexao(nullptr);
    SetLogDebugSink(nullptr);
  }
  void Debug() {
    SetLogDebugSink([this](const std::string& l) { FDebug.push_back(l); });
  }
  TTestFolder FPasta;
  std::string FBanco;
  std::vector<std::string> FDebug;
};

}  // namespace

TEST_F(SQLiteDriverTest, AMissingFileIsNotCreatedUnlessAsked) {
  std::string outro = (FPasta / "ulmo-digitado-errado.db").string();
  TOpcoesBanco semCriar;
  semCriar.Criar = false;
  try {
    TnDMConexao::AbrirSQLite(outro, semCriar);
    FAIL() << "opened a missing file";
  } catch (const EBancoInexistente& e) {
    EXPECT_EQ(std::string(e.what()), "O banco de dados \"" + outro + "\" não existe.");
    EXPECT_EQ(e.Caminho(), outro);
  }
  EXPECT_FALSE(fs::exists(outro));
  EXPECT_NO_THROW(TnDMConexao::AbrirSQLite(FBanco, semCriar));
  EXPECT_EQ(Erro([&] { TnDMConexao::AbrirSQLite(FPasta.Path().string(), semCriar); }),
            "O banco de dados \"" + FPasta.Path().string() + "\" é uma pasta, não um arquivo.");
}

TEST_F(SQLiteDriverTest, AFileWithoutWritePermissionOpensReadOnlyAndRefusesWrites) {
  fs::permissions(FBanco, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  auto c = TnDMConexao::AbrirSQLite(FBanco);
  SetConexao(c.get());
  EXPECT_TRUE(c->Driver().SomenteLeitura());
  EXPECT_EQ(VarToStr(PegarValorCampo("T", "B", "A = 1")), "um");
  const std::string recusa = "O banco de dados \"" + FBanco +
                             "\" está aberto somente para leitura (o arquivo, ou a sua pasta, não pode ser gravado): "
                             "nada foi gravado.";
  EXPECT_EQ(Erro([&] { c->StartTransaction(); }), recusa);
  EXPECT_EQ(Erro([&] { ExecutarSQLDireto("insert into T values (2, 'dois')"); }), recusa);
  // Asked for, a writable file opens read-only too.
  fs::permissions(FBanco, fs::perms::owner_write, fs::perm_options::add);
  TOpcoesBanco leitura;
  leitura.SomenteLeitura = true;
  EXPECT_TRUE(TnDMConexao::AbrirSQLite(FBanco, leitura)->Driver().SomenteLeitura());
  EXPECT_FALSE(TnDMConexao::AbrirSQLite(FBanco)->Driver().SomenteLeitura());
}

TEST_F(SQLiteDriverTest, AReadOnlyFileNeedingAConversionIsRefusedNamingTheVersions) {
  // The file has no schema of ours: a conversion it cannot take.
  fs::permissions(FBanco, fs::perms::owner_read);
  auto c = TnDMConexao::AbrirSQLite(FBanco);
  std::string e = Erro([&] { AtualizarEsquema(*c); });
  EXPECT_EQ(e.rfind("O banco de dados \"" + FBanco + "\" está na versão 0 do esquema e precisa ser convertido para a versão ", 0), 0u) << e;
  EXPECT_NE(e.find("mas está aberto somente para leitura: abra-o uma vez com permissão de gravação."), std::string::npos) << e;
}

TEST_F(SQLiteDriverTest, ALockedDatabaseSaysSoAfterTheConfiguredWait) {
  auto dono = TnDMConexao::AbrirSQLite(FBanco);
  dono->StartTransaction();  // holds the write lock, as another run would
  TOpcoesBanco opcoes;
  opcoes.EsperaBloqueioMs = 300;
  auto c = TnDMConexao::AbrirSQLite(FBanco, opcoes);
  auto inicio = std::chrono::steady_clock::now();
  std::string e = Erro([&] { c->StartTransaction(); });
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - inicio).count();
  EXPECT_EQ(e, "O banco de dados está em uso por outro programa ou outra execução do Ulmo: o arquivo \"" + FBanco +
                   "\" continuou bloqueado após 300 ms de espera. Tente de novo quando a outra execução terminar (a "
                   "espera é a chave espera_bloqueio_ms da seção [banco] do ulmo.toml).");
  EXPECT_GE(ms, 250);
  EXPECT_LT(ms, 3000);
  // Reading goes on meanwhile (write-ahead log).
  SetConexao(c.get());
  EXPECT_EQ(VarToStr(PegarValorCampo("T", "B", "A = 1")), "um");
  dono->RollBack();
  EXPECT_NO_THROW(c->StartTransaction());
  c->RollBack();
}

TEST_F(SQLiteDriverTest, FailuresAreSaidInPortugueseWithSQLitesTextUnderDebugOnly) {
  auto c = TnDMConexao::AbrirSQLite(FBanco);
  SetConexao(c.get());
  Debug();
  EXPECT_EQ(Erro([] { ExecutarSQLDireto("insert into T values (1, 'de novo')"); }),
            "Já existe um registro com o mesmo valor em T.A.");
  ASSERT_FALSE(FDebug.empty());
  EXPECT_NE(FDebug.back().find("UNIQUE constraint failed: T.A"), std::string::npos) << FDebug.back();
  EXPECT_NE(FDebug.back().find("insert into T values (1, 'de novo')"), std::string::npos) << FDebug.back();
  EXPECT_EQ(Erro([] { ExecutarSQLDireto("insert into T (A) values (5)"); }), "O campo T.B não pode ficar vazio.");
  EXPECT_EQ(Erro([] { ExecutarSQL("select * from NAOHA"); }),
            "A tabela NAOHA não existe no banco de dados \"" + FBanco + "\".");
  EXPECT_EQ(Erro([] { ExecutarSQL("selec 1"); }),
            "Erro no banco de dados ao executar um comando SQL (os detalhes aparecem com --debug).");
  EXPECT_NE(FDebug.back().find("syntax error"), std::string::npos) << FDebug.back();

  std::string lixo = (FPasta / "lixo.db").string();
  std::ofstream(lixo) << std::string(4096, 'x');
  EXPECT_EQ(Erro([&] { TnDMConexao::AbrirSQLite(lixo); }),
            "O arquivo \"" + lixo + "\" não é um banco de dados do Ulmo (SQLite).");
  EXPECT_NE(FDebug.back().find("file is not a database"), std::string::npos) << FDebug.back();
}
