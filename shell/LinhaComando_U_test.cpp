// The ulmo program run as a user runs it: a configuration that adds a test module library to
// the four, a fresh database per test, stdin not a terminal.
#include "LinhaComando_U.h"

#include <gtest/gtest.h>

#include "BancoVazioTeste_U.h"
#include "Conexao_U.h"
#include "Encoding_U.h"
#include "Schema_U.h"
#include "TextoMensagem_U.h"
#include "Zip_U.h"
#include "RodarUlmoTeste_U.h"
#include "TribunalFalsoTeste_U.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <regex>
#include <fstream>
#include <sstream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class UlmoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPasta = fs::temp_directory_path() / ("ulmo_cli_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FPasta);
    fs::create_directories(FPasta / "saida");
    // An empty database of the current schema, as an installation starts with: the file, or a
    // schema on the server of ULMO_TESTE_PG, kept (and dropped) by this connection.
    FBanco = nFramework::AbrirBancoTeste((FPasta / "ulmo.db").string());
    nFramework::AtualizarEsquema(*FBanco);
    FEndereco = FBanco->Driver().Caminho();
    if (!nFramework::TestePostgreSQL()) FBanco.reset();
    Configurar("");
  }
  void TearDown() override {
    FBanco.reset();
    fs::remove_all(FPasta);
  }

  // ulmo.toml with the test library and, in [banco], these further lines.
  void Configurar(const std::string& aBanco) { ConfigurarUlmoTeste(FPasta, FEndereco, aBanco); }

  // aAntes: a command the program runs under (it ends by running its arguments).
  TSaida Ulmo(const std::string& aArgs, const std::string& aAntes = "") { return RodarUlmoTeste(FPasta, aArgs, aAntes); }
  std::string Pasta() const { return (FPasta / "saida").string(); }

  fs::path FPasta;
  std::string FEndereco;
  std::unique_ptr<nFramework::TnDMConexao> FBanco;
};

#define SO_SQLITE(porque) \
  if (nFramework::TestePostgreSQL()) GTEST_SKIP() << porque

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

