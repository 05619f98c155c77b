#include "AtomicFile_U.h"

#include <gtest/gtest.h>

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
