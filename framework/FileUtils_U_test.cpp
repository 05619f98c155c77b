#include "FileUtils_U.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "Exceptions_U.h"
#include "TestFolder_U.h"

using namespace nFramework;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

TEST(FileUtils, PathDelimitersAndWindowsStyleSuffixes) {
  EXPECT_EQ(IncludeTrailingPathDelimiter("/dados"), "/dados/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/dados/"), "/dados/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/dados\\"), "/dados/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/dados//"), "/dados");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/dados\\"), "/dados");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
  EXPECT_EQ(CombinarCaminho("/saida", "\\LancamentoContabil"), fs::path("/saida/LancamentoContabil"));
  EXPECT_EQ(CombinarCaminho("/saida/", "ano\\mes.txt"), fs::path("/saida/ano/mes.txt"));
  EXPECT_EQ(CombinarCaminho("", "a.txt"), fs::path("a.txt"));
  // A folder typed with or without its trailing delimiter gives the same file.
  EXPECT_EQ(CombinarCaminho(CaminhoDeTexto("/saida\\"), "BAL_VER.txt"), CombinarCaminho("/saida", "BAL_VER.txt"));
}

TEST(FileUtils, GravarConteudoEmArquivoWritesWindows1252LinesWithCrlf) {
  TTestFolder dir;
  bool replaceAll = false;
  std::string path = ExcludeTrailingPathDelimiter(dir.Path().string()) + "\\LancamentoContabil";
  GravarConteudoEmArquivo(TStringList{"São Paulo", "Ação"}, path, replaceAll);
  EXPECT_EQ(ReadBytes(dir / "LancamentoContabil.txt"), "S\xE3o Paulo\r\nA\xE7\xE3o\r\n");

  GravarConteudoEmArquivo(TStringList{}, dir / "vazio", replaceAll, "csv");
  EXPECT_EQ(ReadBytes(dir / "vazio.csv"), "");
  GravarConteudoEmArquivo(TStringList{"ł"}, dir / "utf8", replaceAll, ".txt", TEncoding::Utf8);
  EXPECT_EQ(ReadBytes(dir / "utf8.txt"), "ł\r\n");
}

TEST(FileUtils, GravarConteudoEmArquivoRefusesWholeFileOnAForeignCharacter) {
  TTestFolder dir;
  WriteBytes(dir / "Conta.txt", "anterior");
  bool replaceAll = false;
  try {
    GravarConteudoEmArquivo(TStringList{"ok", "Wrocław"}, dir / "Conta", replaceAll);
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_THAT(e.Message(), HasSubstr("Conta.txt\", linha 2"));
    EXPECT_THAT(e.Message(), HasSubstr("\"ł\""));
  }
  EXPECT_EQ(ReadBytes(dir / "Conta.txt"), "anterior");
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"Conta.txt"});
}

TEST(FileUtils, GravarArquivoKeepsUtf8AndCreatesTheFolder) {
  TTestFolder dir;
  GravarArquivo(dir / "json/envio.txt", "{\"nome\":\"Łódź\"}");
  EXPECT_EQ(ReadBytes(dir / "json/envio.txt"), "{\"nome\":\"Łódź\"}");
  EXPECT_THROW(GravarArquivo(dir / "bad.txt", "\xFF"), EFileError);
  EXPECT_FALSE(fs::exists(dir / "bad.txt"));
}

TEST(FileUtils, ForceDirectoriesAndIsReadOnly) {
  TTestFolder dir;
  ForceDirectories(dir / "x/y/z");
  EXPECT_TRUE(fs::is_directory(dir / "x/y/z"));
  EXPECT_FALSE(IsReadOnly(dir.Path()));
  EXPECT_FALSE(IsReadOnly(dir / "ainda/nao/existe"));
  WriteBytes(dir / "arquivo", "x");
  EXPECT_TRUE(IsReadOnly(dir / "arquivo"));
  EXPECT_THROW(ForceDirectories(dir / "arquivo"), EFileError);
  EXPECT_THROW(ForceDirectories(dir / "arquivo/sub"), EFileError);
  if (::geteuid() != 0) {  // root writes anywhere
    fs::permissions(dir / "x", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(IsReadOnly(dir / "x"));
    EXPECT_TRUE(IsReadOnly(dir / "x/novo"));
  }
}

TEST(FileUtils, PegarDirTempIsMadeOnDemandAndOverridable) {
  TTestFolder dir;
  SetDirTemp(dir / "tmp");
  EXPECT_EQ(PegarDirTemp(), (dir / "tmp").string() + "/");
  EXPECT_TRUE(fs::is_directory(dir / "tmp"));
  SetDirTemp({});
  std::string standard = PegarDirTemp();
  EXPECT_EQ(standard.back(), '/');
  EXPECT_TRUE(fs::is_directory(standard));
}

// The temporary folder was made 0755 at a predictable name, with no look at who owns it or
// whether it is a link to somewhere else.
TEST(FileUtils, PastaTemporariaPrevisivelEraAbertaATodosESemChecagem) {
  TTestFolder dir;
  fs::create_directories(dir / "tmp");
  fs::permissions(dir / "tmp", fs::perms(0755));
  SetDirTemp(dir / "tmp");
  EXPECT_EQ(PegarDirTemp(), (dir / "tmp").string() + "/");
  EXPECT_EQ(fs::status(dir / "tmp").permissions() & fs::perms::all, fs::perms::owner_all);

  fs::create_directories(dir / "outra");
  const fs::perms antes = fs::status(dir / "outra").permissions();
  fs::create_directory_symlink(dir / "outra", dir / "link");
  SetDirTemp(dir / "link/");
  try {
    PegarDirTemp();
    ADD_FAILURE() << "a link was taken as the temporary folder";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "A pasta temporária do programa \"" + (dir / "link").string() +
                                         "\" não é segura: é um link simbólico. Apague-a ou indique outra pasta "
                                         "temporária em TMPDIR.");
  }
  EXPECT_EQ(fs::status(dir / "outra").permissions(), antes);
  SetDirTemp({});
}

TEST(FileUtils, AFolderUnderAFileWasRefusedInTheLibrarysEnglish) {
  TTestFolder dir;
  WriteBytes(dir / "arquivo", "x");
  try {
    ForceDirectories(dir / "arquivo/sub");
    FAIL() << "a folder was made under a file";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Não foi possível criar a pasta \"" + (dir / "arquivo/sub").string() +
                                         "\": uma parte do caminho não é uma pasta");
  }
}
