// The ulmo program writing the TCE-SC files of the demo company into a folder that holds an
// earlier good set, killed with SIGKILL at every step of the files' commit and at random moments
// of the run. After each kill the next run into the folder must find the whole old set or the
// whole new one, say what it did with a half-done commit, and leave no temporary file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "ConjuntoArquivos_U.h"
#include "ProgramaTeste_U.h"
#include "FalhaGravacaoTeste_U.h"

extern char** environ;

using namespace nFramework;
namespace fs = std::filesystem;

namespace {

struct TExecucao {
  bool Morto = false;  // killed by SIGKILL
  int Codigo = -1;
  std::string Saida;
};

class GravacaoInterrompidaSCTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FDir = new TTestFolder();
    std::ofstream(*FDir / "ulmo.toml") << "";
    ASSERT_EQ(Rodar({"demo"}).Codigo, 0);
    // The earlier good set is January's; the run that gets killed writes the whole year.
    ASSERT_EQ(Gerar(*FDir / "antigo", "31/01/2024").Codigo, 0);
    ASSERT_EQ(Gerar(*FDir / "novo", "31/12/2024").Codigo, 0);
    FAntigo = new TConteudo(ConteudoPasta(*FDir / "antigo"));
    FNovo = new TConteudo(ConteudoPasta(*FDir / "novo"));
  }
  static void TearDownTestSuite() {
    delete FAntigo;
    delete FNovo;
    delete FDir;
  }

  using TConteudo = std::map<std::string, std::string>;

  // Starts the program with the arguments and this environment entry; `matarApos` > 0 kills it
  // that long after the start.
  static pid_t Iniciar(const std::vector<std::string>& args, const std::string& ambiente) {
    std::vector<std::string> todos = {ULMO_EXE, "--config", (*FDir / "ulmo.toml").string(), "--db",
                                      (*FDir / "demo.db").string()};
    todos.insert(todos.end(), args.begin(), args.end());
    return IniciarPrograma(todos, *FDir / "saida.txt", ambiente);
  }
  static TExecucao Esperar(pid_t pid) {
    TExecucao r;
    int estado = 0;
    if (pid < 0 || ::waitpid(pid, &estado, 0) != pid) return r;
    r.Morto = WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL;
    r.Codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    std::ifstream in(*FDir / "saida.txt", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    r.Saida = ss.str();
    return r;
  }
  static TExecucao Rodar(const std::vector<std::string>& args, const std::string& ambiente = {}) {
    return Esperar(Iniciar(args, ambiente));
  }
  static std::vector<std::string> ArgumentosSC(const fs::path& pasta, const std::string& fim) {
    return {"--sistema", "1", "--empresa", "1", "run", "Gerar Arquivos Contábeis - SC", "pCompetInicial=01/01/2024",
            "pCompetFinal=" + fim, "pIncluirImplSaldo=1", "pGeraAplicFinanceira=1", "pOriLctoAplicado=AP",
            "pOriLctoResgatado=RF", "pOriLctoRendimento=RA", "pDiretorio=" + pasta.string()};
  }
  static TExecucao Gerar(const fs::path& pasta, const std::string& fim, const std::string& ambiente = {}) {
    return Rodar(ArgumentosSC(pasta, fim), ambiente);
  }
  static void Copiar(const TConteudo& conteudo, const fs::path& pasta) {
    fs::remove_all(pasta);
    fs::create_directories(pasta);
    for (const auto& [nome, bytes] : conteudo) WriteBytes(pasta / nome, bytes);
  }

  // The folder a kill left, looked at by the next runs: one killed as soon as it has resolved
  // the folder, then one left to finish.
  void VerificarDepoisDaMorte(const fs::path& pasta, const std::string& quando) {
    const bool diario = fs::exists(pasta / TConjuntoArquivos::NomeDiario);
    fs::path copia = pasta.string() + "-copia";
    Copiar(ConteudoPasta(pasta), copia);
    TExecucao abertura = Gerar(copia, "31/12/2024", "ULMO_TESTE_MATAR_NA_GRAVACAO=1");
    EXPECT_TRUE(abertura.Morto) << quando << ": " << abertura.Saida;
    TConteudo resolvido = ConteudoPasta(copia);
    EXPECT_TRUE(resolvido == *FAntigo || resolvido == *FNovo) << quando << ": " << DescreverPasta(resolvido);
    FAntigos += resolvido == *FAntigo;
    FNovos += resolvido == *FNovo;

    TExecucao proxima = Gerar(pasta, "31/12/2024");
    EXPECT_EQ(proxima.Codigo, 0) << quando << ": " << proxima.Saida;
    if (diario) {
      EXPECT_NE(proxima.Saida.find("[AVISO] Uma gravação anterior interrompida foi "), std::string::npos)
          << quando << ": " << proxima.Saida;
      ++FResolvidas;
    }
    EXPECT_TRUE(ConteudoPasta(pasta) == *FNovo) << quando << ": " << DescreverPasta(ConteudoPasta(pasta));
  }

  static TTestFolder* FDir;
  static TConteudo* FAntigo;
  static TConteudo* FNovo;
  int FAntigos = 0, FNovos = 0, FResolvidas = 0;
};

