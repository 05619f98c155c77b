#include "Schema_U.h"

#include <algorithm>
#include <fmt/format.h>

#include "Clock_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

void CriarTabelaVersao(TnDMConexao& conexao) {
  conexao.Driver().ExecuteScript(
      "CREATE TABLE IF NOT EXISTS SCHEMAVERSAO (VERSAO INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(100) NOT NULL, "
      "APLICADOEM TIMESTAMP NOT NULL)");
}

}  // namespace

int VersaoEsquema(TnDMConexao& conexao) {
  TnDMConexao* anterior = TemConexao() ? &Conexao() : nullptr;
  SetConexao(&conexao);
  int v = 0;
  try {
    // A read-only file cannot take the version table: one without it has no schema of ours
    // (version 0), which asks for a conversion the file cannot take.
    bool temTabela = !conexao.Driver().SomenteLeitura() ||
                     PegarTemRegistro("sqlite_master", "name", "type = 'table' and upper(name) = 'SCHEMAVERSAO'");
    if (!conexao.Driver().SomenteLeitura()) CriarTabelaVersao(conexao);
    if (temTabela) v = VarToIntDef(PegarValorCampo("SCHEMAVERSAO", "max(VERSAO)", ""), 0);
  } catch (...) {
    SetConexao(anterior);
    throw;
  }
  SetConexao(anterior);
  return v;
}

int AtualizarEsquema(TnDMConexao& conexao, const std::function<void()>& depoisConverter) {
  return AtualizarEsquema(conexao, ScriptsEsquema(), depoisConverter);
}

int AtualizarEsquema(TnDMConexao& conexao, const std::vector<TSchemaScript>& scripts,
                     const std::function<void()>& depoisConverter) {
  int atual = VersaoEsquema(conexao);
  int programa = 0;
  for (const auto& s : scripts) programa = std::max(programa, s.Versao);
  const std::string banco = CitarCaminho(conexao.Driver().Caminho());
  if (atual > programa)
    throw EDatabaseError(fmt::format(
        "O banco de dados \"{}\" está na versão {} do esquema, mais nova que a versão {} deste programa: use a "
        "versão do Ulmo que o converteu, ou uma mais nova.",
        banco, atual, programa));
  std::vector<TSchemaScript> pendentes;
  for (const auto& s : scripts)
    if (s.Versao > atual) pendentes.push_back(s);
  std::sort(pendentes.begin(), pendentes.end(), [](const auto& a, const auto& b) { return a.Versao < b.Versao; });
  if (!pendentes.empty() && conexao.Driver().SomenteLeitura())
    throw EDatabaseError(fmt::format(
        "O banco de dados \"{}\" está na versão {} do esquema e precisa ser convertido para a versão {}, mas está "
        "aberto somente para leitura: abra-o uma vez com permissão de gravação.",
        banco, atual, programa));
  TnDMConexao* anterior = TemConexao() ? &Conexao() : nullptr;
  SetConexao(&conexao);
  try {
    for (const auto& s : pendentes) {
      conexao.StartTransaction();
      try {
        conexao.Driver().ExecuteScript(s.SQL);
        ExecutarSQLDireto("insert into SCHEMAVERSAO (VERSAO, NOME, APLICADOEM) values (:V, :N, :D)",
                          {s.Versao, s.Nome, TVariant(DateTimeToISO(Now()))});
        conexao.Commit();
      } catch (const std::exception& e) {
        conexao.RollBack();
        throw EDatabaseError("Falha ao converter o banco de dados para a versão " + std::to_string(s.Versao) + " (" +
                             s.Nome + "): " + MensagemDeErro(e));
      }
    }
  } catch (...) {
    SetConexao(anterior);
    throw;
  }
  SetConexao(anterior);
  if (!pendentes.empty() && depoisConverter) depoisConverter();
  return static_cast<int>(pendentes.size());
}

}  // namespace nFramework