// The large company mapped to each court's chart: that court's run over it writes its files.
TEST_F(UlmoTest, TheLargeCompanyMappedToEachCourtRunsThatCourtsFiles) {
  struct TCaso {
    const char* Tribunal;
    int Sistema, Empresa;
    std::string Run;
    std::vector<std::string> Arquivos;
  };
  const std::string ano = " pDataInicial=01/01/2024 pDataFinal=31/12/2024";
  const std::vector<TCaso> casos = {
      {"SC", 1, 111, "run TUlmoDPGerarArquivosCtb pCompetInicial=01/01/2024 pCompetFinal=31/12/2024 pDiretorio=" + Pasta() + "/sc",
       {"sc/LancamentoContabil.txt", "sc/MovimentoContabil.txt", "sc/ContaContabil.txt"}},
      {"RS", 2, 112, "run \"Gerar Arquivos Contábeis - RS\"" + ano + " pDiretorio=" + Pasta() + "/rs",
       {"rs/MOVIMENT.txt", "rs/BAL_VER.txt"}},
      {"PR", 3, 113,
       "run \"Gerar Arquivos Contábeis - PR\"" + ano + " pIdPessoa=123 pGerarPessoa=1 pGerarPlanoContas=1 pGerarSaldoCtb=1 "
       "pGerarMovimentoCtb=1 pTipoMovimentoCtb=1 pCompactarArq=1 pPastaDestino=" + Pasta() + "/pr",
       {"pr/123-012024.zip"}},
      {"SE", 4, 114, "run \"Gerar Arquivos Contábeis Sagres Web - SE\" pDataInicial=01/01/2024 pDataFinal=29/02/2024 "
       "pUnidadeGestora=UG1 pContaCtbAlmoxarifado=52 pPastaDestino=" + Pasta() + "/se",
       {"se/2024_01/ExecucaoEmpresas.zip", "se/2024_02/ExecucaoEmpresas.zip"}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Tribunal);
    std::string empresa = std::to_string(c.Empresa);
    TSaida demo = Ulmo("demo --empresa " + empresa + " --lancamentos 3000 --contas 100 --tribunal " + c.Tribunal);
    ASSERT_EQ(demo.Codigo, 0) << demo.Err;
    EXPECT_TRUE(Contem(demo.Out, std::string("TCE/") + c.Tribunal + ")")) << demo.Out;
    TSaida run = Ulmo("--sistema " + std::to_string(c.Sistema) + " --empresa " + empresa + " " + c.Run);
    EXPECT_EQ(run.Codigo, 0) << run.Out << run.Err;
    EXPECT_FALSE(Contem(run.Out, "[ERRO]")) << run.Out;
    for (const auto& a : c.Arquivos) {
      fs::path arquivo = fs::path(Pasta()) / a;
      ASSERT_TRUE(fs::exists(arquivo)) << arquivo;
      EXPECT_GT(fs::file_size(arquivo), 0u) << arquivo;
    }
  }
  TSaida recusa = Ulmo("demo --empresa 115 --lancamentos 10 --tribunal MG");
  EXPECT_EQ(recusa.Codigo, 2) << recusa.Err;
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

namespace {

const char* kGrade = "run TTesteDPGrade ";

// The lines of a text that contain a part, in order.
std::vector<std::string> Linhas(const std::string& aTexto, const std::string& aParte) {
  std::vector<std::string> r;
  std::istringstream in(aTexto);
  for (std::string l; std::getline(in, l);)
    if (Contem(l, aParte)) r.push_back(l);
  return r;
}

}  // namespace

TEST_F(UlmoTest, ParamsListsTheGridsAndTheirColumns) {
  TSaida s = Ulmo("params TTesteDPGrade");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_TRUE(Contem(s.Out, "Grades (--grade NOME, --mostrar NOME; colunas por campo ou título):\n"
                            "  curContas  \"Contas\"  marcação: ENVIAR  chave: CODIGO\n"
                            "    ENVIAR  \"Enviar\"  marcação (1 ou 0)  editável\n"
                            "    CODIGO  \"Código\"  inteiro  somente leitura\n"
                            "    CLASSIFCONTA  \"Classificação\"  texto(20)  somente leitura\n"
                            "    NATUREZA  \"Natureza\"  inteiro  editável\n"
                            "        lista: Devedor=1; Credor=2;\n"
                            "    VALOR  \"Valor\"  valor monetário  editável\n"
                            "        formato: #,##0.00\n"
                            "    DATA  \"Data\"  data (dd/mm/aaaa)  editável\n"
                            "  curLctos  \"Lançamentos\"  linhas identificadas por: LCTO\n"))
      << s.Out;
  EXPECT_FALSE(Contem(s.Out, "INTERNO")) << s.Out;  // hidden and no key: not a column of the grid
}

TEST_F(UlmoTest, MostrarPrintsTheGridsAsATableThatFitsOrAsCsvOrJson) {
  ::setenv("COLUMNS", "40", 1);
  TSaida s = Ulmo(std::string(kGrade) + "--mostrar contas");
  ::unsetenv("COLUMNS");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(s.Out,
            "Contas (curContas)\n"
            "Enviar | Código | Classifica… | Natureza\n"
            "-------+--------+-------------+---------\n"
            "       |      1 | 1.1.1       | Devedor\n"
            "       |      2 | 1.1.2       | Credor\n"
            "✓      |      3 | 2.1\n"
            "3 linha(s), 1 marcada(s)\n"
            "2 coluna(s) fora da largura: Valor, Data\n");
  s = Ulmo(std::string(kGrade) + "--mostrar curContas --formato csv");
  EXPECT_EQ(s.Out,
            "Enviar;Código;Classificação;Natureza;Valor;Data\n"
            "0;1;1.1.1;Devedor;1.500,00;31/01/2024\n"
            "0;2;1.1.2;Credor;-2,50;\n"
            "1;3;2.1;;;\n");
  EXPECT_EQ(Ulmo(std::string(kGrade) + "--mostrar Lançamentos --formato csv").Out,
            "Lançamento;Histórico\n10;\"Pagamento; fornecedor \"\"A\"\"\"\n");
  s = Ulmo(std::string(kGrade) + "--formato json");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(s.Out.rfind("[\n  {\n    \"grade\": \"curContas\",\n    \"titulo\": \"Contas\",", 0), 0u) << s.Out;
  EXPECT_TRUE(Contem(s.Out, "\"VALOR\": \"1500\"")) << s.Out;
  EXPECT_TRUE(Contem(s.Out, "\"VALOR\": \"1.500,00\"")) << s.Out;  // the text as the grid shows it
  EXPECT_TRUE(Contem(s.Out, "\"VALOR\": \"-2.5\"")) << s.Out;
  EXPECT_TRUE(Contem(s.Out, "\"grade\": \"curLctos\"")) << s.Out;
  // Usage mistakes stop before the run.
  s = Ulmo(std::string(kGrade) + "--mostrar --formato csv");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Um CSV tem uma grade só: nomeie-a em --mostrar NOME (grades: curContas \"Contas\", "
                            "curLctos \"Lançamentos\")."))
      << s.Err;
  s = Ulmo(std::string(kGrade) + "--mostrar Saldos");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Grade desconhecida: Saldos. Grades: curContas \"Contas\", curLctos \"Lançamentos\"")) << s.Err;
  EXPECT_EQ(Ulmo(std::string(kGrade) + "--formato xml").Codigo, 2);
  s = Ulmo(kGerarOk + std::string(" --mostrar"));
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "TTesteDPGerar não tem grades")) << s.Err;
}

TEST_F(UlmoTest, GridOptionsApplyInTheirOrderAndTheActionSeesTheEditedGrid) {
  TSaida s = Ulmo(std::string(kGrade) + "--grade Contas --marcar \"CLASSIFCONTA like '1.1%'\" --desmarcar \"CODIGO = 3\" "
                                        "--definir \"CODIGO = 2\" Natureza=Devedor Valor=1.234,5 --acao actEnviar");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(s.Out, "[INFO] Enviada 1 natureza 1 valor 1500\n[INFO] Enviada 2 natureza 1 valor 1234.5\n");
  EXPECT_TRUE(Contem(s.Err, "Contas: 2 linha(s) marcada(s).\nContas: 1 linha(s) desmarcada(s).\n"
                            "Contas: 1 linha(s) alterada(s) por --definir.\n"))
      << s.Err;
  EXPECT_FALSE(Contem(s.Err, "Nada foi gravado")) << s.Err;
  // The same options in another order do another thing.
  s = Ulmo(std::string(kGrade) + "--grade curContas --definir \"ENVIAR = 1\" Valor=7 --marcar todos --acao actEnviar");
  EXPECT_EQ(Linhas(s.Out, "valor 7").size(), 1u) << s.Out;
  EXPECT_EQ(Linhas(s.Out, "Enviada").size(), 3u) << s.Out;
  s = Ulmo(std::string(kGrade) + "--grade curContas --marcar todos --definir \"ENVIAR = 1\" Valor=7 --acao actEnviar");
  EXPECT_EQ(Linhas(s.Out, "valor 7").size(), 3u) << s.Out;
  // Without an action nothing is saved, and the command says so.
  s = Ulmo(std::string(kGrade) + "--grade curContas --marcar todos --mostrar curContas --formato csv");
  EXPECT_EQ(s.Codigo, 0);
  EXPECT_EQ(Linhas(s.Out, "1;").size(), 3u) << s.Out;
  EXPECT_TRUE(Contem(s.Err, "Nada foi gravado: as marcações e alterações da grade valem só para esta execução; para "
                            "gravá-las, use --acao (ações do painel: actEnviar).\n"))
      << s.Err;
}

