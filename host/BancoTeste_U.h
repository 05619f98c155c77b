// A temporary database with the program's schema, set as the current connection for one test
// and removed with it.
#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "Conexao_U.h"

namespace nHost {

class TBancoTeste {
 public:
  explicit TBancoTeste(const std::string& nome = "teste");
  ~TBancoTeste();
  TBancoTeste(const TBancoTeste&) = delete;
  TBancoTeste& operator=(const TBancoTeste&) = delete;

  nFramework::TnDMConexao& Conexao() { return *FConexao; }
  const std::filesystem::path& Caminho() const { return FCaminho; }
  // Runs a script of several statements (fixture rows).
  void Executar(const std::string& sql);

 private:
  std::filesystem::path FCaminho;
  std::unique_ptr<nFramework::TnDMConexao> FConexao;
};

}  // namespace nHost
