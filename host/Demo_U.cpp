#include "Demo_U.h"

#include <filesystem>

#include "Conexao_U.h"
#include "DemoCadastros_U.h"
#include "DemoEmpresa_U.h"
#include "DemoEscrituracao_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "Schema_U.h"

namespace nHost {

using namespace nFramework;

namespace {

// ESTADO is not among them: the schema fills it.
const std::vector<std::string> kTabelas = {
    "TCEESFINGEONLINEENVIO", "CFGEMPRESATCE", "TCESESAGRESPGTO", "TCESESAGRESCONTABANC", "TCESESAGRESRECEITA",
    "TCESESAGRESDESPESA", "TCESESAGRESPATRIMONIO", "PATBEMRELACTCE", "PATBEMTIPOCATEGORIABEM",
    "PATBEMTIPODETALHAMENTOBEM", "TCEPLANOPLESPEC", "TCEORIGEMLCTOCTB", "TCESISTEMAEMPRESA", "TCETIPOCONTACTB",
    "TCETIPOMOVIMCTB", "TCEPLANO", "TCESISTEMA", "DUPLICATAENTPGTO", "DUPLICATAENT", "LCTOFISENTRETIDO",
    "LCTOFISENTCFOP", "LCTOFISENT", "CFOP", "CFGEMPRESAGEM", "SOCIO", "CONTADOR", "PATBEM", "IMPLSALDOCTB", "LCTOCTB",
    "PLANOESPEC", "CFGPLANOESPEC", "ORIGLCTOCTB", "HISTORICOCTB", "AGENCIA", "BANCO", "PESSOA", "ESTAB", "EMPRESA",
    "TIPOLOGRADOURO",
};

// The database's companion files; a stale log beside a new file would be taken as its own.
void RemoverAuxiliares(const std::filesystem::path& caminho) {
  for (const char* sufixo : {"-wal", "-shm", "-journal"}) std::filesystem::remove(caminho.string() + sufixo);
}

}  // namespace

const std::vector<std::string>& TabelasDemo() { return kTabelas; }

void GerarDemo() {
  EmTransacao([] {
    for (const auto& tabela : kTabelas) ExecutarSQLDireto("delete from " + tabela);
    GravarCadastrosDemo();
    for (const auto& empresa : EmpresasDemo()) {
      TPlanoEmpresa plano = GravarEmpresaDemo(empresa);
      TEscrituracaoDemo(empresa, plano).Executar();
    }
  });
}

void CriarBancoDemo(const std::string& caminho) {
  std::filesystem::path destino(caminho), novo(caminho + ".novo");
  TnDMConexao* anterior = TemConexao() ? &Conexao() : nullptr;
  try {
    std::filesystem::remove(novo);
    RemoverAuxiliares(novo);
    {
      auto conexao = TnDMConexao::AbrirSQLite(novo.string());
      SetConexao(conexao.get());
      AtualizarEsquema(*conexao);
      GerarDemo();
      SetConexao(anterior);
    }  // closing the last connection folds the write-ahead log into the file
    RemoverAuxiliares(destino);
    std::filesystem::rename(novo, destino);
  } catch (...) {
    SetConexao(anterior);
    std::error_code ignorado;
    for (const char* sufixo : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(novo.string() + sufixo, ignorado);
    try {
      throw;
    } catch (const std::filesystem::filesystem_error& e) {
      throw EFileError("Não foi possível criar o banco de demonstração " + caminho + ": " + e.what());
    }
  }
}

}  // namespace nHost
