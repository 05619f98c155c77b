// The ulmo program on a PostgreSQL server: the demo built there, two runs sending the same month
// to the fake court at once, and the server's failures in Portuguese (its own text only under
// --debug). The cases that need a server use the one ULMO_TESTE_PG names, each on a scratch
// schema of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <thread>

#include "BancoVazioTeste_U.h"
#include "Conexao_U.h"
#include "Exceptions_U.h"
#include "ProgramaTeste_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "Utilitarios_U.h"
#include "RodarUlmoTeste_U.h"
#include "TribunalFalsoTeste_U.h"

namespace fs = std::filesystem;
using namespace nFramework;

namespace {

bool Contem(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// The address with one more libpq keyword, which wins over the same keyword before it.
std::string ComChave(const std::string& endereco, const std::string& chave, const std::string& valor) {
  bool uri = endereco.rfind("postgresql://", 0) == 0 || endereco.rfind("postgres://", 0) == 0;
  if (uri) return endereco + (Contem(endereco, "?") ? "&" : "?") + chave + "=" + valor;
  return endereco + " " + chave + "=" + valor;
}

class BancoServidorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPasta = fs::temp_directory_path() / ("ulmo_pg_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FPasta);
    fs::create_directories(FPasta);
  }
  void TearDown() override {
    SetConexao(nullptr);
    FBase.reset();
    fs::remove_all(FPasta);
  }

  // A scratch schema on the server, for as long as the test lives; its address.
  std::string Servidor() {
    FBase = AbrirBancoTeste();
    SetConexao(FBase.get());
    FEndereco = EnderecoEsquemaTeste(ServidorTeste(), ExecutarSQL("select current_schema()")->Fields(0).AsString());
    Configurar(FEndereco);
    return FEndereco;
  }
  void Configurar(const std::string& endereco, const std::string& ambiente = "") {
    ConfigurarUlmoTeste(FPasta, endereco, ambiente);
  }
  std::string Comando(const std::string& args, const std::string& nome) { return ComandoUlmoTeste(FPasta, args, nome); }
  TSaida Resultado(int rc, const std::string& nome) { return SaidaUlmoTeste(rc, FPasta, nome); }
  TSaida Ulmo(const std::string& args) { return RodarUlmoTeste(FPasta, args); }

  fs::path FPasta;
  std::string FEndereco;
  std::unique_ptr<TnDMConexao> FBase;
};


}  // namespace

TEST_F(BancoServidorTest, TwoOnlineSendsOfTheSameMonthAtOnceStoreTwoReceiptsWithDistinctNumbers) {
  if (!TestePostgreSQL()) GTEST_SKIP() << "sem servidor PostgreSQL (ULMO_TESTE_PG)";
  Servidor();
  TSaida s = Ulmo("demo");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "Banco de demonstração ")) << s.Out;
  TTribunalFalso tribunal(FPasta / "tribunal.txt", 120);
  ASSERT_EQ(tribunal.Url().rfind("http://127.0.0.1:", 0), 0u) << tribunal.Url();
  Configurar(FEndereco, "[ambiente]\nesfinge_online_url = \"" + tribunal.Url() + "\"\n");
  const std::string envio =
      "--sistema 1 --empresa 1 run \"Enviar Arquivos Contábeis e-Sfinge Web - SC\" pCompetInicial=01/01/2024 "
      "pCompetFinal=31/01/2024 pUsuario=u pSenha=s pUnidadeGestora=ug --grade nClientDataSetConta --marcar todos "
      "--grade nClientDataSetLcto --marcar todos --acao actEnviarInfEsfingeOnline";
  std::string ambos = "(" + Comando(envio, "a") + "; echo $? >" + (FPasta / "a.rc").string() + ") & (" +
                      Comando(envio, "b") + "; echo $? >" + (FPasta / "b.rc").string() + ") & wait";
  ASSERT_EQ(std::system(ambos.c_str()), 0);
  for (const char* n : {"a", "b"}) {
    TSaida r = Resultado(std::stoi(Ler(FPasta / (std::string(n) + ".rc"))), n);
    EXPECT_EQ(r.Codigo, 0) << n << "\n" << r.Out << r.Err;
    EXPECT_TRUE(Contem(r.Out, "[OK] Lote 202401: Envio parcial realizado com sucesso.")) << n << "\n" << r.Out;
  }
  auto ds = ExecutarSQL("select SEQ, CHAVEPACOTE from TCEESFINGEONLINEENVIO where CODIGOEMPRESA = 1 and COMPETENCIA = "
                        "'2024-01-01' order by SEQ");
  ASSERT_EQ(ds->RecordCount(), 2);
  EXPECT_EQ(ds->Fields(0).AsInteger(), 1);
  std::string primeira = ds->Fields(1).AsString();
  ds->Next();
  EXPECT_EQ(ds->Fields(0).AsInteger(), 2);
  EXPECT_NE(ds->Fields(1).AsString(), primeira);  // two packages, two receipts
}

