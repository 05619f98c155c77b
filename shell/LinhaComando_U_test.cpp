// The ulmo program run as a user runs it: a configuration that adds a test module library to
// the four, a fresh database per test, stdin not a terminal.
#include "LinhaComando_U.h"

#include <gtest/gtest.h>

#include "Conexao_U.h"
#include "Schema_U.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct TSaida {
  int Codigo = -1;
  std::string Out, Err;
};

std::string Ler(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class UlmoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPasta = fs::temp_directory_path() / ("ulmo_cli_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FPasta);
    fs::create_directories(FPasta / "saida");
    std::ofstream(FPasta / "ulmo.toml") << "[banco]\ncaminho = \"" << (FPasta / "ulmo.db").string()
                                        << "\"\n[modulos]\nbibliotecas = [\"UlmoPkPb\", \"UlmoPkPbDevExpress\", "
                                           "\"UlmoPkDevExpress\", \"UlmoPk\", \""
                                        << ULMO_MODULO_CLI << "\"]\n";
    // An empty database of the current schema, as an installation starts with.
    auto conexao = nFramework::TnDMConexao::AbrirSQLite((FPasta / "ulmo.db").string());
    nFramework::AtualizarEsquema(*conexao);
  }
  void TearDown() override { fs::remove_all(FPasta); }

  TSaida Ulmo(const std::string& aArgs) {
    std::string cmd = std::string(ULMO_EXE) + " --config " + (FPasta / "ulmo.toml").string() + " " + aArgs + " >" +
                      (FPasta / "out").string() + " 2>" + (FPasta / "err").string() + " </dev/null";
    int rc = std::system(cmd.c_str());
    TSaida s;
    s.Codigo = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    s.Out = Ler(FPasta / "out");
    s.Err = Ler(FPasta / "err");
    return s;
  }
  std::string Pasta() const { return (FPasta / "saida").string(); }

  fs::path FPasta;
};

bool Contem(const std::string& aTexto, const std::string& aParte) { return aTexto.find(aParte) != std::string::npos; }

const char* kGerarOk = "run TTesteDPGerar pDataInicial=01/03/2024 pDataFinal=31/03/2024 pCodigoEmpresa=5";

}  // namespace

TEST_F(UlmoTest, MenuShowsTitleToolbarAndCategories) {
  TSaida s = Ulmo("menu");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(s.Out.rfind("TCE - Brivo\nTribunal de Contas do Estado - Brivo\n", 0), 0u) << s.Out;
  size_t a = s.Out.find("Plano TCE  (TUlmoDMPlano)"), b = s.Out.find("Relacionamento  (TUlmoDMPlanoPlEspec)"),
         c = s.Out.find("Plano Contas  (TKaloDMPlanoEspec)"), d = s.Out.find("Agenda Tributária  (");
  ASSERT_NE(d, std::string::npos) << s.Out;
  EXPECT_TRUE(a < b && b < c && c < d);
  EXPECT_TRUE(Contem(s.Out, "Selecionar Sistema TCE  (actTnDMSelecao)"));
  EXPECT_TRUE(Contem(s.Out, "  90 Testes\n    10  Gerar Arquivos de Teste  (actTTesteDPGerar)\n"
                            "    20  Sistema de Teste  (actTTesteDMSistema)\n"))
      << s.Out;
  EXPECT_FALSE(Contem(Ulmo("--modules 1 menu").Out, "90 Testes"));
}

TEST_F(UlmoTest, TheStatusBarShowsTheSelectedSystem) {
  ASSERT_EQ(Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=12 DESCRSISTEMATCE=\"TCE SC\" SIGLAESTADO=SC "
                 "MASCPLANOTCE=9.9")
                .Codigo,
            0);
  TSaida s = Ulmo("--sistema 12 --empresa 3 menu");
  EXPECT_TRUE(Contem(s.Out, "  [1] 400  Empresa: 3\n  [2] 150  0012 TCE SC\n")) << s.Out;
  s = Ulmo("--sistema 13 menu");
  EXPECT_FALSE(Contem(s.Out, "[2]")) << s.Out;
}

TEST_F(UlmoTest, AnUnknownActionNamesTheNearestOnes) {
  TSaida s = Ulmo("run TTesteDPGerra");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Ação desconhecida: TTesteDPGerra. Nomes próximos: TTesteDPGerar")) << s.Err;
  EXPECT_EQ(Ulmo("params actTTesteDPGerar").Codigo, 0);
  EXPECT_TRUE(Contem(Ulmo("params \"gerar arquivos de teste\"").Out, "(TTesteDPGerar)"));
}