TEST_F(UlmoTest, ARefusedEditStopsBeforeTheActionNamingTheRowAndTheColumn) {
  const std::string enviar = " --acao actEnviar";
  TSaida s = Ulmo(std::string(kGrade) + "--grade curContas --marcar todos --definir \"CODIGO >= 2\" Natureza=Ambos" + enviar);
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Erro: Linha 2 (Código = 2), coluna \"Natureza\": \"Ambos\" não é um valor da lista: "
                            "Devedor (1), Credor (2).\nNada foi gravado: nenhuma ação foi executada.\n"))
      << s.Err;
  EXPECT_FALSE(Contem(s.Out, "Enviada")) << s.Out;
  s = Ulmo(std::string(kGrade) + "--grade curContas --definir todos Valor=-1" + enviar);
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Erro: Linha 1 (Código = 1), coluna \"Valor\": O valor não pode ser negativo.")) << s.Err;
  s = Ulmo(std::string(kGrade) + "--grade curContas --definir todos Classificação=9" + enviar);
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "coluna \"Classificação\": a coluna não pode ser alterada.")) << s.Err;
  // What the command asked is wrong: exit 2.
  s = Ulmo(std::string(kGrade) + "--grade curContas --definir todos Saldo=9" + enviar);
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Coluna desconhecida na grade Contas: \"Saldo\".")) << s.Err;
  s = Ulmo(std::string(kGrade) + "--grade curContas --marcar \"CODIGO ~ 1\"" + enviar);
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Filtro inválido (operador esperado): CODIGO ~ 1. Campos da grade Contas: ENVIAR, CODIGO")) << s.Err;
  s = Ulmo(std::string(kGrade) + "--marcar todos" + enviar);
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "TTesteDPGrade tem 2 grades: escolha uma com --grade NOME antes de --marcar")) << s.Err;
  s = Ulmo(std::string(kGrade) + "--grade curLctos --marcar todos" + enviar);
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "A grade Lançamentos não tem coluna de marcação.")) << s.Err;
  s = Ulmo(std::string(kGrade) + "--grade curContas --definir todos" + enviar);
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "--definir precisa da expressão e de ao menos um CAMPO=valor")) << s.Err;
  // A run that failed applies no grid option and no action.
  s = Ulmo(std::string(kGrade) + "pFalhar=Sim --grade curContas --marcar todos" + enviar);
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "A execução terminou com erro: as opções de grade e as ações não foram aplicadas.")) << s.Err;
  EXPECT_FALSE(Contem(s.Out, "Enviada")) << s.Out;
  // An action that finds nothing ticked says so and fails.
  s = Ulmo(std::string(kGrade) + "--grade curContas --desmarcar todos" + enviar);
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Out, "[ERRO] Nenhum registro marcado para envio.")) << s.Out;
}

TEST_F(UlmoTest, AnImportChangesTheCellsItsFileChangedAndRefusesWhatDoesNotFit) {
  std::string csv = Ulmo(std::string(kGrade) + "--mostrar curContas --formato csv").Out;
  ASSERT_TRUE(Contem(csv, "0;2;1.1.2;Credor;-2,50;\n")) << csv;
  std::string editado = csv;
  editado.replace(editado.find("0;2;1.1.2;Credor;-2,50;"), 23, "1;2;1.1.2;Credor;-2,50;01/02/2024");
  std::ofstream(FPasta / "contas.csv") << editado;
  const std::string importar = std::string(kGrade) + "--grade curContas --importar " + (FPasta / "contas.csv").string();
  TSaida s = Ulmo(importar + " --acao actEnviar --mostrar curContas --formato csv");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_TRUE(Contem(s.Err, "Contas: 1 linha(s) e 2 célula(s) alterada(s) por --importar ")) << s.Err;
  EXPECT_TRUE(Contem(s.Err, "[INFO] Enviada 2 natureza 2 valor -2.5\n[INFO] Enviada 3 natureza  valor \n")) << s.Err;
  EXPECT_TRUE(Contem(s.Out, editado)) << s.Out;  // exactly the edited cells changed
  std::ofstream(FPasta / "contas.csv") << "Código;Natureza\n4;Devedor\n";
  s = Ulmo(importar + " --acao actEnviar");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "Linha 2 de " + nFramework::CitarCaminho(FPasta / "contas.csv") +
                                ": nenhuma linha da grade tem Código = 4.\n"
                            "Nada foi gravado: nenhuma ação foi executada.\n"))
      << s.Err;
  EXPECT_FALSE(Contem(s.Out, "Enviada")) << s.Out;
  s = Ulmo(std::string(kGrade) + "--grade curContas --importar " + (FPasta / "naoha.csv").string());
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "naoha.csv não existe.")) << s.Err;
}

