// The ulmo program's own main run in a child process with one file operation made to fail, for
// every court's process: the run fails, and the folder holds exactly the earlier set, with no
// temporary file beside it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>

#include "FalhaGravacaoTeste_U.h"
#include "Golden_U.h"
#include "Zip_U.h"
#include "Inicio_U.h"

namespace fs = std::filesystem;
using namespace nGolden;
using nFramework::TFalhaGravacao;
using nFramework::nTesteGravacao::TOperacao;

namespace {

constexpr TOperacao Operacoes[] = {TOperacao::Criacao, TOperacao::Escrita, TOperacao::Sincronizacao,
                                   TOperacao::Renomeacao};

class GoldenFalhasTest : public ::testing::TestWithParam<TCaso> {
 protected:
  static void SetUpTestSuite() {
    FPasta = new nFramework::TTestFolder();
    FAmbiente = new TAmbiente{ULMO_EXE, FAKE_ESFINGE_ONLINE, GOLDEN_DIR "/fixture.sql", FPasta->Path()};
    CriarBanco(*FAmbiente);
  }
  static void TearDownTestSuite() {
    delete FAmbiente;
    delete FPasta;
  }

  struct TFilho {
    int Codigo = -1;
    int Contagem[4] = {};  // of each operation, in the run without a failure
  };

  using TConteudo = std::map<std::string, std::string>;

  // The folder's files, a ZIP by its members (its own bytes carry the time it was written).
  static TConteudo Conteudo(const fs::path& pasta) {
    TConteudo r = nFramework::ConteudoPasta(pasta);
    for (auto& [nome, bytes] : r) {
      if (nome.size() < 4 || nome.compare(nome.size() - 4, 4, ".zip") != 0 || bytes.rfind("PK", 0) != 0) continue;
      std::string membros = "ZIP\n";
      for (const std::string& m : nFramework::ListarEntradasZip(pasta / nome))
        membros += m + "\n" + nFramework::LerEntradaZip(pasta / nome, m) + "\n";
      bytes = membros;
    }
    return r;
  }

  // Whether the folder holds the whole earlier set or the whole new one; with `porMes`, each
  // month's folder on its own (every month is a document of its own, written when it is done).
  static bool Inteiros(const TConteudo& conteudo, const TConteudo& antigo, const TConteudo& novo, bool porMes) {
    if (!porMes) return conteudo == antigo || conteudo == novo;
    auto mes = [](const TConteudo& c, const std::string& pasta) {
      TConteudo r;
      for (const auto& [nome, bytes] : c)
        if (nome.rfind(pasta, 0) == 0) r[nome] = bytes;
      return r;
    };
    std::set<std::string> pastas;
    for (const auto& [nome, bytes] : conteudo) pastas.insert(nome.substr(0, nome.find('/') + 1));
    for (const auto& [nome, bytes] : novo) pastas.insert(nome.substr(0, nome.find('/') + 1));
    for (const std::string& p : pastas) {
      const TConteudo c = mes(conteudo, p);
      if (c != mes(antigo, p) && c != mes(novo, p)) return false;
    }
    return true;
  }

