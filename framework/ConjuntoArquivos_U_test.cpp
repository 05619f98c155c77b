#include "ConjuntoArquivos_U.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fmt/format.h>

#include <map>

#include "Exceptions_U.h"
#include "TestFolder_U.h"

using namespace nFramework;
namespace fs = std::filesystem;
using nTesteGravacao::TOperacao;

namespace {

using TConteudo = std::map<std::string, std::string>;

// What the folder holds: every entry, hidden ones included, with its bytes.
TConteudo Ler(const fs::path& pasta) {
  TConteudo r;
  for (const auto& e : fs::directory_iterator(pasta)) r[e.path().filename().string()] = ReadBytes(e.path());
  return r;
}

void Escrever(const fs::path& pasta, const TConteudo& arquivos) {
  fs::create_directories(pasta);
  for (const auto& [nome, bytes] : arquivos) WriteBytes(pasta / nome, bytes);
}

// The old set has a.txt, b.txt and a file the new set does not name; the new set adds c.txt.
const TConteudo Antigo = {{"a.txt", "a antigo"}, {"b.txt", "b antigo"}, {"outro.txt", "não é do conjunto"}};
const TConteudo NovosArquivos = {{"a.txt", "a novo, mais longo"}, {"b.txt", std::string(100000, 'b')}, {"c.txt", "c novo"}};

TConteudo Novo() {
  TConteudo r = Antigo;
  for (const auto& [nome, bytes] : NovosArquivos) r[nome] = bytes;
  return r;
}

// Names and sizes, for a readable failure.
std::string Descrever(const TConteudo& conteudo) {
  std::string r;
  for (const auto& [nome, bytes] : conteudo) r += nome + " (" + std::to_string(bytes.size()) + " bytes) ";
  return r;
}

std::vector<std::string> GravarNovo(const fs::path& pasta) {
  TConjuntoArquivos conjunto(pasta);
  for (const auto& [nome, bytes] : NovosArquivos) {
    IOutputSink& saida = conjunto.Novo(nome);
    saida.Write(bytes.substr(0, bytes.size() / 2));
    saida.Write(bytes.substr(bytes.size() / 2));
    saida.Commit();
  }
  conjunto.Confirmar();
  return conjunto.TomarAvisos();
}

std::string Juntar(const std::vector<std::string>& avisos) {
  std::string r;
  for (const auto& a : avisos) r += a + "\n";
  return r;
}

class ConjuntoArquivosTest : public ::testing::Test {
 protected:
  void TearDown() override {
    nTesteGravacao::Desligar();
    nTesteGravacao::MatarNoPasso(0);
  }
  TTestFolder FDir;
};

TEST_F(ConjuntoArquivosTest, ConfirmaTodosJuntosENaoDeixaTemporario) {
  fs::path pasta = FDir / "saida";
  Escrever(pasta, Antigo);
  GravarNovo(pasta);
  EXPECT_TRUE(Ler(pasta) == Novo()) << Descrever(Ler(pasta));
}

TEST_F(ConjuntoArquivosTest, SemConfirmarNadaMudaEAPastaCriadaVaiEmbora) {
  fs::path pasta = FDir / "saida";
  Escrever(pasta, Antigo);
  {
    TConjuntoArquivos conjunto(pasta);
    IOutputSink& a = conjunto.Novo("a.txt");
    a.Write("meio");
    a.Commit();
    conjunto.Novo("b.txt").Write("meio");
  }
  EXPECT_EQ(Ler(pasta), Antigo);
  {
    TConjuntoArquivos conjunto(FDir / "nova/sub");
    conjunto.Novo("a.txt").Write("x");
  }
  EXPECT_FALSE(fs::exists(FDir / "nova"));
}

TEST_F(ConjuntoArquivosTest, FalhaEmQualquerOperacaoDevolveOConjuntoAntigoENomeiaOArquivo) {
  fs::path pasta = FDir / "saida";
  // How many of each the whole commit makes.
  Escrever(pasta, Antigo);
  nTesteGravacao::Desligar();
  GravarNovo(pasta);
  std::map<TOperacao, int> total;
  for (TOperacao op : {TOperacao::Criacao, TOperacao::Escrita, TOperacao::Sincronizacao, TOperacao::Renomeacao})
    total[op] = nTesteGravacao::Contagem(op);
  ASSERT_GE(total[TOperacao::Renomeacao], 5);  // two backups, three new files
  int falhas = 0;
  for (const auto& [op, vezes] : total) {
    for (int n = 1; n <= vezes; ++n) {
      fs::remove_all(pasta);
      Escrever(pasta, Antigo);
      nTesteGravacao::Desligar();
      nTesteGravacao::FalharNa(op, n);
      try {
        // Once the new files are in place a failure only leaves tidying for the next run.
        std::string avisos = Juntar(GravarNovo(pasta));
        EXPECT_NE(avisos.find("Os arquivos foram gravados, mas a limpeza"), std::string::npos)
            << "operação " << static_cast<int>(op) << " número " << n << " não falhou";
        TConjuntoArquivos proximo(pasta);
        EXPECT_TRUE(Ler(pasta) == Novo()) << Descrever(Ler(pasta));
        continue;
      } catch (const EFileError& e) {
        ++falhas;
        std::string m = e.what();
        EXPECT_TRUE(m.find((pasta / "a.txt").string()) != std::string::npos ||
                    m.find((pasta / "b.txt").string()) != std::string::npos ||
                    m.find((pasta / "c.txt").string()) != std::string::npos ||
                    m.find((pasta / TConjuntoArquivos::NomeDiario).string()) != std::string::npos ||
                    m.find("pasta \"" + pasta.string() + "\"") != std::string::npos)
            << m;
      }
      EXPECT_TRUE(Ler(pasta) == Antigo) << "operação " << static_cast<int>(op) << " número " << n << ": "
                                        << Descrever(Ler(pasta));
    }
  }
  EXPECT_GE(falhas, 12);
}

TEST_F(ConjuntoArquivosTest, FalhaNaLimpezaDeixaONovoConjuntoEAProximaAberturaTermina) {
  fs::path pasta = FDir / "saida";
  Escrever(pasta, Antigo);
  nTesteGravacao::FalharNa(TOperacao::Remocao, 1);  // the first backup
  {
    TConjuntoArquivos conjunto(pasta);
    for (const auto& [nome, bytes] : NovosArquivos) {
      IOutputSink& saida = conjunto.Novo(nome);
      saida.Write(bytes);
      saida.Commit();
    }
    conjunto.Confirmar();
    std::string avisos = Juntar(conjunto.TomarAvisos());
    EXPECT_NE(avisos.find("Os arquivos foram gravados, mas a limpeza da gravação"), std::string::npos) << avisos;
  }
  TConteudo depois = Ler(pasta);
  EXPECT_TRUE(depois.count(TConjuntoArquivos::NomeDiario));
  for (const auto& [nome, bytes] : NovosArquivos) EXPECT_EQ(depois[nome], bytes);
  TConjuntoArquivos proximo(pasta);
  std::string avisos = Juntar(proximo.TomarAvisos());
  EXPECT_NE(avisos.find("Uma gravação anterior interrompida foi concluída: a.txt, b.txt, c.txt"), std::string::npos)
      << avisos;
  EXPECT_TRUE(Ler(pasta) == Novo()) << Descrever(Ler(pasta));
}

// A child process writes the new set and kills itself at step k, for every k; with a rename made
// to fail, it is killed while it undoes the commit. The parent then opens the next set on the
// folder, as the next run would, and finds the whole old set or the whole new one.
struct TMortes {
  int Antigos = 0, Novos = 0, Concluidas = 0, Desfeitas = 0;
};

TMortes MatarEmCadaPasso(const fs::path& pasta, int renomeacaoQueFalha) {
  TMortes r;
  for (int passo = 1;; ++passo) {
    if (passo >= 100) {
      ADD_FAILURE() << "the commit never ended";
      return r;
    }
    fs::remove_all(pasta);
    Escrever(pasta, Antigo);
    pid_t filho = ::fork();
    if (filho < 0) {
      ADD_FAILURE() << "fork";
      return r;
    }
    if (filho == 0) {
      nTesteGravacao::Desligar();
      nTesteGravacao::MatarNoPasso(passo);
      nTesteGravacao::FalharNa(TOperacao::Renomeacao, renomeacaoQueFalha);
      try {
        GravarNovo(pasta);
      } catch (const EFileError&) {
        ::_exit(3);
      }
      ::_exit(0);
    }
    int estado = 0;
    EXPECT_EQ(::waitpid(filho, &estado, 0), filho);
    if (WIFEXITED(estado)) {
      EXPECT_EQ(WEXITSTATUS(estado), renomeacaoQueFalha ? 3 : 0);
      EXPECT_TRUE(Ler(pasta) == (renomeacaoQueFalha ? Antigo : Novo())) << Descrever(Ler(pasta));
      return r;
    }
    EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL);
    const bool diario = fs::exists(pasta / TConjuntoArquivos::NomeDiario);
    TConjuntoArquivos proximo(pasta);
    std::string avisos = Juntar(proximo.TomarAvisos());
    TConteudo agora = Ler(pasta);
    EXPECT_TRUE(agora == Antigo || agora == Novo()) << "passo " << passo << ": " << Descrever(agora);
    r.Antigos += agora == Antigo;
    r.Novos += agora == Novo();
    if (diario) {
      bool concluida = avisos.find("Uma gravação anterior interrompida foi concluída") != std::string::npos;
      bool desfeita = avisos.find("Uma gravação anterior interrompida foi desfeita") != std::string::npos;
      EXPECT_TRUE(concluida ? agora == Novo() : desfeita && agora == Antigo) << "passo " << passo << ": " << avisos;
      r.Concluidas += concluida;
      r.Desfeitas += desfeita;
    }
  }
}