// A real grid of the demo: the SAGRES revenue rules of the TCE-SE company.
TEST_F(UlmoTest, TheSagresRevenueGridIsShownEditedImportedAndSaved) {
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  const std::string receitas = "--sistema 4 --empresa 4 run TUlmoDPTCESESagresReceita ";
  TSaida s = Ulmo(receitas + "--mostrar");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(Linhas(s.Out, "05 - Receita Bruta de Serviços").size(), 1u) << s.Out;
  EXPECT_TRUE(Contem(s.Out, "| CREDITO(186) + CREDITO(187) + CREDITO(188)\n")) << s.Out;
  EXPECT_TRUE(Contem(s.Out, "Receita ")) << s.Out;
  EXPECT_FALSE(Contem(s.Out, "Alterado")) << s.Out;
  EXPECT_FALSE(Contem(s.Out, "RegraCalculo")) << s.Out;
  EXPECT_TRUE(Contem(s.Out, "16 linha(s)")) << s.Out;

  // A rule set by --definir and saved by the panel's action stays.
  s = Ulmo(receitas + "--definir \"Descricao like '02 - receita%'\" Regra=\"DEBITO(1) + DEBITO(2)\" --acao actSalvar");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[OK] Configurações gravadas com sucesso!")) << s.Out;
  std::string csv = Ulmo(receitas + "--mostrar curDados --formato csv").Out;
  EXPECT_EQ(Linhas(csv, "02 - Receita de Serviços de Esgoto;DEBITO(1) + DEBITO(2)").size(), 1u) << csv;

  // The CSV, edited in one cell and imported, changes that cell only.
  size_t p = csv.find("04 - Receita Bruta de Vendas;");
  ASSERT_NE(p, std::string::npos) << csv;
  std::string editado = csv;
  editado.insert(editado.find('\n', p), "CREDITO(190)");
  std::ofstream(FPasta / "receitas.csv") << editado;
  s = Ulmo(receitas + "--importar " + (FPasta / "receitas.csv").string() + " --acao actSalvar");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Err, "1 linha(s) e 1 célula(s) alterada(s)")) << s.Err;
  EXPECT_EQ(Ulmo(receitas + "--mostrar curDados --formato csv").Out, editado);

  // A refused edit leaves the stored rules as they were.
  s = Ulmo(receitas + "--definir todos Receita=X --acao actSalvar");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Erro: Linha 1 (")) << s.Err;
  EXPECT_TRUE(Contem(s.Err, "coluna \"Receita\": a coluna não pode ser alterada.")) << s.Err;
  EXPECT_FALSE(Contem(s.Out, "gravadas")) << s.Out;
  EXPECT_EQ(Ulmo(receitas + "--mostrar curDados --formato csv").Out, editado);
}

TEST_F(UlmoTest, ARegisterIgnoredTheSelectionAndRefusedTheNamesItSuggested) {
  // A caption and an action name, as run takes them.
  ASSERT_EQ(Ulmo("register \"Sistema de Teste\" insert CODIGOSISTEMATCE=1 DESCRSISTEMATCE=SC SIGLAESTADO=SC "
                 "MASCPLANOTCE=9")
                .Codigo,
            0);
  ASSERT_EQ(Ulmo("register actTTesteDMSistema insert CODIGOSISTEMATCE=2 DESCRSISTEMATCE=RS SIGLAESTADO=RS MASCPLANOTCE=9")
                .Codigo,
            0);
  // The selection fills the new row, and a list value is taken by its caption.
  TSaida s = Ulmo("--sistema 1 register actTUlmoDMTipoContaCtb insert DESCRTIPOCONTATCE=Caixa BANCARIA=Não");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  ASSERT_EQ(Ulmo("--sistema 2 register TUlmoDMTipoContaCtb insert DESCRTIPOCONTATCE=Bancos BANCARIA=Sim").Codigo, 0);
  // ... and filters what is listed; the list shows captions. The caption the register shares with
  // its lookup names the register.
  s = Ulmo("--sistema 1 register \"Tipo de Contas Contábeis\" list");
  EXPECT_EQ(s.Out, "CODIGOSISTEMATCE | CODIGOTIPOCONTATCE | DESCRTIPOCONTATCE | BANCARIA\n1 | 1 | Caixa | Não\n"
                   "(1 registro(s))\n");
  EXPECT_TRUE(Contem(Ulmo("register TUlmoDMTipoContaCtb list CODIGOSISTEMATCE=2").Out, "2 | 1 | Bancos | Sim\n(1 registro(s))"));
  s = Ulmo("register TUlmoDMTipoContaCtb list");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "TUlmoDMTipoContaCtb exige a seleção de CodigoSistemaTCE (use --sistema N")) << s.Err;
  s = Ulmo("--sistema 2 register TUlmoDMTipoContaCtb get CODIGOTIPOCONTATCE=1");
  EXPECT_TRUE(Contem(s.Out, "DESCRTIPOCONTATCE (Descrição): Bancos\nBANCARIA (Bancária): Sim [1]\n")) << s.Out;
  s = Ulmo("--sistema 2 register TUlmoDMTipoContaCtb get CODIGOSISTEMATCE=1 CODIGOTIPOCONTATCE=1");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_TRUE(Contem(s.Err, "CODIGOSISTEMATCE=1 difere da seleção (CODIGOSISTEMATCE = 2)")) << s.Err;
  // An update or delete under the selection reaches only its rows.
  EXPECT_EQ(Ulmo("--sistema 2 register TUlmoDMTipoContaCtb update CODIGOTIPOCONTATCE=1 DESCRTIPOCONTATCE=Bancos2").Codigo, 0);
  EXPECT_TRUE(Contem(Ulmo("--sistema 1 register TUlmoDMTipoContaCtb list").Out, "1 | 1 | Caixa | Não\n"));
  // Scripts get the raw values.
  s = Ulmo("--sistema 1 register TUlmoDMTipoContaCtb list --formato csv");
  EXPECT_EQ(s.Out, "Sistema TCE;CODIGOTIPOCONTATCE;Descrição;Bancária\r\n1;1;Caixa;0\r\n");
  s = Ulmo("--sistema 2 register TUlmoDMTipoContaCtb get CODIGOTIPOCONTATCE=1 --formato json");
  EXPECT_EQ(s.Out, "{\n  \"CODIGOSISTEMATCE\": 2,\n  \"CODIGOTIPOCONTATCE\": 1,\n  \"DESCRTIPOCONTATCE\": \"Bancos2\",\n"
                   "  \"BANCARIA\": \"1\"\n}\n");
  EXPECT_EQ(Ulmo("register TTesteDMSistema insert DESCRSISTEMATCE=X --formato csv").Codigo, 2);
  // A stored line break keeps the table's row on one line.
  ASSERT_EQ(Ulmo("--sistema 1 register TUlmoDMTipoContaCtb update CODIGOTIPOCONTATCE=1 "
                 "\"DESCRTIPOCONTATCE=$(printf 'Caixa\ngeral')\"")
                .Codigo,
            0);
  EXPECT_TRUE(Contem(Ulmo("--sistema 1 register TUlmoDMTipoContaCtb list").Out, "1 | 1 | Caixa\\ngeral | Não\n"));
}

