#include "Zip_U.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "Exceptions_U.h"
#include "TestFolder_U.h"

using namespace nFramework;
using ::testing::ElementsAre;

namespace {

bool UnzipAvailable() { return std::system("command -v unzip >/dev/null 2>&1") == 0; }

int UnzipTest(const std::filesystem::path& zip) {
  return std::system(("unzip -tq '" + zip.string() + "' >/dev/null 2>&1").c_str());
}

}  // namespace

TEST(Zip, CompressListaStoresEachFileUnderItsBareName) {
  TTestFolder dir;
  WriteBytes(dir / "PessoaSEICED.txt", "1|2|\r\n");
  std::string big(200000, 'x');
  WriteBytes(dir / "PlanoContabil.txt", big);
  CompressLista(TStringList{"PessoaSEICED.txt", "\\PlanoContabil.txt"}, dir.Path(), dir / "123-032024.zip", true);

  auto zip = dir / "123-032024.zip";
  EXPECT_THAT(ListarEntradasZip(zip), ElementsAre("PessoaSEICED.txt", "PlanoContabil.txt"));
  EXPECT_EQ(LerEntradaZip(zip, "PessoaSEICED.txt"), "1|2|\r\n");
  EXPECT_EQ(LerEntradaZip(zip, "PlanoContabil.txt"), big);
  EXPECT_LT(std::filesystem::file_size(zip), 10000u) << "entries are deflated";
  if (!UnzipAvailable()) GTEST_SKIP() << "unzip not installed";
  EXPECT_EQ(UnzipTest(zip), 0);
}

TEST(Zip, CompressListaReplacesOnlyWhenAskedAndNeverLeavesAHalfArchive) {
  TTestFolder dir;
  WriteBytes(dir / "a.txt", "a");
  auto zip = dir / "lote.zip";
  WriteBytes(zip, "zip anterior");
  EXPECT_THROW(CompressLista(TStringList{"a.txt"}, dir.Path(), zip, false), EFileError);
  EXPECT_THROW(CompressLista(TStringList{"a.txt", "falta.txt"}, dir.Path(), zip, true), EFileError);
  EXPECT_THROW(CompressLista(TStringList{"a.txt", "sub/a.txt"}, dir.Path(), zip, true), EFileError);
  EXPECT_THROW(CompressLista(TStringList{}, dir.Path(), zip, true), EFileError);
  EXPECT_EQ(ReadBytes(zip), "zip anterior");
  EXPECT_EQ(dir.Entries(), (std::set<std::string>{"a.txt", "lote.zip"}));

  CompressLista(TStringList{"a.txt"}, dir.Path(), zip, true);
  EXPECT_THAT(ListarEntradasZip(zip), ElementsAre("a.txt"));
}

TEST(Zip, AZipInALongFolderWentToThePathShownInMessages) {
  // The path as a message quotes it (cut at 80 characters with "…", a tab shown as "\t") was
  // the path written to: the ZIP landed in another folder, created for it.
  TTestFolder dir;
  const auto pasta = dir / (std::string(90, 'p') + "\tfim");
  std::filesystem::create_directories(pasta);
  WriteBytes(pasta / "a.txt", "a");
  CompressLista(TStringList{"a.txt"}, pasta, pasta / "123-012024.zip", true);
  EXPECT_THAT(ListarEntradasZip(pasta / "123-012024.zip"), ElementsAre("a.txt"));
  EXPECT_EQ(dir.Entries(), (std::set<std::string>{pasta.filename().string()}));
}

TEST(Zip, CompressWritesOneEntryFromMemory) {
  TTestFolder dir;
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?><exec:ExecucaoEmpresas/>";
  auto zip = dir / "2024_03/ExecucaoEmpresas.zip";
  Compress(xml, zip, "x", "ExecucaoEmpresas.xml");
  EXPECT_THAT(ListarEntradasZip(zip), ElementsAre("ExecucaoEmpresas.xml"));
  EXPECT_EQ(LerEntradaZip(zip, "ExecucaoEmpresas.xml"), xml);
  EXPECT_THROW(LerEntradaZip(zip, "outro.xml"), EFileError);

  Compress("segundo", zip, "", "ExecucaoEmpresas.xml");  // a second run replaces the month's archive
  EXPECT_EQ(LerEntradaZip(zip, "ExecucaoEmpresas.xml"), "segundo");
  WriteBytes(dir / "quebrado.zip", "não é zip");
  EXPECT_THROW(ListarEntradasZip(dir / "quebrado.zip"), EFileError);
  if (!UnzipAvailable()) GTEST_SKIP() << "unzip not installed";
  EXPECT_EQ(UnzipTest(zip), 0);
}

TEST(Zip, AnEntrySinkStreamsItsBytesIntoTheArchiveItIsGiven) {
  TTestFolder dir;
  auto zip = dir / "ExecucaoEmpresas.zip";
  std::string bloco;
  for (int i = 0; i < 4096; ++i) bloco += "<exec:Pagamento>" + std::to_string(i) + "</exec:Pagamento>\n";
  {
    TAtomicFile arquivo(zip);
    TEntradaZip entrada(arquivo, zip, "ExecucaoEmpresas.xml");
    for (int i = 0; i < 64; ++i) entrada.Write(bloco);
    // Nothing beside the archive's own temporary while the entry is written.
    EXPECT_EQ(dir.Entries().size(), 1u);
    entrada.Commit();
    EXPECT_TRUE(arquivo.Committed());
  }
  EXPECT_THAT(ListarEntradasZip(zip), ElementsAre("ExecucaoEmpresas.xml"));
  std::string todo;
  for (int i = 0; i < 64; ++i) todo += bloco;
  EXPECT_EQ(LerEntradaZip(zip, "ExecucaoEmpresas.xml"), todo);
  EXPECT_LT(std::filesystem::file_size(zip), todo.size() / 10) << "the entry is deflated";
  EXPECT_EQ(dir.Entries(), (std::set<std::string>{"ExecucaoEmpresas.zip"}));
  if (!UnzipAvailable()) GTEST_SKIP() << "unzip not installed";
  EXPECT_EQ(UnzipTest(zip), 0);
}

TEST(Zip, AnEntrySinkThatFailsOrIsNotCommittedLeavesTheArchiveUntouched) {
  TTestFolder dir;
  auto zip = dir / "ExecucaoEmpresas.zip";
  {
    TStringSink arquivo;
    TEntradaZip entrada(arquivo, zip, "ExecucaoEmpresas.xml");
    entrada.Write("metade");
    EXPECT_TRUE(arquivo.Text().empty());
  }
  TStringSink arquivo;
  TEntradaZip entrada(arquivo, zip, "ExecucaoEmpresas.xml");
  entrada.Write("primeiro bloco");
  nTesteGravacao::FalharNa(nTesteGravacao::TOperacao::Escrita, 1);
  try {
    entrada.Write("segundo bloco");
    ADD_FAILURE() << "a failed write passed";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("/ExecucaoEmpresas.zip\""), std::string::npos) << e.what();
  }
  nTesteGravacao::Desligar();
  EXPECT_TRUE(arquivo.Text().empty());
  EXPECT_FALSE(arquivo.Committed());
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_THROW(TEntradaZip(arquivo, zip, ""), EFileError);
}
