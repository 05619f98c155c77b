#include "Demo_U.h"

#include <filesystem>

#include "Conexao_U.h"
#include "DemoCadastros_U.h"
#include "DemoEmpresa_U.h"
#include "DemoEscrituracao_U.h"
#include "Exceptions_U.h"
#include "PostgreSQLDriver_U.h"
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

namespace {

// The PR company's assets as classified for its court (what the asset classification process
// records): land and buildings bought before 2015 as real estate, the rest movable. The
// acquisitions of the second half of the demo year are left for the user to classify.
void GravarClassificacaoBensPR() {
  ExecutarSQLDireto("insert into PATBEMTIPOCATEGORIABEM values (1, 'Bens imóveis'), (2, 'Bens móveis')");
  ExecutarSQLDireto("insert into PATBEMTIPODETALHAMENTOBEM values (101, 'Edificações e terrenos'), "
                    "(201, 'Máquinas, veículos e equipamentos')");
  ExecutarSQLDireto(
      "insert into PATBEMRELACTCE (CODIGOEMPRESA, CODIGOBEM, PROPRIEDADEBEM, NATUREZABEM, IDTIPOCATEGORIABEM, "
      "IDTIPODETALHAMENTOBEM, UTILIZACAOBEM) select P.CODIGOEMPRESA, P.CODIGOBEM, 1, case when P.DATAAQUISICAO < "
      "'2015-01-01' then 2 else 1 end, case when P.DATAAQUISICAO < '2015-01-01' then 1 else 2 end, case when "
      "P.DATAAQUISICAO < '2015-01-01' then 101 else 201 end, 1 from PATBEM P join TCESISTEMAEMPRESA S on "
      "S.CODIGOEMPRESA = P.CODIGOEMPRESA where S.CODIGOSISTEMATCE = 3 and P.DATAAQUISICAO < '2024-06-01'");
}

}  // namespace

void GerarDemo() {
  EmTransacao([] {
    for (const auto& tabela : kTabelas) ExecutarSQLDireto("delete from " + tabela);
    GravarCadastrosDemo();
    for (const auto& empresa : EmpresasDemo()) {
      TPlanoEmpresa plano = GravarEmpresaDemo(empresa);
      TEscrituracaoDemo(empresa, plano).Executar();
    }
    GravarClassificacaoBensPR();
  });
}

void CriarBancoDemo(const std::string& caminho) {
  TnDMConexao* anterior = TemConexao() ? &Conexao() : nullptr;
  if (EnderecoPostgreSQL(caminho)) {  // a server's database: its schema, then the data in one transaction
    auto conexao = TnDMConexao::Abrir(caminho);
    SetConexao(conexao.get());
    try {
      AtualizarEsquema(*conexao);
      GerarDemo();
    } catch (...) {
      SetConexao(anterior);
      throw;
    }
    SetConexao(anterior);
    return;
  }
  std::filesystem::path destino(caminho), novo(caminho + ".novo");
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