TEST_F(UlmoTest, AMistypedDatabaseWasCreatedEmptyInsteadOfRefused) {
  SO_SQLITE("a missing database file");
  const fs::path outro = FPasta / "ulmo-errado.db";
  const std::string esperado = "O banco de dados \"" + nFramework::CitarCaminho(outro) +
                               "\" não existe. Confira --db, ULMO_DB ou o caminho em [banco] do ulmo.toml; para criar "
                               "o banco de demonstração use: ulmo --db " + outro.string() + " demo\n";
  for (const std::string comando : {"register TTesteDMSistema list", kGerarOk, "--sistema 1 menu"}) {
    TSaida s = Ulmo("--db " + outro.string() + " " + comando);
    EXPECT_EQ(s.Codigo, 2) << comando;
    EXPECT_EQ(s.Err, esperado) << comando;
    EXPECT_FALSE(fs::exists(outro)) << comando;
  }
  // demo is the one command that makes a database.
  TSaida s = Ulmo("--db " + outro.string() + " demo");
  EXPECT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(Ulmo("--db " + outro.string() + " register TirnDCEmpresa list").Codigo, 0);
}

TEST_F(UlmoTest, ADatabaseOfANewerProgramIsRefusedNamingBothVersions) {
  SO_SQLITE("the database file is changed behind the program");
  {
    auto c = nFramework::TnDMConexao::AbrirSQLite((FPasta / "ulmo.db").string());
    c->Driver().ExecuteScript("insert into SCHEMAVERSAO values (99, 'futura', '2030-01-01 00:00:00.000')");
  }
  TSaida s = Ulmo("register TTesteDMSistema list");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Erro: O banco de dados \"" + nFramework::CitarCaminho(FPasta / "ulmo.db") + "\" está na versão 99 do "
                            "esquema, mais nova que a versão " +
                            std::to_string(nFramework::ScriptsEsquema().back().Versao) + " deste programa"))
      << s.Err;
  EXPECT_TRUE(s.Out.empty()) << s.Out;
}

TEST_F(UlmoTest, AReadOnlyDatabaseFileIsReadAndWritesAreRefusedPlainly) {
  SO_SQLITE("a file without write permission");
  ASSERT_EQ(Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=1 DESCRSISTEMATCE=SC SIGLAESTADO=SC MASCPLANOTCE=9")
                .Codigo,
            0);
  // No write permission for anyone: even root, who could write it, opens it read-only.
  fs::permissions(FPasta / "ulmo.db", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  TSaida s = Ulmo("register TTesteDMSistema list");
  EXPECT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_TRUE(Contem(s.Out, "1 | SC | SC | 9\n(1 registro(s))")) << s.Out;
  s = Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=2 DESCRSISTEMATCE=RS SIGLAESTADO=RS MASCPLANOTCE=9");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_EQ(s.Err, "Erro: O banco de dados \"" + nFramework::CitarCaminho(FPasta / "ulmo.db") +
                       "\" está aberto somente para leitura (o arquivo, ou a sua pasta, não pode ser gravado): nada foi "
                       "gravado.\n");
  EXPECT_TRUE(Contem(Ulmo("register TTesteDMSistema list").Out, "(1 registro(s))"));
}

