#include "Schema_U.h"

#include <algorithm>
#include <fmt/format.h>

#include "Classes_U.h"
#include "Clock_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

bool PostgreSQL(TnDMConexao& conexao) { return conexao.DriverName() == "PostgreSQL"; }

void CriarTabelaVersao(TnDMConexao& conexao) {
  conexao.Driver().ExecuteScript(
      "CREATE TABLE IF NOT EXISTS SCHEMAVERSAO (VERSAO INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(100) NOT NULL, "
      "APLICADOEM TIMESTAMP NOT NULL)");
  if (PostgreSQL(conexao))
    conexao.Driver().ExecuteScript(
        "CREATE TABLE IF NOT EXISTS SCHEMAFKPENDENTE (TABELA VARCHAR(100) NOT NULL, REFERENCIADA VARCHAR(100) NOT NULL, "
        "DEFINICAO TEXT NOT NULL)");
}

// The statements of a script, without its comments.
std::vector<std::string> Comandos(std::string_view script) {
  std::vector<std::string> r;
  std::string atual;
  for (size_t i = 0; i < script.size(); ++i) {
    char c = script[i];
    if (c == '\'') {
      size_t j = script.find('\'', i + 1);
      j = j == std::string_view::npos ? script.size() - 1 : j;
      atual.append(script.substr(i, j + 1 - i));
      i = j;
    } else if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
      size_t j = script.find('\n', i);
      i = (j == std::string_view::npos ? script.size() : j) - 1;
    } else if (c == ';') {
      if (!Trim(atual).empty()) r.push_back(Trim(atual));
      atual.clear();
    } else {
      atual += c;
    }
  }
  if (!Trim(atual).empty()) r.push_back(Trim(atual));
  return r;
}

struct TChaveEstrangeira {
  std::string Tabela, Referenciada, Definicao;
};

// Takes the foreign keys out of a CREATE TABLE: the server refuses a reference to a table that a
// later script creates (0001's references to the host tables of 0002), where SQLite takes it.
std::string SemChavesEstrangeiras(const std::string& comando, std::vector<TChaveEstrangeira>& chaves) {
  std::string maiusculo = UpperCase(comando);
  if (maiusculo.rfind("CREATE TABLE", 0) != 0) return comando;
  size_t abre = comando.find('(');
  if (abre == std::string::npos) return comando;
  std::string tabela = Trim(comando.substr(12, abre - 12));
  size_t fecha = comando.rfind(')');
  std::vector<std::string> partes;
  int nivel = 0;
  size_t inicio = abre + 1;
  for (size_t i = abre + 1; i < fecha; ++i) {
    if (comando[i] == '(') ++nivel;
    else if (comando[i] == ')') --nivel;
    else if (comando[i] == ',' && nivel == 0) {
      partes.push_back(comando.substr(inicio, i - inicio));
      inicio = i + 1;
    }
  }
  partes.push_back(comando.substr(inicio, fecha - inicio));
  std::string corpo;
  for (const auto& p : partes) {
    std::string t = Trim(p), u = UpperCase(t);
    if (u.rfind("FOREIGN KEY", 0) == 0) {
      size_t ref = u.find("REFERENCES");
      std::string resto = ref == std::string::npos ? "" : Trim(u.substr(ref + 10));
      chaves.push_back({tabela, resto.substr(0, resto.find_first_of(" (")), t});
      continue;
    }
    corpo += (corpo.empty() ? "\n  " : ",\n  ") + t;
  }
  return comando.substr(0, abre + 1) + corpo + "\n" + comando.substr(fecha);
}

// A script on PostgreSQL: its statements without foreign keys, then every key (this script's and
// those left by earlier scripts) whose table exists; the rest wait in SCHEMAFKPENDENTE.
void ExecutarNoPostgreSQL(TnDMConexao& conexao, const TSchemaScript& script) {
  std::vector<TChaveEstrangeira> chaves;
  auto pendentes = ExecutarSQL("select TABELA, REFERENCIADA, DEFINICAO from SCHEMAFKPENDENTE");
  for (pendentes->First(); !pendentes->Eof(); pendentes->Next())
    chaves.push_back({pendentes->FieldByName("TABELA").AsString(), pendentes->FieldByName("REFERENCIADA").AsString(),
                      pendentes->FieldByName("DEFINICAO").AsString()});
  for (const auto& c : Comandos(script.SQL)) conexao.Driver().ExecuteScript(SemChavesEstrangeiras(c, chaves));
  ExecutarSQLDireto("delete from SCHEMAFKPENDENTE");
  for (const auto& c : chaves) {
    if (ExisteTabela(conexao, c.Referenciada))
      conexao.Driver().ExecuteScript("ALTER TABLE " + c.Tabela + " ADD " + c.Definicao);
    else
      ExecutarSQLDireto("insert into SCHEMAFKPENDENTE (TABELA, REFERENCIADA, DEFINICAO) values (:T, :R, :D)",
                        {c.Tabela, c.Referenciada, c.Definicao});
  }
}

}  // namespace

bool ExisteTabela(TnDMConexao& conexao, const std::string& tabela) {
  auto s = conexao.Driver().Prepare(
      PostgreSQL(conexao) ? "select 1 from information_schema.tables where table_schema = current_schema() and "
                            "upper(table_name) = upper($1)"
                          : "select 1 from sqlite_master where type = 'table' and upper(name) = upper(?1)");
  s->Bind(1, tabela);
  bool r = s->Step();
  s->Reset();
  return r;
}

std::vector<std::string> TabelasBanco(TnDMConexao& conexao) {
  auto s = conexao.Driver().Prepare(
      PostgreSQL(conexao) ? "select upper(table_name) from information_schema.tables where table_schema = "
                            "current_schema() and table_type = 'BASE TABLE' order by 1"
                          : "select upper(name) from sqlite_master where type = 'table' and name not like 'sqlite%' "
                            "order by 1");
  std::vector<std::string> r;
  while (s->Step()) r.emplace_back(s->ColumnText(0));
  return r;
}

int VersaoEsquema(TnDMConexao& conexao) {
  TnDMConexao* anterior = TemConexao() ? &Conexao() : nullptr;
  SetConexao(&conexao);
  int v = 0;
  try {
    // A read-only database cannot take the version table: one without it has no schema of ours
    // (version 0), which asks for a conversion it cannot take.
    bool temTabela = !conexao.Driver().SomenteLeitura() || ExisteTabela(conexao, "SCHEMAVERSAO");
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
        if (PostgreSQL(conexao)) ExecutarNoPostgreSQL(conexao, s);
        else conexao.Driver().ExecuteScript(s.SQL);
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