TEST_F(BancoServidorTest, TheDemoAndTheLargeCompanyAreBuiltOnAServerAndBuiltAgainInPlace) {
  if (!TestePostgreSQL()) GTEST_SKIP() << "sem servidor PostgreSQL (ULMO_TESTE_PG)";
  Servidor();
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  const auto lancamentos = [] { return ExecutarSQL("select count(*) from LCTOCTB")->Fields(0).AsLargeInt(); };
  const int64_t demo = lancamentos();
  EXPECT_GT(demo, 0);
  TSaida s = Ulmo("demo");  // a refresh, not a second copy
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(lancamentos(), demo);
  s = Ulmo("demo --empresa 100 --lancamentos 3000 --contas 80 --tribunal SC");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "Empresa 100: 3000 lançamentos e 80 contas em ")) << s.Out;
  EXPECT_EQ(ExecutarSQL("select count(*) from LCTOCTB where CODIGOEMPRESA = 100 and CHAVELCTOCTB <= 3000")
                ->Fields(0)
                .AsLargeInt(),
            3000);
  EXPECT_EQ(ExecutarSQL("select count(*) from PLANOESPEC where CODIGOEMPRESA = 100")->Fields(0).AsLargeInt(), 80);
  // The keys and indexes set aside for the load are back.
  EXPECT_EQ(ExecutarSQL("select count(*) from PG_CONSTRAINT where CONRELID = to_regclass('lctoctb') and CONTYPE = 'f'")
                ->Fields(0)
                .AsInteger(),
            6);
  EXPECT_EQ(ExecutarSQL("select count(*) from PG_INDEXES where SCHEMANAME = current_schema() and TABLENAME = 'lctoctb'")
                ->Fields(0)
                .AsInteger(),
            4);
  // The entries balance: every debit has its credit.
  EXPECT_EQ(ExecutarSQL("select count(*) from LCTOCTB where CODIGOEMPRESA = 100 and CONTACTBDEB = CONTACTBCRED")
                ->Fields(0)
                .AsLargeInt(),
            0);
}

// No server is needed to find none.
TEST_F(BancoServidorTest, AServerThatDoesNotAnswerIsSaidInPortugueseAndLibpqsTextOnlyUnderDebug) {
  const std::string endereco = "postgresql://ulmo@/contab?host=/nenhuma-pasta-ulmo";
  Configurar(endereco);
  const std::string esperado = "Não foi possível conectar ao servidor do banco de dados \"" + endereco +
                               "\": o servidor não respondeu, ou o endereço está errado (os detalhes aparecem com "
                               "--debug).";
  TSaida s = Ulmo("--sistema 1 --empresa 1 register TTesteDMSistema list");
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Err, esperado)) << s.Err;
  EXPECT_FALSE(Contem(s.Err, "[debug]")) << s.Err;
  EXPECT_FALSE(Contem(s.Err, "socket")) << s.Err;
  s = Ulmo("demo");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_EQ(s.Err, "Erro: " + esperado + "\n");
  s = Ulmo("--debug register TTesteDMSistema list");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, esperado)) << s.Err;
  EXPECT_TRUE(Contem(s.Err, "[debug] PostgreSQL: ")) << s.Err;
  EXPECT_TRUE(Contem(s.Err, "/nenhuma-pasta-ulmo/.s.PGSQL")) << s.Err;  // libpq's own words name the socket
}

