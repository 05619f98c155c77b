#include "AtomicFile_U.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Exceptions_U.h"
#include "TestFolder_U.h"

using namespace nFramework;

TEST(AtomicFile, CommitPutsTheFileInPlaceCreatingMissingFolders) {
  TTestFolder dir;
  auto target = dir / "a/b/out.txt";
  {
    TAtomicFile file(target);
    EXPECT_EQ(file.TempPath().parent_path(), target.parent_path());
    file.Write("um\r\n");
    file.Write("dois\r\n");
    EXPECT_FALSE(std::filesystem::exists(target)) << "visible before commit";
    file.Commit();
  }
  EXPECT_EQ(ReadBytes(target), "um\r\ndois\r\n");
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(target.parent_path())) names.insert(e.path().filename());
  EXPECT_EQ(names, std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, AbandonedOutputLeavesThePreviousFileAndNoTemporary) {
  TTestFolder dir;
  WriteBytes(dir / "out.txt", "anterior");
  try {
    TAtomicFile file(dir / "out.txt");
    file.Write("meia linha");
    throw std::runtime_error("falha no meio");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "anterior");
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, FailedRenameRaisesAndCleansUp) {
  TTestFolder dir;
  std::filesystem::create_directories(dir / "out.txt/inner");  // a folder where the file should go
  TAtomicFile file(dir / "out.txt");
  file.Write("x");
  EXPECT_THROW(file.Commit(), EFileError);
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.txt"});
  EXPECT_THROW(TAtomicFile(dir / "sem-nome/"), EFileError);
}

TEST(AtomicFile, TemporarioDeUmaExecucaoMortaFicavaParaSempre) {
  TTestFolder dir;
  WriteBytes(dir / ".out.txt.0123abcd.tmp", std::string(2 << 20, 'x'));  // a killed run's
  WriteBytes(dir / ".outro.txt.0123abcd.tmp", "de outro arquivo");
  TAtomicFile file(dir / "out.txt");
  file.Write("novo");
  file.Commit();
  EXPECT_EQ(dir.Entries(), (std::set<std::string>{"out.txt", ".outro.txt.0123abcd.tmp"}));
}

TEST(AtomicFile, TemporarioVivoEOsQueNaoSaoNossosFicam) {
  TTestFolder dir;
  namespace fs = std::filesystem;
  // A live run keeps its temporary locked: it stays, and so does whatever is not of our pattern.
  TAtomicFile vivo(dir / "out.txt");
  vivo.Write("em andamento");
  for (const char* nome : {".out.txt.0123ABCD.tmp", "out.txt.0123abcd.tmp", ".out.txt.0123abc.tmp", ".out.txt.tmp",
                           ".out.txt.0123abcd.tmp.bak"})
    WriteBytes(dir / nome, "não é nosso");
  fs::create_directory(dir / ".out.txt.00000001.tmp");
  fs::create_symlink(dir / "alvo", dir / ".out.txt.00000002.tmp");
  std::set<std::string> antes = dir.Entries();
  {
    TAtomicFile outro(dir / "out.txt");
    outro.Write("x");
    outro.Commit();
  }
  antes.insert("out.txt");
  EXPECT_EQ(dir.Entries(), antes);
  vivo.Commit();
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "em andamento");
}

TEST(AtomicFile, FalhaEmQualquerOperacaoNaoDeixaNadaENomeiaOArquivo) {
  using nTesteGravacao::TOperacao;
  for (TOperacao op : {TOperacao::Criacao, TOperacao::Escrita, TOperacao::Sincronizacao, TOperacao::Renomeacao}) {
    TTestFolder dir;
    WriteBytes(dir / "out.txt", "anterior");
    nTesteGravacao::FalharNa(op, 1);
    try {
      TAtomicFile file(dir / "novo/out.txt");
      file.Write("um");
      file.Commit();
      ADD_FAILURE() << "operação " << static_cast<int>(op) << " não falhou";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find((dir / "novo/out.txt").string()), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("erro de leitura ou gravação no disco"), std::string::npos) << e.what();
    }
    nTesteGravacao::Desligar();
    // The folder made for the file goes with it.
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.txt"}) << static_cast<int>(op);
  }
}

TEST(AtomicFile, PermissoesPedidasValemParaOArquivo) {
  TTestFolder dir;
  namespace fs = std::filesystem;
  TAtomicFile file(dir / "copia.txt", fs::perms::owner_read | fs::perms::owner_write);
  file.Write("{}");
  file.Commit();
  EXPECT_EQ(fs::status(dir / "copia.txt").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

namespace {

// Printable text of any length: character i is 32 + 7i mod 95.
std::string Texto(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>(32 + (i * 7) % 95);
  return s;
}

}  // namespace

// The digest is stored in a file set's journal and checked by a later run: it must be XXH64
// exactly, whole or fed in any pieces, around each of its 32-, 8- and 4-byte steps.
TEST(AtomicFile, DigestIsXxh64HoweverTheBytesArrive) {
  using nArquivos::Resumir;
  EXPECT_EQ(Resumir(""), 0xef46db3751d8e999ull);
  EXPECT_EQ(Resumir("abc"), 0x44bc2cf5ad770999ull);
  const std::map<size_t, uint64_t> esperados = {{31, 0xc1c89b43d7337fb5ull}, {32, 0x91fce7cd356a934aull},
                                                {33, 0xbf82800dd0a0978eull}, {36, 0x81b352be0384ea39ull},
                                                {40, 0x45cf5932d7283312ull}, {63, 0x4753d3a54130d795ull},
                                                {64, 0x2d1fc4c5da850ff2ull}, {1000, 0x1041045372069cc9ull}};
  for (const auto& [n, esperado] : esperados) EXPECT_EQ(Resumir(Texto(n)), esperado) << n << " bytes";

  const std::string t = Texto(1000);
  for (size_t passo : {1, 3, 8, 31, 32, 33, 100}) {
    nArquivos::TResumo r;
    for (size_t i = 0; i < t.size(); i += passo) r.Acrescentar(std::string_view(t).substr(i, passo));
    EXPECT_EQ(r.Valor(), 0x1041045372069cc9ull) << "in pieces of " << passo;
  }
  TTestFolder dir;
  TAtomicFile file(dir / "out.txt");
  file.Write(t.substr(0, 500));
  file.Write(t.substr(500));
  EXPECT_EQ(file.Tamanho(), 1000u);
  EXPECT_EQ(file.Resumo(), 0x1041045372069cc9ull);
}
