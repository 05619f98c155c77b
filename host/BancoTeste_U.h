// A temporary database with the program's schema, set as the current connection for one test
// and removed with it: a SQLite file, or a schema on the server of ULMO_TESTE_PG.
#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "BancoVazioTeste_U.h"
#include "Conexao_U.h"
#include "Demo_U.h"
#include "Schema_U.h"

namespace nHost {

class TBancoTeste {
 public:
  explicit TBancoTeste(const std::string& nome = "teste");
  ~TBancoTeste();
  TBancoTeste(const TBancoTeste&) = delete;
  TBancoTeste& operator=(const TBancoTeste&) = delete;

  nFramework::TnDMConexao& Conexao() { return *FConexao; }
  const std::filesystem::path& Caminho() const { return FCaminho; }  // the SQLite file
  // What --db takes to reach this database: the file, or the server's address of its schema.
  std::string Endereco() const { return FConexao->Driver().Caminho(); }
  // Runs a script of several statements (fixture rows).
  void Executar(const std::string& sql);

 private:
  std::filesystem::path FCaminho;
  std::unique_ptr<nFramework::TnDMConexao> FConexao;
};

// A new database holding the demo, for one test: the SQLite file named, or a schema on the server
// of ULMO_TESTE_PG. The connection is not made current.
inline std::unique_ptr<nFramework::TnDMConexao> AbrirDemoTeste(const std::string& arquivoSQLite) {
  if (!nFramework::TestePostgreSQL()) {
    CriarBancoDemo(arquivoSQLite);
    return nFramework::TnDMConexao::AbrirSQLite(arquivoSQLite);
  }
  auto conexao = nFramework::AbrirBancoTeste();
  nFramework::TnDMConexao* anterior = nFramework::TemConexao() ? &nFramework::Conexao() : nullptr;
  nFramework::SetConexao(conexao.get());
  nFramework::AtualizarEsquema(*conexao);
  GerarDemo();
  nFramework::SetConexao(anterior);
  return conexao;
}

}  // namespace nHost