TTestFolder* GravacaoInterrompidaSCTest::FDir = nullptr;
GravacaoInterrompidaSCTest::TConteudo* GravacaoInterrompidaSCTest::FAntigo = nullptr;
GravacaoInterrompidaSCTest::TConteudo* GravacaoInterrompidaSCTest::FNovo = nullptr;

// The four files used to be renamed one by one: killed after the first rename, the folder held a
// new LancamentoContabil.txt beside the old other three, with nothing to tell the set was
// incomplete, and the temporaries of the other three stayed for ever.
TEST_F(GravacaoInterrompidaSCTest, MortoEmCadaPassoDaGravacaoDeixavaUmConjuntoMisturado) {
  ASSERT_EQ(FAntigo->size(), 4u);
  ASSERT_FALSE(*FAntigo == *FNovo);
  const fs::path pasta = *FDir / "saida";
  for (int passo = 1;; ++passo) {
    ASSERT_LT(passo, 60) << "the run never ended";
    Copiar(*FAntigo, pasta);
    TExecucao r = Gerar(pasta, "31/12/2024", "ULMO_TESTE_MATAR_NA_GRAVACAO=" + std::to_string(passo));
    if (!r.Morto) {
      EXPECT_EQ(r.Codigo, 0) << r.Saida;
      EXPECT_TRUE(ConteudoPasta(pasta) == *FNovo) << DescreverPasta(ConteudoPasta(pasta));
      EXPECT_GE(passo, 20);  // the set opened, four files, the journal, four backups, four renames, the tidying
      break;
    }
    VerificarDepoisDaMorte(pasta, "passo " + std::to_string(passo));
  }
  EXPECT_GE(FAntigos, 5);
  EXPECT_GE(FNovos, 10);
  EXPECT_GE(FResolvidas, 10);
}

TEST_F(GravacaoInterrompidaSCTest, MortoEmMomentosAleatoriosDaExecucao) {
  const fs::path pasta = *FDir / "saida";
  Copiar(*FAntigo, pasta);
  const auto inicio = std::chrono::steady_clock::now();
  ASSERT_EQ(Gerar(pasta, "31/12/2024").Codigo, 0);
  const auto duracao = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - inicio);
  const unsigned semente = std::random_device()();
  std::mt19937 aleatorio(semente);
  // Half of the kills anywhere in the run, half in its last part, where the files are written.
  std::uniform_int_distribution<long> momento(0, duracao.count() * 11 / 10);
  std::uniform_int_distribution<long> final(duracao.count() * 8 / 10, duracao.count() * 11 / 10);
  for (int i = 0; i < 8; ++i) {
    Copiar(*FAntigo, pasta);
    const long micros = i % 2 ? final(aleatorio) : momento(aleatorio);
    pid_t pid = Iniciar(ArgumentosSC(pasta, "31/12/2024"), {});
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
    ::kill(pid, SIGKILL);
    TExecucao r = Esperar(pid);
    const std::string quando = "semente " + std::to_string(semente) + ", " + std::to_string(micros) + " µs";
    if (!r.Morto) {
      EXPECT_TRUE(ConteudoPasta(pasta) == *FNovo) << quando << ": " << DescreverPasta(ConteudoPasta(pasta));
      continue;
    }
    VerificarDepoisDaMorte(pasta, quando);
  }
}

}  // namespace