TEST_F(ConjuntoArquivosTest, MortoEmQualquerPassoAProximaAberturaDeixaOAntigoOuONovoInteiro) {
  TMortes m = MatarEmCadaPasso(FDir / "saida", 0);
  // Killed before the journal, with the journal cut short, and after it.
  EXPECT_GE(m.Antigos, 5);
  EXPECT_GE(m.Novos, 8);
  EXPECT_GE(m.Concluidas, 8);
  EXPECT_GE(m.Desfeitas, 1);
}

TEST_F(ConjuntoArquivosTest, MortoEnquantoDesfaziaUmaFalhaAProximaAberturaTerminaDeDesfazer) {
  // The fourth rename is the second new file's: one new file in place, both backups made.
  TMortes m = MatarEmCadaPasso(FDir / "saida", 4);
  EXPECT_GE(m.Desfeitas, 3);
  EXPECT_GE(m.Concluidas, 1);  // killed before the undo began: every new file was still there
}

TEST_F(ConjuntoArquivosTest, RegistroDeUmaGravacaoVivaEEsperadoENaoDesfeito) {
  fs::path pasta = FDir / "saida";
  Escrever(pasta, Antigo);
  WriteBytes(pasta / TConjuntoArquivos::NomeDiario, "ulmo-conjunto-arquivos 1\n");
  int fd = ::open((pasta / TConjuntoArquivos::NomeDiario).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);  // another open file: conflicts as another run would
  try {
    TConjuntoArquivos conjunto(pasta, std::chrono::milliseconds(100));
    ADD_FAILURE() << "a commit under way was not waited for";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("Outra geração está gravando arquivos na pasta"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(fs::exists(pasta / TConjuntoArquivos::NomeDiario));
  ::close(fd);
  TConjuntoArquivos conjunto(pasta);
  EXPECT_EQ(Ler(pasta), Antigo);
}

TEST_F(ConjuntoArquivosTest, RegistroQueNaoEDoProgramaNaoMexeEmArquivoAlgum) {
  fs::path pasta = FDir / "saida";
  Escrever(FDir.Path(), {{"fora.txt", "fora da pasta"}});
  auto linha = [](const std::string& nome, const std::string& temporario, const std::string& anterior,
                  const std::string& conteudo) {
    return fmt::format("ulmo-conjunto-arquivos 2\n{}\t{}\t{}\t{}\t{:016x}\nfim 1\n", nome, temporario, anterior,
                       conteudo.size(), nArquivos::Resumir(conteudo));
  };
  // Each would move a file that is not a temporary or a backup of the set, or out of the folder.
  const std::vector<std::string> diarios = {
      linha("../fora.txt", ".fora.txt.0123abcd.tmp", "", "x"),
      linha("a.txt", "outro.txt", "", Antigo.at("outro.txt")),
      linha("a.txt", ".a.txt.0123abcd.tmp", "b.txt", "nunca gravado"),
  };
  for (const std::string& diario : diarios) {
    fs::remove_all(pasta);
    Escrever(pasta, Antigo);
    WriteBytes(pasta / ".fora.txt.0123abcd.tmp", "x");
    WriteBytes(pasta / TConjuntoArquivos::NomeDiario, diario);
    TConjuntoArquivos conjunto(pasta);
    std::string avisos = Juntar(conjunto.TomarAvisos());
    EXPECT_NE(avisos.find("Uma gravação anterior interrompida foi desfeita"), std::string::npos) << avisos;
    EXPECT_TRUE(Ler(pasta) == Antigo) << diario << Descrever(Ler(pasta));
    EXPECT_EQ(ReadBytes(FDir / "fora.txt"), "fora da pasta");
  }
}

TEST_F(ConjuntoArquivosTest, TemporariosDeExecucaoMortaSaoRemovidosEDitos) {
  fs::path pasta = FDir / "saida";
  TConteudo antes = Antigo;
  antes[".nao-e-nosso.tmp"] = "x";
  Escrever(pasta, antes);
  WriteBytes(pasta / ".LancamentoContabil.txt.0123abcd.tmp", std::string(2 << 20, 'L'));
  WriteBytes(pasta / ".vivo.txt.0123abcd.tmp", "em uso");
  int fd = ::open((pasta / ".vivo.txt.0123abcd.tmp").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  antes[".vivo.txt.0123abcd.tmp"] = "em uso";
  TConjuntoArquivos conjunto(pasta);
  std::string avisos = Juntar(conjunto.TomarAvisos());
  EXPECT_EQ(avisos, "Arquivos temporários de uma gravação interrompida foram removidos da pasta \"" + pasta.string() +
                        "\": .LancamentoContabil.txt.0123abcd.tmp.\n");
  EXPECT_EQ(Ler(pasta), antes);
  ::close(fd);
}

TEST_F(ConjuntoArquivosTest, UmArquivoAvulsoNaoApagaOsTemporariosDeUmaGravacaoPelaMetade) {
  fs::path pasta = FDir / "saida";
  Escrever(pasta, Antigo);
  pid_t filho = ::fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    nTesteGravacao::Desligar();
    nTesteGravacao::MatarNoPasso(10);  // the journal written, both old files moved to backups
    GravarNovo(pasta);
    ::_exit(0);
  }
  int estado = 0;
  ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
  ASSERT_TRUE(WIFSIGNALED(estado));
  ASSERT_TRUE(fs::exists(pasta / TConjuntoArquivos::NomeDiario));
  {
    TAtomicFile avulso(pasta / "b.txt");  // its own dead temporaries would be removed
    avulso.Write("avulso");
  }
  TConjuntoArquivos proximo(pasta);
  std::string avisos = Juntar(proximo.TomarAvisos());
  EXPECT_NE(avisos.find("Uma gravação anterior interrompida foi concluída"), std::string::npos) << avisos;
  EXPECT_TRUE(Ler(pasta) == Novo()) << Descrever(Ler(pasta));
}

// A commit that a run of an earlier version left half done carries that version's digests
// (FNV, journal version 1): it is still finished, and each version's digest is read as its own.
TEST_F(ConjuntoArquivosTest, GravacaoPelaMetadeDeUmaVersaoAnteriorEConcluida) {
  const std::string novoA = NovosArquivos.at("a.txt"), novoC = NovosArquivos.at("c.txt");
  auto fnv = [](const std::string& t) { return nArquivos::ResumirFnv(nArquivos::ResumoInicialFnv, t); };
  auto xxh = [](const std::string& t) { return nArquivos::Resumir(t); };
  struct TCaso {
    int Versao;
    uint64_t (*Resumo)(const std::string&);
    bool Concluida;
  };
  const std::vector<TCaso> casos = {{1, +fnv, true}, {2, +xxh, true}, {1, +xxh, false}, {2, +fnv, false}};
  for (const TCaso& caso : casos) {
    fs::path pasta = FDir / "saida";
    fs::remove_all(pasta);
    Escrever(pasta, Antigo);
    // a.txt already moved to its backup, neither new file renamed yet.
    fs::rename(pasta / "a.txt", pasta / ".a.txt.0123abcd.anterior");
    WriteBytes(pasta / ".a.txt.0123abcd.tmp", novoA);
    WriteBytes(pasta / ".c.txt.89abcdef.tmp", novoC);
    WriteBytes(pasta / TConjuntoArquivos::NomeDiario,
               fmt::format("ulmo-conjunto-arquivos {}\na.txt\t.a.txt.0123abcd.tmp\t.a.txt.0123abcd.anterior\t{}\t{:016x}\n"
                           "c.txt\t.c.txt.89abcdef.tmp\t\t{}\t{:016x}\nfim 2\n",
                           caso.Versao, novoA.size(), caso.Resumo(novoA), novoC.size(), caso.Resumo(novoC)));
    TConjuntoArquivos conjunto(pasta);
    std::string avisos = Juntar(conjunto.TomarAvisos());
    TConteudo esperado = Antigo;
    if (caso.Concluida) esperado["a.txt"] = novoA, esperado["c.txt"] = novoC;
    EXPECT_NE(avisos.find(caso.Concluida ? "foi concluída" : "foi desfeita"), std::string::npos)
        << "versão " << caso.Versao << ": " << avisos;
    EXPECT_TRUE(Ler(pasta) == esperado) << "versão " << caso.Versao << ": " << Descrever(Ler(pasta));
  }
}

}  // namespace