  // The program's main in a child, with the failure armed there; its messages go to a file.
  static TFilho RodarNoFilho(const std::vector<std::string>& argumentos, const TFalhaGravacao* falha) {
    std::vector<std::string> todos = {ULMO_EXE, "--config", (*FPasta / "ulmo.toml").string(), "--db",
                                      (*FPasta / "golden.db").string()};
    todos.insert(todos.end(), argumentos.begin(), argumentos.end());
    int canal[2];
    if (::pipe(canal) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(canal[0]);
      const int saida = ::open((*FPasta / "saida-do-filho.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(saida, STDOUT_FILENO);
      ::dup2(saida, STDERR_FILENO);
      std::vector<char*> argv;
      for (auto& a : todos) argv.push_back(a.data());
      argv.push_back(nullptr);
      nFramework::nTesteGravacao::Desligar();
      if (falha) nFramework::nTesteGravacao::FalharNa(falha->Operacao, falha->Numero);
      int contagem[4];
      const int codigo = ExecutarUlmo(static_cast<int>(todos.size()), argv.data());
      for (int i = 0; i < 4; ++i) contagem[i] = nFramework::nTesteGravacao::Contagem(Operacoes[i]);
      // _exit runs no destructor: what the messages left buffered goes out now.
      std::cout.flush();
      std::cerr.flush();
      std::fflush(nullptr);
      if (::write(canal[1], contagem, sizeof contagem) != sizeof contagem) ::_exit(120);
      ::_exit(codigo);
    }
    ::close(canal[1]);
    TFilho r;
    if (pid < 0 || ::read(canal[0], r.Contagem, sizeof r.Contagem) != sizeof r.Contagem) r.Contagem[0] = -1;
    ::close(canal[0]);
    int estado = 0;
    if (pid > 0 && ::waitpid(pid, &estado, 0) == pid && WIFEXITED(estado)) r.Codigo = WEXITSTATUS(estado);
    return r;
  }

  static nFramework::TTestFolder* FPasta;
  static TAmbiente* FAmbiente;
};

nFramework::TTestFolder* GoldenFalhasTest::FPasta = nullptr;
TAmbiente* GoldenFalhasTest::FAmbiente = nullptr;

TEST_P(GoldenFalhasTest, NadaMudaNaPastaQuandoUmaGravacaoFalha) {
  const TCaso& caso = GetParam();
  const fs::path pasta = *FPasta / ("saida-" + caso.Nome);
  std::vector<std::string> argumentos = Argumentos(caso, pasta);
  argumentos.insert(argumentos.begin(), "--yes");  // replace the earlier set without asking

  // An earlier set under the names this run writes, with other bytes.
  TFilho limpo = RodarNoFilho(argumentos, nullptr);
  ASSERT_EQ(limpo.Codigo, 0) << nFramework::ReadBytes(*FPasta / "saida-do-filho.txt");
  const auto novo = Conteudo(pasta);
  ASSERT_FALSE(novo.empty());
  fs::remove_all(pasta);
  std::map<std::string, std::string> antigo;
  for (const auto& [nome, bytes] : novo) {
    if (nome.back() == '/') {
      fs::create_directories(pasta / nome);
      antigo[nome] = "";
      continue;
    }
    fs::create_directories((pasta / nome).parent_path());
    nFramework::WriteBytes(pasta / nome, "conjunto anterior\r\n");
    antigo[nome] = "conjunto anterior\r\n";
  }
  ASSERT_TRUE(Conteudo(pasta) == antigo);

  int falhas = 0;  // runs the failure stopped
  for (int i = 0; i < 4; ++i) {
    ASSERT_GE(limpo.Contagem[i], 0);
    // The first and the last of each kind: before anything is in place, and at the set's end.
    for (int n : {1, limpo.Contagem[i]}) {
      if (n == 0) continue;
      const TFalhaGravacao falha{Operacoes[i], n};
      ASSERT_TRUE(Conteudo(pasta) == antigo);
      TFilho r = RodarNoFilho(argumentos, &falha);
      const std::string mensagens = nFramework::ReadBytes(*FPasta / "saida-do-filho.txt");
      const auto conteudo = Conteudo(pasta);
      // The whole earlier set or the whole new one, and nothing beside it (no temporary, no
      // journal); a failure that stops the run says so and leaves the earlier set.
      EXPECT_TRUE(Inteiros(conteudo, antigo, novo, caso.Corte == TCorte::SE))
          << falha.Descricao() << ": " << nFramework::DescreverPasta(conteudo);
      if (r.Codigo == 0) {
        EXPECT_TRUE(conteudo == novo) << falha.Descricao() << ": " << nFramework::DescreverPasta(conteudo) << mensagens;
      } else {
        EXPECT_EQ(r.Codigo, 1) << falha.Descricao() << ": " << mensagens;
        EXPECT_TRUE(mensagens.find("Erro") != std::string::npos || mensagens.find("[ERRO]") != std::string::npos)
            << falha.Descricao() << ": " << mensagens;
        ++falhas;
      }
      if (conteudo != antigo) {
        // Put the earlier set back for the next failure.
        fs::remove_all(pasta);
        fs::create_directories(pasta);
        for (const auto& [nome, bytes] : antigo) {
          if (nome.back() == '/') {
            fs::create_directories(pasta / nome);
            continue;
          }
          nFramework::WriteBytes(pasta / nome, bytes);
        }
      }
    }
  }
  // Most failures stop the run.
  EXPECT_GE(falhas, 4);
}

std::vector<TCaso> CasosDeArquivo() {
  std::vector<TCaso> r;
  for (const TCaso& c : Casos())
    if (c.Corte != TCorte::EsfingeOnline && c.Nome.find("-ano") != std::string::npos) r.push_back(c);
  r.push_back(*std::find_if(Casos().begin(), Casos().end(), [](const TCaso& c) { return c.Corte == TCorte::SE; }));
  return r;
}

INSTANTIATE_TEST_SUITE_P(Casos, GoldenFalhasTest, ::testing::ValuesIn(CasosDeArquivo()),
                         [](const ::testing::TestParamInfo<TCaso>& i) {
                           std::string n = i.param.Nome;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

}  // namespace