TEST_F(UlmoTest, ParameterErrorsExitWith2AndNameTheParameter) {
  TSaida s = Ulmo("run TTesteDPGerar pDataFinal=31/03/2024 pCodigoEmpresa=5");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Parâmetro \"Data Inicial\" (pDataInicial): Informe o parâmetro \"Data Inicial\"!")) << s.Err;
  s = Ulmo("run TTesteDPGerar pDataInicial=32/03/2024 pDataFinal=31/03/2024 pCodigoEmpresa=5");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Data inválida no parâmetro \"Data Inicial\": 32/03/2024")) << s.Err;
  s = Ulmo("run TTesteDPGerar pDataInicial=01/04/2024 pDataFinal=31/03/2024 pCodigoEmpresa=5");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "(pDataFinal): A Data Final não pode ser anterior à Data Inicial")) << s.Err;
  s = Ulmo(std::string(kGerarOk) + " pNaoHa=1");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Parâmetro desconhecido: pNaoHa")) << s.Err;
}

TEST_F(UlmoTest, ARunPrintsItsMessagesAndFailsOnAnError) {
  TSaida s = Ulmo(kGerarOk);
  EXPECT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(s.Out, "[INFO] Empresa 5\n");
  s = Ulmo(std::string(kGerarOk) + " pFalhar=Sim");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Out, "[ERRO] Falha simulada")) << s.Out;
  // The selection fills the company and is asked for by the classes that need it.
  s = Ulmo("--empresa 9 run TTesteDPGerar pDataInicial=01/03/2024 pDataFinal=31/03/2024");
  EXPECT_EQ(s.Out, "[INFO] Empresa 9\n");
  s = Ulmo("run TTesteDPSelecao");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "exige a seleção de CodigoSistemaTCE")) << s.Err;
  EXPECT_EQ(Ulmo("--sistema 4 run TTesteDPSelecao").Out, "[OK] Sistema 4\n");
}

TEST_F(UlmoTest, OverwriteQuestionsAreAnsweredFromTheOptionsNeverFromStdin) {
  std::string args = std::string(kGerarOk) + " pPasta=" + Pasta();
  ASSERT_EQ(Ulmo(args).Codigo, 0);
  TSaida s = Ulmo(args);
  EXPECT_EQ(s.Codigo, 0);
  EXPECT_TRUE(Contem(s.Out, "[AVISO] Geração cancelada pelo usuário")) << s.Out;
  EXPECT_TRUE(Contem(s.Err, "respondida \"Não\" sem perguntar")) << s.Err;
  s = Ulmo("--overwrite all " + args);
  EXPECT_TRUE(Contem(s.Out, "[OK] Arquivo ")) << s.Out;
  EXPECT_TRUE(s.Err.empty()) << s.Err;
}

TEST_F(UlmoTest, ARegisterRefusesBadRowsAndLeavesTheTableUnchanged) {
  ASSERT_EQ(Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=1 DESCRSISTEMATCE=SC SIGLAESTADO=SC MASCPLANOTCE=9")
                .Codigo,
            0);
  const std::string antes = Ulmo("register TTesteDMSistema list").Out;
  TSaida s = Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=1 DESCRSISTEMATCE=Outro SIGLAESTADO=PR MASCPLANOTCE=9");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Registro já cadastrado: CODIGOSISTEMATCE = 1!")) << s.Err;
  s = Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=2 SIGLAESTADO=PR MASCPLANOTCE=9");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "O campo \"Nome Sistema\" deve ser informado!")) << s.Err;
  s = Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=10000 DESCRSISTEMATCE=X SIGLAESTADO=PR MASCPLANOTCE=9");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Código do sistema inválido!")) << s.Err;
  s = Ulmo("register TTesteDMSistema update @CODIGOSISTEMATCE=1 CODIGOSISTEMATCE=3");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "A chave do registro não pode ser alterada")) << s.Err;
  EXPECT_EQ(Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=x").Codigo, 2);
  EXPECT_EQ(Ulmo("register TTesteDMSistema list").Out, antes);
  EXPECT_TRUE(Contem(antes, "1 | SC | SC | 9\n(1 registro(s))")) << antes;
}

