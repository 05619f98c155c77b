// The versioned schema: numbered scripts applied in order to a new or older database, each in
// its own transaction, the version recorded in SCHEMAVERSAO, on SQLite and on PostgreSQL alike.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Conexao_U.h"

namespace nFramework {

struct TSchemaScript {
  int Versao;
  const char* Nome;
  const char* SQL;
};

// The scripts compiled into the program, in version order.
const std::vector<TSchemaScript>& ScriptsEsquema();

int VersaoEsquema(TnDMConexao& conexao);  // 0 for a new database

// Whether the database has the table (any case), and its tables in upper case and name order,
// on either engine.
bool ExisteTabela(TnDMConexao& conexao, const std::string& tabela);
std::vector<std::string> TabelasBanco(TnDMConexao& conexao);
// Applies every script newer than the database's version; returns how many ran. When any ran,
// `depoisConverter` is called after the last one.
int AtualizarEsquema(TnDMConexao& conexao, const std::function<void()>& depoisConverter = {});
int AtualizarEsquema(TnDMConexao& conexao, const std::vector<TSchemaScript>& scripts,
                     const std::function<void()>& depoisConverter = {});

}  // namespace nFramework
