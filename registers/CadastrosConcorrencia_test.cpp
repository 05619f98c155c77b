// Two users saving through the same register at once, each on a connection of their own to one
// database (a SQLite file, or the server of ULMO_TESTE_PG): what one did meanwhile comes back to
// the other in the register's words, and nothing of a refused save is kept.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "BancoVazioTeste_U.h"
#include "CadastrosTeste_U.h"
#include "Conexao_U.h"
#include "Exceptions_U.h"
#include "UlmoDMSistema_U.h"

using namespace nFramework;
using namespace nUlmo;

namespace {

class DoisUsuariosTest : public nUlmoTeste::CadastrosTest {
 protected:
  void SetUp() override {
    std::string endereco;
    if (TestePostgreSQL()) {
      FBase = AbrirBancoTeste();
      endereco = EnderecoEsquemaTeste(ServidorTeste(), Esquema());
    } else {
      FArquivo = std::filesystem::temp_directory_path() / ("ulmo_dois_usuarios_" + std::to_string(::getpid()) + ".db");
      Remover();
      FBase = TnDMConexao::AbrirSQLite(FArquivo.string());
      endereco = FArquivo.string();
    }
    SetConexao(FBase.get());
    AtualizarEsquema(*FBase);
    ExecutarSQLDireto("insert into TCESISTEMA values (1, 'TCE/SC', 'SC', '9.9.9'), (2, 'TCE/PR', 'PR', '9.9')");
    TOpcoesBanco opcoes;
    opcoes.EsperaBloqueioMs = 200;
    FA = TnDMConexao::Abrir(endereco, opcoes);
    FB = TnDMConexao::Abrir(endereco, opcoes);
    LimparExternalVars();
  }
  void TearDown() override {
    SetConexao(nullptr);
    FA.reset();
    FB.reset();
    FBase.reset();
    if (!FArquivo.empty()) Remover();
  }
  std::string Esquema() {
    SetConexao(FBase.get());
    return ExecutarSQL("select current_schema()")->Fields(0).AsString();
  }
  void Remover() {
    for (const char* s : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(FArquivo.string() + s);
  }
  // The register as one user sees it, on that user's connection.
  std::unique_ptr<TUlmoDMSistema> Abrir(TnDMConexao& usuario) {
    SetConexao(&usuario);
    return CadastrosTest::Abrir<TUlmoDMSistema>();
  }
  static void Editar(TnDMClientDataSet& reg, int codigo, const char* descricao) {
    TClientDataSet& d = reg.nClientDataSet();
    ASSERT_TRUE(d.Locate("CODIGOSISTEMATCE", {TVariant(codigo)}));
    d.Edit();
    d.FieldByName("DESCRSISTEMATCE").SetAsString(descricao);
    d.Post();
  }
  std::string Descricoes() {
    SetConexao(FBase.get());
    return Conteudo("TCESISTEMA");
  }

  std::filesystem::path FArquivo;
  std::unique_ptr<TnDMConexao> FBase, FA, FB;
};

}  // namespace

TEST_F(DoisUsuariosTest, BothAddTheSameCodeAndTheSecondGetsTheRegistersDuplicateMessage) {
  auto a = Abrir(*FA);
  auto b = Abrir(*FB);
  SetConexao(FA.get());
  a->nClientDataSet().Append();
  Preencher(*a, {{"CODIGOSISTEMATCE", "7"}, {"DESCRSISTEMATCE", "TCE/RS de A"}, {"SIGLAESTADO", "RS"}, {"MASCPLANOTCE", "9"}});
  a->nClientDataSet().Post();
  SetConexao(FB.get());
  b->nClientDataSet().Append();
  Preencher(*b, {{"CODIGOSISTEMATCE", "7"}, {"DESCRSISTEMATCE", "TCE/RS de B"}, {"SIGLAESTADO", "RS"}, {"MASCPLANOTCE", "9"}});
  b->nClientDataSet().Post();  // A's row is not stored yet: the register's own check lets it through
  SetConexao(FA.get());
  ASSERT_EQ(a->ApplyUpdates(0), 0) << a->ErrosApplyUpdates().front();
  SetConexao(FB.get());
  ASSERT_EQ(b->ApplyUpdates(0), 1);
  // The same words the register says when it sees the stored row itself.
  auto depois = Abrir(*FB);
  std::string propria = Incluir(*depois, {{"CODIGOSISTEMATCE", "7"}, {"DESCRSISTEMATCE", "x"}, {"SIGLAESTADO", "RS"},
                                          {"MASCPLANOTCE", "9"}});
  EXPECT_EQ(propria.rfind("Registro já cadastrado: ", 0), 0u) << propria;
  EXPECT_EQ(b->ErrosApplyUpdates().front(), propria);
  EXPECT_EQ(Descricoes(), "1|TCE/SC|SC|9.9.9\n2|TCE/PR|PR|9.9\n7|TCE/RS de A|RS|9\n");
}

TEST_F(DoisUsuariosTest, ARowDeletedByOneRefusesTheOthersSaveAndNothingOfItIsKept) {
  auto a = Abrir(*FA);
  auto b = Abrir(*FB);
  SetConexao(FB.get());
  Editar(*b, 2, "PR de B");
  Editar(*b, 1, "SC de B");
  SetConexao(FA.get());
  ASSERT_TRUE(a->nClientDataSet().Locate("CODIGOSISTEMATCE", {TVariant(1)}));
  a->nClientDataSet().Delete();
  ASSERT_EQ(a->ApplyUpdates(0), 0) << a->ErrosApplyUpdates().front();
  SetConexao(FB.get());
  ASSERT_EQ(b->ApplyUpdates(0), 1);
  EXPECT_EQ(b->ErrosApplyUpdates().front(),
            "Registro não encontrado em TCESISTEMA: foi alterado ou excluído por outro usuário.");
  EXPECT_EQ(Descricoes(), "2|TCE/PR|PR|9.9\n");  // B's edit of the other row went back with it
}

// One user's save holds the row (on SQLite, the whole file) past the other's wait.
TEST_F(DoisUsuariosTest, ARowHeldByAnotherSaveRefusesTheSaveInTheRegistersWordsWithNothingKept) {
  auto a = Abrir(*FA);
  SetConexao(FA.get());
  Editar(*a, 2, "PR de A");
  Editar(*a, 1, "SC de A");
  SetConexao(FB.get());
  FB->StartTransaction();
  ExecutarSQLDireto("update TCESISTEMA set DESCRSISTEMATCE = 'SC de B' where CODIGOSISTEMATCE = 1");
  SetConexao(FA.get());
  if (TestePostgreSQL()) {
    ASSERT_EQ(a->ApplyUpdates(0), 1);
    EXPECT_EQ(a->ErrosApplyUpdates().front(),
              "Registro CODIGOSISTEMATCE = 1: outro usuário gravava o mesmo registro ao mesmo tempo, e esta alteração "
              "não foi gravada. Tente de novo.");
  } else {
    try {
      a->ApplyUpdates(0);
      ADD_FAILURE() << "gravou";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Tipo(), TTipoErroBanco::EmUso) << e.what();
    }
  }
  SetConexao(FB.get());
  FB->RollBack();
  EXPECT_EQ(Descricoes(), "1|TCE/SC|SC|9.9.9\n2|TCE/PR|PR|9.9\n");
  // Once the other save ends, the same changes go through.
  SetConexao(FA.get());
  EXPECT_EQ(a->ApplyUpdates(0), 0);
  EXPECT_EQ(Descricoes(), "1|SC de A|SC|9.9.9\n2|PR de A|PR|9.9\n");
}
