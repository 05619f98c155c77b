#include "Schema_U.h"

#include <algorithm>

#include "Clock_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"

namespace nFramework {

namespace {

void CriarTabelaVersao(TnDMConexao& conexao) {
  conexao.Driver().ExecuteScript(
      "CREATE TABLE IF NOT EXISTS SCHEMAVERSAO (VERSAO INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(100) NOT NULL, "
      "APLICADOEM TIMESTAMP NOT NULL)");
}

}  // namespace

int VersaoEsquema(TnDMConexao& conexao) {
  CriarTabelaVersao(conexao);
  TnDMConexao* anterior = TemConexao() ? &Conexao() : nullptr;
  SetConexao(&conexao);
  int v = VarToIntDef(PegarValorCampo("SCHEMAVERSAO", "max(VERSAO)", ""), 0);
  SetConexao(anterior);
  return v;
}

int AtualizarEsquema(TnDMConexao& conexao, const std::function<void()>& depoisConverter) {
  return AtualizarEsquema(conexao, ScriptsEsquema(), depoisConverter);
}

int AtualizarEsquema(TnDMConexao& conexao, const std::vector<TSchemaScript>& scripts,
                     const std::function<void()>& depoisConverter) {
  int atual = VersaoEsquema(conexao);
  std::vector<TSchemaScript> pendentes;
  for (const auto& s : scripts)
    if (s.Versao > atual) pendentes.push_back(s);
  std::sort(pendentes.begin(), pendentes.end(), [](const auto& a, const auto& b) { return a.Versao < b.Versao; });
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
                             s.Nome + "): " + e.what());
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