TEST_F(UlmoTest, ARegisterIsMaintainedThroughItsOwnRules) {
  ASSERT_EQ(Ulmo("register TTesteDMSistema insert DESCRSISTEMATCE=A SIGLAESTADO=SC MASCPLANOTCE=9").Codigo, 0);
  ASSERT_EQ(Ulmo("register TTesteDMSistema insert DESCRSISTEMATCE=B SIGLAESTADO=RS MASCPLANOTCE=9").Codigo, 0);
  EXPECT_EQ(Ulmo("register TTesteDMSistema update CODIGOSISTEMATCE=2 DESCRSISTEMATCE=Bravo").Codigo, 0);
  TSaida s = Ulmo("register TTesteDMSistema get CODIGOSISTEMATCE=2");
  EXPECT_TRUE(Contem(s.Out, "DESCRSISTEMATCE (Nome Sistema): Bravo\n")) << s.Out;
  EXPECT_EQ(Ulmo("register TTesteDMSistema delete CODIGOSISTEMATCE=1").Codigo, 0);
  EXPECT_EQ(Ulmo("register TTesteDMSistema get CODIGOSISTEMATCE=1").Codigo, 1);
  EXPECT_TRUE(Contem(Ulmo("register TTesteDMSistema list SIGLAESTADO=RS").Out, "(1 registro(s))"));
  EXPECT_EQ(Ulmo("register TTesteDPGerar list").Codigo, 2);
  EXPECT_TRUE(Contem(Ulmo("classes").Out, "TTesteDMSistema  [ulmo_modulo_cli]"));
}

TEST_F(UlmoTest, TheCourtRegistersAreMaintainedAndLookedUpFromTheCommandLine) {
  ASSERT_EQ(Ulmo("register TUlmoDMSistema insert DESCRSISTEMATCE=\"TCE PR\" SIGLAESTADO=PR MASCPLANOTCE=9.9").Codigo, 0);
  TSaida s = Ulmo("register TUlmoDMTipoMovimCtb insert CODIGOSISTEMATCE=1 DESCRTIPOMOVIM=Aplicação");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Esta rotina não é utilizada para o TCE/PR. Dados não gravados!")) << s.Err;
  s = Ulmo("register TUlmoDCSistema insert DESCRSISTEMATCE=X SIGLAESTADO=SC MASCPLANOTCE=9");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "TUlmoDCSistema é uma consulta: use list ou get (para alterar use: ulmo register "
                            "TUlmoDMSistema)"))
      << s.Err;
  EXPECT_TRUE(Contem(Ulmo("register TUlmoDCSistema list").Out, "1 | TCE PR | PR | 9.9\n(1 registro(s))"));
  // Its grid hides the system, which the work area's master gives; a list shows it all the same.
  s = Ulmo("register TUlmoDMTCESistemaEmpresa list");
  EXPECT_TRUE(Contem(s.Out, "CODIGOSISTEMATCE | CODIGOEMPRESA\n")) << s.Out;
}

TEST_F(UlmoTest, AMissingLibraryOrConfigurationIsAClearError) {
  std::ofstream(FPasta / "ulmo.toml") << "[modulos]\nbibliotecas = [\"UlmoNaoHa\"]\n";
  TSaida s = Ulmo("classes");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Não foi possível abrir a biblioteca")) << s.Err;
  std::ofstream(FPasta / "ulmo.toml") << "[modulos]\nbiblioteca = []\n";
  s = Ulmo("classes");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "chave desconhecida modulos.biblioteca")) << s.Err;
  EXPECT_EQ(Ulmo("").Codigo, 2);
  EXPECT_EQ(Ulmo("--overwrite talvez menu").Codigo, 2);
}

