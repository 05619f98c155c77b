#include "BancoTeste_U.h"

#include <unistd.h>

#include "BancoVazioTeste_U.h"
#include "Schema_U.h"

namespace nHost {

using namespace nFramework;

TBancoTeste::TBancoTeste(const std::string& nome) {
  static int sequencia = 0;
  FCaminho = std::filesystem::temp_directory_path() /
             ("ulmo_host_" + std::to_string(::getpid()) + "_" + std::to_string(++sequencia) + "_" + nome + ".db");
  std::filesystem::remove(FCaminho);
  FConexao = AbrirBancoTeste(FCaminho.string());
  AtualizarEsquema(*FConexao);
  SetConexao(FConexao.get());
}

TBancoTeste::~TBancoTeste() {
  SetConexao(nullptr);
  FConexao.reset();
  for (const char* sufixo : {"", "-wal", "-shm"}) std::filesystem::remove(FCaminho.string() + sufixo);
}

void TBancoTeste::Executar(const std::string& sql) { FConexao->Driver().ExecuteScript(sql); }

}  // namespace nHost