TEST_F(UlmoTest, AProcessThatOnlyReadsRunsOnAReadOnlyDatabase) {
  SO_SQLITE("a file on a read-only disk");
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  const std::string sc = "--sistema 1 run TUlmoDPGerarArquivosCtb pCompetInicial=01/01/2024 pCompetFinal=31/01/2024 "
                         "pCodigoEmpresa=1 pIncluirImplSaldo=1 pGeraAplicFinanceira=0 pDiretorio=";
  const fs::path arquivo = FPasta / "saida" / "LancamentoContabil.txt";
  // On a read-only disk no journal can be made beside the file. A private read-only bind
  // mount stands for one; without the right to mount (not root), this part is skipped.
  ASSERT_FALSE(fs::exists(FPasta / "ulmo.db-wal"));  // the demo's last connection folded its log in
  fs::create_directories(FPasta / "disco");
  fs::create_directories(FPasta / "montado");
  fs::copy_file(FPasta / "ulmo.db", FPasta / "disco" / "ulmo.db");
  std::ofstream(FPasta / "montar.sh") << "mount --bind " << (FPasta / "disco").string() << ' '
                                      << (FPasta / "montado").string() << " && mount -o remount,bind,ro "
                                      << (FPasta / "montado").string() << " || exit 97\nexec \"$@\"\n";
  const std::string antes = "unshare -m sh " + (FPasta / "montar.sh").string() + " ";
  if (std::system((antes + "true 2>/dev/null").c_str()) == 0) {
    const std::string db = "--db " + (FPasta / "montado" / "ulmo.db").string() + " ";
    TSaida s = Ulmo(db + sc + Pasta(), antes);
    EXPECT_EQ(s.Codigo, 0) << s.Out << s.Err;
    EXPECT_TRUE(fs::exists(arquivo)) << s.Out;
    s = Ulmo(db + "register TTesteDMSistema insert CODIGOSISTEMATCE=9 DESCRSISTEMATCE=X SIGLAESTADO=XX MASCPLANOTCE=9",
             antes);
    EXPECT_EQ(s.Codigo, 1);
    EXPECT_TRUE(Contem(s.Err, "está aberto somente para leitura")) << s.Err;
    fs::remove(arquivo);
  } else {
    std::cerr << "(no private read-only mount here: the read-only disk is not tried)\n";
  }
  // A file without write permission, on a disk that can be written.
  fs::permissions(FPasta / "ulmo.db", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  TSaida s = Ulmo(sc + Pasta());
  EXPECT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(fs::exists(arquivo)) << s.Out;
}

TEST_F(UlmoTest, ALockedDatabaseNamesItsFileAfterTheConfiguredWait) {
  SO_SQLITE("a file another connection locks");
  Configurar("espera_bloqueio_ms = 300\n");
  auto outro = nFramework::TnDMConexao::AbrirSQLite((FPasta / "ulmo.db").string());
  outro->StartTransaction();  // another run holds the write lock
  TSaida s = Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=1 DESCRSISTEMATCE=SC SIGLAESTADO=SC MASCPLANOTCE=9");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_EQ(s.Err, "Erro: O banco de dados está em uso por outro programa ou outra execução do Ulmo: o arquivo \"" +
                       nFramework::CitarCaminho(FPasta / "ulmo.db") +
                       "\" continuou bloqueado após 300 ms de espera. Tente de novo quando a outra execução terminar (a "
                       "espera é a chave espera_bloqueio_ms da seção [banco] do ulmo.toml).\n");
  outro->RollBack();
  EXPECT_EQ(Ulmo("register TTesteDMSistema insert CODIGOSISTEMATCE=1 DESCRSISTEMATCE=SC SIGLAESTADO=SC MASCPLANOTCE=9")
                .Codigo,
            0);
}

TEST_F(UlmoTest, LibraryTextReachedTheUserAndAValueBrokeTheMessageLine) {
  std::ofstream(FPasta / "lixo.db") << std::string(4096, 'x');
  const std::string lixo = "--db " + (FPasta / "lixo.db").string() + " ";
  TSaida s = Ulmo(lixo + "register TTesteDMSistema list");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_EQ(s.Err, "Erro: O arquivo \"" + nFramework::CitarCaminho(FPasta / "lixo.db") +
                       "\" não é um banco de dados do Ulmo (SQLite).\n");
  s = Ulmo("--debug " + lixo + "register TTesteDMSistema list");
  EXPECT_TRUE(Contem(s.Err, "[debug] SQLite 26: file is not a database")) << s.Err;

  // A typed value with a line break and one of 200 characters, each quoted on one line.
  s = Ulmo("register TTesteDMSistema get \"CODIGOSISTEMATCE=$(printf '1\\n2')\"");
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_EQ(s.Err, "Valor inválido para o campo CODIGOSISTEMATCE: '1\\n2' não é um valor inteiro válido\n");
  s = Ulmo("register TTesteDMSistema get CODIGOSISTEMATCE=" + std::string(200, '7'));
  EXPECT_EQ(s.Codigo, 2);
  EXPECT_EQ(s.Err, "Valor inválido para o campo CODIGOSISTEMATCE: '" + std::string(79, '7') +
                       "…' não é um valor inteiro válido\n");

  // A folder that cannot be made, in the TCE-PR run's own words and the system's reason.
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  std::ofstream(FPasta / "arquivo") << "x";
  s = Ulmo("--sistema 3 --empresa 3 run \"Gerar Arquivos Contábeis - PR\" pDataInicial=01/01/2024 "
           "pDataFinal=31/01/2024 pIdPessoa=123 pGerarPessoa=1 pPastaDestino=" + (FPasta / "arquivo" / "pr").string());
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Out, "[ERRO] Erro ao tentar criar diretório: \"" + nFramework::CitarCaminho(FPasta / "arquivo" / "pr") +
                                "\": uma parte do caminho não é uma pasta\n"))
      << s.Out;
}