TEST_F(UlmoTest, DemoBuildsTheSameDatabaseEveryTimeAndTheSiblingClassesWorkOnIt) {
  auto semTempo = [](std::string t) { return t.erase(t.find(" gerado em"), t.find(":\n") - t.find(" gerado em")); };
  fs::remove(FPasta / "ulmo.db");  // demo alone creates a missing database
  TSaida primeira = Ulmo("demo");
  ASSERT_EQ(primeira.Codigo, 0) << primeira.Err;
  EXPECT_TRUE(Contem(primeira.Out, "   3  Companhia de Serviços Urbanos de Ponta Grossa S.A.  TCE/PR  ")) << primeira.Out;
  std::string empresas = Ulmo("register TirnDCEmpresa list").Out;
  TSaida segunda = Ulmo("demo");
  ASSERT_EQ(segunda.Codigo, 0) << segunda.Err;
  EXPECT_EQ(semTempo(segunda.Out), semTempo(primeira.Out));
  EXPECT_EQ(Ulmo("register TirnDCEmpresa list").Out, empresas);

  TSaida saldo = Ulmo("run TKaloDPGerarSaldoCtbIndividual pCodigoEmpresa=1 pDataInicial=01/01/2024 pDataFinal=31/12/2024");
  EXPECT_EQ(saldo.Codigo, 0) << saldo.Err;
  EXPECT_TRUE(Contem(saldo.Out, "[OK] Saldos gerados: ")) << saldo.Out;
  EXPECT_TRUE(Contem(Ulmo("--modules 1 menu").Out,
                     "    06 Tribunal de Contas (TCE)\n      0  Tribunal de Contas (TCE)  (actTKaloDPAreaTrabalhoTCE)\n"));

  TSaida grande = Ulmo("demo --empresa 100 --lancamentos 3000 --contas 100");
  EXPECT_EQ(grande.Codigo, 0) << grande.Err;
  EXPECT_TRUE(Contem(grande.Out, "Empresa 100: 3000 lançamentos e 100 contas em ")) << grande.Out;
  TSaida recusa = Ulmo("demo --empresa 2 --lancamentos 10");
  EXPECT_EQ(recusa.Codigo, 1);
  EXPECT_TRUE(Contem(recusa.Err, "A empresa 2 é uma das empresas de demonstração!")) << recusa.Err;
}

// A run that failed must never exit 0: the exit code comes from the message tree.
TEST_F(UlmoTest, ASagresRunWhoseMonthsAllFailedExitedWith0) {
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  std::ofstream(FPasta / "arquivo") << "x";
  const std::string sagres = "run \"Gerar Arquivos Contábeis Sagres Web - SE\" pDataInicial=01/01/2024 "
                             "pDataFinal=29/02/2024 pUnidadeGestora=UG1 pContaCtbAlmoxarifado=37 pPastaDestino=";
  // Every month fails: a file stands where the folder should be.
  TSaida s = Ulmo("--sistema 4 --empresa 4 " + sagres + (FPasta / "arquivo").string());
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[INFO] Competência: 2024/02\n  [ERRO] Ocorreu um problema ao gerar o arquivo! "
                            "Menssagem original: "))
      << s.Out;
  s = Ulmo("--sistema 4 --empresa 4 " + sagres + Pasta());
  EXPECT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(fs::exists(FPasta / "saida" / "2024_02" / "ExecucaoEmpresas.zip"));
  // A company that does not exist, and one linked to another court's system.
  s = Ulmo("--sistema 4 --empresa 99 " + sagres + Pasta());
  EXPECT_EQ(s.Codigo, 2) << s.Out;
  EXPECT_TRUE(Contem(s.Err, "(pCodigoEmpresa): Código da empresa inválido!")) << s.Err;
  s = Ulmo("--sistema 4 --empresa 1 " + sagres + Pasta());
  EXPECT_EQ(s.Codigo, 1) << s.Out;
  EXPECT_TRUE(Contem(s.Err, "Necessário realizar cadastro do sistema vinculado a empresa em Áreas de Trabalho / TCE / "
                            "Plano de Contas!"))
      << s.Err;
}

TEST_F(UlmoTest, TceScFilesWithoutAnyMappedAccountExitedWith0) {
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  // Company 4 has no account mapped to the TCE-SC system: no file is written.
  TSaida s = Ulmo("--sistema 1 run TUlmoDPGerarArquivosCtb pCompetInicial=01/01/2024 pCompetFinal=31/01/2024 "
                  "pCodigoEmpresa=4 pIncluirImplSaldo=1 pGeraAplicFinanceira=0 pDiretorio=" + Pasta());
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[ERRO] Nenhuma conta contábil relacionada foi encontrada no período selecionado!"))
      << s.Out;
  EXPECT_TRUE(fs::is_empty(FPasta / "saida"));
}

TEST_F(UlmoTest, ACancellationWithoutAccessValuesExitedWith0) {
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  TSaida s = Ulmo("--sistema 1 --empresa 1 run TUlmoDPConsultaSfingeOnlineDadosEnviados pCompetenciaInicial=01/01/2024 "
                  "pCompetenciaFinal=31/12/2024 --acao ActCancelarRemessa");
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[ERRO] Para realizar o cancelamento é necessário preencher os parâmetros de acesso."))
      << s.Out;
}