TEST_F(BancoServidorTest, AMissingDatabaseAndARefusedUserAreSaidInPortuguese) {
  if (!TestePostgreSQL()) GTEST_SKIP() << "sem servidor PostgreSQL (ULMO_TESTE_PG)";
  const std::string endereco = Servidor();
  const std::string inexistente = ComChave(endereco, "dbname", "ulmo_nao_existe");
  Configurar(inexistente);
  TSaida s = Ulmo("register TTesteDMSistema list");
  EXPECT_EQ(s.Codigo, 2) << s.Err;
  EXPECT_EQ(s.Err.rfind("O banco de dados \"postgresql://", 0), 0u) << s.Err;  // the address, cut
  EXPECT_TRUE(Contem(s.Err, "\" não existe. Confira --db")) << s.Err;
  EXPECT_TRUE(Contem(s.Err, "um banco novo é criado no servidor (createdb) e depois preenchido com: ulmo --db")) << s.Err;
  EXPECT_FALSE(Contem(s.Err, "FATAL")) << s.Err;

  // A user of the server without rights: first on the company's schema, then on its tables.
  AtualizarEsquema(*FBase);
  const std::string papel = "ulmo_sem_acesso_" + std::to_string(::getpid());
  FBase->Driver().ExecuteScript("CREATE ROLE " + papel + " LOGIN");
  Configurar(ComChave(endereco, "user", papel));
  TSaida semEsquema = Ulmo("register TTesteDMSistema list");
  FBase->Driver().ExecuteScript("GRANT USAGE ON SCHEMA " + ExecutarSQL("select current_schema()")->Fields(0).AsString() +
                                " TO " + papel);
  TSaida semTabela = Ulmo("register TTesteDMSistema list");
  TSaida d = Ulmo("--debug register TTesteDMSistema list");
  FBase->Driver().ExecuteScript("DROP OWNED BY " + papel + "; DROP ROLE " + papel);
  EXPECT_EQ(semEsquema.Codigo, 1) << semEsquema.Err;
  EXPECT_TRUE(Contem(semEsquema.Err, "não tem o esquema que o endereço pede, ou o usuário da conexão não tem acesso a ele"))
      << semEsquema.Err;
  EXPECT_EQ(semTabela.Codigo, 1) << semTabela.Err;
  EXPECT_TRUE(Contem(semTabela.Err, "Permissão negada no banco de dados \"postgresql://")) << semTabela.Err;
  for (const TSaida* r : {&semEsquema, &semTabela}) {
    EXPECT_FALSE(Contem(r->Err, "permission denied")) << r->Err;
    EXPECT_FALSE(Contem(r->Err, "[debug]")) << r->Err;
  }
  EXPECT_TRUE(Contem(d.Err, "Permissão negada no banco de dados")) << d.Err;
  EXPECT_TRUE(Contem(d.Err, "[debug] PostgreSQL 42501: ")) << d.Err;
  EXPECT_TRUE(Contem(d.Err, "permission denied")) << d.Err;
}

TEST_F(BancoServidorTest, AStatementPastTheServersTimeLimitIsSaidInPortuguese) {
  if (!TestePostgreSQL()) GTEST_SKIP() << "sem servidor PostgreSQL (ULMO_TESTE_PG)";
  Servidor();
  std::vector<std::string> debug;
  SetLogDebugSink([&](const std::string& l) { debug.push_back(l); });
  FBase->Driver().ExecuteScript("SET statement_timeout = 50");
  try {
    ExecutarSQL("select pg_sleep(2)");
    ADD_FAILURE() << "não passou do tempo limite";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(Contem(e.what(), "cancelou um comando que passou do tempo limite (statement_timeout)")) << e.what();
  }
  SetLogDebugSink(nullptr);
  ASSERT_FALSE(debug.empty());
  EXPECT_TRUE(Contem(debug.back(), "57014")) << debug.back();
}