// The month's work of the SC company against a court: tick the entries of two months, send
// them, read the receipts, cancel one and see it cancelled.
TEST_F(UlmoTest, TheSCCompanySendsTwoMonthsOnlineSeesTheReceiptsAndCancelsOne) {
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  const fs::path registro = FPasta / "tribunal.txt";
  TTribunalFalso tribunal(registro);
  ASSERT_EQ(tribunal.Url().rfind("http://127.0.0.1:", 0), 0u) << tribunal.Url();
  Configurar("[ambiente]\nesfinge_online_url = \"" + tribunal.Url() + "\"\n");
  const std::string sc = "--sistema 1 --empresa 1 run ";
  const std::string envio = sc + "\"Enviar Arquivos Contábeis e-Sfinge Web - SC\" pCompetInicial=01/01/2024 "
                                 "pCompetFinal=31/03/2024 pUsuario=u pSenha=s pUnidadeGestora=ug ";
  const std::string consulta = sc + "\"Consulta Arquivos Contábeis e-Sfinge Online\" pCompetenciaInicial=01/01/2024 "
                                    "pCompetenciaFinal=31/12/2024 ";

  // Nothing ticked: refused before any call to the court.
  TSaida s = Ulmo(envio + "--acao actEnviarInfEsfingeOnline");
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Err, "Erro: Nenhum registro marcado para envio.")) << s.Err;
  EXPECT_EQ(Ler(registro), "");

  s = Ulmo(envio + "--grade nClientDataSetConta --marcar todos --grade nClientDataSetLcto "
                   "--marcar \"NumeroSlip = '202401' or NumeroSlip = '202403'\" --acao actEnviarInfEsfingeOnline");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[OK] Lote 202401: Envio parcial realizado com sucesso.\n"
                            "[OK] Lote 202403: Envio parcial realizado com sucesso.\n"))
      << s.Out;
  EXPECT_FALSE(Contem(s.Out, "[ERRO]")) << s.Out;
  const std::string chamadas = Ler(registro);
  EXPECT_EQ(Linhas(chamadas, "/iniciarEnvio?anoMes=").size(), 2u) << chamadas;
  EXPECT_EQ(Linhas(chamadas, "/finalizarEnvio\t").size(), 2u) << chamadas;
  EXPECT_FALSE(Contem(chamadas, "202402")) << chamadas;

  // The receipts, as the consultation grid shows them; the send date (today) and the court's
  // numbering are blanked.
  auto recibos = [&] {
    TSaida c = Ulmo(consulta + "--mostrar --formato csv");
    EXPECT_EQ(c.Codigo, 0) << c.Err;
    EXPECT_EQ(c.Out.rfind("Selecionado;Competência;Lote;Seq;Data de Envio;Status;Chave do Pacote;Recibo de Fechamento\n", 0),
              0u)
        << c.Out;
    std::vector<std::string> r;
    for (std::string l : Linhas(c.Out, ";2024")) {
      l = std::regex_replace(l, std::regex("^([^;]*;[^;]*;[^;]*;[^;]*;)[^;]*"), "$1(data)");
      r.push_back(std::regex_replace(l, std::regex("(PCT|REC)-(\\d{6})-\\d+"), "$1-$2-n"));
    }
    return r;
  };
  EXPECT_EQ(recibos(), (std::vector<std::string>{"0;01/01/2024;202401;1;(data);Finalizado;PCT-202401-n;REC-202401-n",
                                                 "0;01/03/2024;202403;1;(data);Finalizado;PCT-202403-n;REC-202403-n"}));

  s = Ulmo(consulta + "pUsuario=u pSenha=s pUnidadeGestora=ug --marcar \"LOTE = 202403\" --acao ActCancelarRemessa");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[OK] Lote cancelado com sucesso (Data: 01/03/2024 - Seq: 1 - Recibo: REC-202403-")) << s.Out;
  EXPECT_EQ(Linhas(Ler(registro), "cancelarPorCodigoRegistroInformacao").size(), 1u) << Ler(registro);
  EXPECT_TRUE(Contem(Ler(registro), "\"codigoRegistro\":\"REC-202403-")) << Ler(registro);
  EXPECT_EQ(recibos(), (std::vector<std::string>{"0;01/01/2024;202401;1;(data);Finalizado;PCT-202401-n;REC-202401-n",
                                                 "0;01/03/2024;202403;1;(data);Cancelado;PCT-202403-n;REC-202403-n"}));
  // A second cancel of the same lot finds nothing to cancel and says so.
  s = Ulmo(consulta + "pUsuario=u pSenha=s pUnidadeGestora=ug --marcar \"LOTE = 202403\" --acao ActCancelarRemessa");
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[ERRO] Nenhum lote finalizado marcado para cancelamento")) << s.Out;
  EXPECT_EQ(Linhas(Ler(registro), "cancelarPorCodigoRegistroInformacao").size(), 1u);
}

namespace {

// The lines of a court text file (Windows-1252, CRLF) that contain a part.
std::vector<std::string> LinhasDoArquivo(const fs::path& aArquivo, const std::string& aParte) {
  std::vector<std::string> r;
  for (std::string l : Linhas(nFramework::Windows1252ToUtf8(Ler(aArquivo)), aParte)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    r.push_back(l);
  }
  return r;
}

size_t Ocorrencias(const std::string& aTexto, const std::string& aParte) {
  size_t n = 0;
  for (size_t p = aTexto.find(aParte); p != std::string::npos; p = aTexto.find(aParte, p + 1)) ++n;
  return n;
}

}  // namespace

// What the demo leaves for the user, done from the command line as the README shows it: the PR
// company's two assets classified, the SC company's account related, a SE revenue rule and two
// payment natures entered; each reaches its court's file.
TEST_F(UlmoTest, TheDemosAssetsAccountAndRulesLeftForTheUserReachTheCourtFiles) {
  ASSERT_EQ(Ulmo("demo").Codigo, 0);
  const fs::path saida = FPasta / "saida";

  const std::string bens = "--sistema 3 --empresa 3 run \"Relacionar Bens\" pDataInicial=01/01/2024 pDataFinal=31/12/2024 ";
  TSaida s = Ulmo(bens + "--mostrar --formato csv");
  ASSERT_EQ(s.Codigo, 0) << s.Err;
  EXPECT_EQ(Linhas(s.Out, ";3;").size(), 2u) << s.Out;
  s = Ulmo(bens + "--definir \"ChaveLcto = 104 or ChaveLcto = 105\" \"Propriedade do Bem=Próprio\" "
                  "\"Natureza do Bem=Bens Móveis\" \"Categoria do Bem=2\" \"Detalhamento do Bem=201\" "
                  "\"Utilização do Bem=Bens de Uso Especial\" --acao nActSalvar");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[OK] 2 relacionamentos salvos.")) << s.Out;
  s = Ulmo("--sistema 3 --empresa 3 run \"Gerar Arquivos Contábeis - PR\" pDataInicial=01/01/2024 pDataFinal=31/12/2024 "
           "pIdPessoa=123 pPlanoEstatal=1 pBalanceteEstatal=0 pBens=1 pPastaDestino=" + (saida / "pr").string());
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_EQ(LinhasDoArquivo(saida / "pr" / "Bem.txt", "|202400"),
            (std::vector<std::string>{"123|2024001|Notebook 14 polegadas|1|1|2|201|1|2024-03-12|",
                                      "123|2024002|Notebook 14 polegadas|1|1|2|201|1|2024-03-12|",
                                      "123|2024003|Notebook 14 polegadas|1|1|2|201|1|2024-03-12|",
                                      "123|2024004|Caminhonete cabine dupla 4x4|1|1|2|201|3|2024-06-12|",
                                      "123|2024005|Conjunto de mesa e cadeiras para sala de reuniões|1|1|2|201|3|"
                                      "2024-09-12|"}));

  const std::string arquivosSC = "--sistema 1 --empresa 1 run \"Gerar Arquivos Contábeis - SC\" pCompetInicial=01/01/2024 "
                                 "pCompetFinal=31/12/2024 pDiretorio=" + (saida / "sc").string();
  ASSERT_EQ(Ulmo(arquivosSC).Codigo, 0);
  EXPECT_TRUE(LinhasDoArquivo(saida / "sc" / "ContaContabil.txt", "3.7.2.1.1.01.00 ").empty());
  s = Ulmo("--sistema 1 --empresa 1 run \"Relacionar Plano TCE\" pNivelConta=3 --definir \"CONTATCE = 170\" CONTACTB=1001 "
           "\"Data Início Plano=01/01/2024\" \"Data Fim Plano=31/12/2024\" \"Tipo Natureza Saldo=Devedor\" "
           "\"Gerar Aplicação Financeira=Não\" \"Tipo de Superávit Financeiro=Nenhum\" \"Tipo Conta TCE=4\" "
           "--acao nActSalvar");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[OK] Relacionamento da Conta TCE 170 inserido com sucesso.")) << s.Out;
  ASSERT_EQ(Ulmo(arquivosSC).Codigo, 0);
  auto conta = LinhasDoArquivo(saida / "sc" / "ContaContabil.txt", "3.7.2.1.1.01.00 ");
  ASSERT_EQ(conta.size(), 1u);
  EXPECT_EQ(conta[0].rfind("20243.7.2.1.1.01.00", 0), 0u) << conta[0];
  EXPECT_TRUE(Contem(conta[0], "04CONTRIBUIÇÕES SOBRE O FATURAMENTO ")) << conta[0];

  const std::string se = "--sistema 4 --empresa 4 run ";
  s = Ulmo(se + "Receitas --definir \"TipoReceita = 13\" \"Regra=CREDITO(197\" --acao actSalvar");
  EXPECT_EQ(s.Codigo, 1);
  EXPECT_TRUE(Contem(s.Err, "Erro: Linha 13 (Receita = 13 - Outras Receitas Operacionais), coluna \"Regra\": Regra "
                            "definida é inválida.\nNada foi gravado: nenhuma ação foi executada.\n"))
      << s.Err;
  s = Ulmo(se + "Receitas --definir \"TipoReceita = 13\" \"Regra=CREDITO(197) + CREDITO(198)\" --acao actSalvar");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  s = Ulmo(se + "Pagamentos pCodigoEstab=1 --definir \"CodigoCFOP = 1653 or CodigoCFOP = 2653\" "
                "\"Natureza do Pagamento=Manutençao\" --acao actSalvar");
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  EXPECT_TRUE(Contem(s.Out, "[OK] Configurações gravadas com sucesso!")) << s.Out;
  s = Ulmo(se + "\"Gerar Arquivos Contábeis Sagres Web - SE\" pDataInicial=01/02/2024 pDataFinal=29/02/2024 "
                "pUnidadeGestora=UG1 pContaCtbAlmoxarifado=37 pPastaDestino=" + (saida / "se").string());
  ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  const std::string xml = nFramework::LerEntradaZip(saida / "se" / "2024_02" / "ExecucaoEmpresas.zip", "ExecucaoEmpresas.xml");
  EXPECT_TRUE(Contem(xml, "<exec:tipoReceita>13</exec:tipoReceita>\n    <exec:valorArrecadadoNoMes>3510.71<")) << xml;
  // Four payments of February were maintenance already; the three of fuel join them.
  EXPECT_EQ(Ocorrencias(xml, "<exec:naturezaPagamento>5<"), 7u) << xml;
  EXPECT_EQ(Ocorrencias(xml, "<exec:Pagamento>"), 11u) << xml;
}
