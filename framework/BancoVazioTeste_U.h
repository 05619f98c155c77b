// Test support: a fresh empty database for one test. SQLite in memory by default; when
// ULMO_TESTE_PG holds a server's address, a scratch schema of its own on that server (first in
// the connection's search_path, named in the address so a program started by the test finds
// it too), dropped with the connection.
#pragma once
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "Conexao_U.h"
#include "PostgreSQLDriver_U.h"

namespace nFramework {

// The server the suite runs against, or "" for SQLite.
inline std::string ServidorTeste() {
  const char* e = std::getenv("ULMO_TESTE_PG");
  return e && *e ? e : "";
}
inline bool TestePostgreSQL() { return !ServidorTeste().empty(); }

// The address of the server with a schema first in its search_path.
inline std::string EnderecoEsquemaTeste(const std::string& servidor, const std::string& esquema) {
  bool uri = servidor.rfind("postgresql://", 0) == 0 || servidor.rfind("postgres://", 0) == 0;
  if (uri) return servidor + (servidor.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + esquema;
  return servidor + " options='-csearch_path=" + esquema + "'";
}

namespace nBancoTeste {

// Drops the scratch schema when the connection closes.
class TDriverEsquema : public IDriver {
 public:
  TDriverEsquema(std::unique_ptr<IDriver> driver, std::string esquema)
      : FDriver(std::move(driver)), FEsquema(std::move(esquema)) {}
  ~TDriverEsquema() override {
    try {
      FDriver->RollbackTx();
      FDriver->ExecuteScript("DROP SCHEMA IF EXISTS " + FEsquema + " CASCADE");
    } catch (...) {
    }
  }
  std::string Name() const override { return FDriver->Name(); }
  std::string TranslateSQL(std::string_view sql) const override { return FDriver->TranslateSQL(sql); }
  std::unique_ptr<IStatement> Prepare(const std::string& sql) override { return FDriver->Prepare(sql); }
  void ExecuteScript(const std::string& sql) override { FDriver->ExecuteScript(sql); }
  void Begin(bool write) override { FDriver->Begin(write); }
  void CommitTx() override { FDriver->CommitTx(); }
  void RollbackTx() override { FDriver->RollbackTx(); }
  void Savepoint(const std::string& name) override { FDriver->Savepoint(name); }
  void Release(const std::string& name) override { FDriver->Release(name); }
  void RollbackTo(const std::string& name) override { FDriver->RollbackTo(name); }
  std::string Caminho() const override { return FDriver->Caminho(); }
  bool SomenteLeitura() const override { return FDriver->SomenteLeitura(); }

 private:
  std::unique_ptr<IDriver> FDriver;
  std::string FEsquema;
};

}  // namespace nBancoTeste

// A new empty database (no schema scripts applied). `arquivoSQLite`, when given, is the file
// used on SQLite instead of memory (for tests that hand the database to a program they start).
inline std::unique_ptr<TnDMConexao> AbrirBancoTeste(const std::string& arquivoSQLite = ":memory:") {
  std::string servidor = ServidorTeste();
  if (servidor.empty()) return TnDMConexao::AbrirSQLite(arquivoSQLite);
  static std::atomic<int> sequencia{0};
  auto agora = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string esquema = "teste_" + std::to_string(::getpid()) + "_" + std::to_string(++sequencia) + "_" +
                        std::to_string(static_cast<unsigned long long>(agora) % 1000000);
  auto driver = CriarDriverPostgreSQL(EnderecoEsquemaTeste(servidor, esquema));
  driver->ExecuteScript("CREATE SCHEMA " + esquema);
  return std::make_unique<TnDMConexao>(std::make_unique<nBancoTeste::TDriverEsquema>(std::move(driver), esquema));
}

// A trigger that refuses every `momento` ("insert", "update" or "delete") on the table, or only
// the rows that meet `condicao` (over NEW or OLD), with the message: a write failing in the
// database itself, on either engine.
inline void CriarGatilhoFalha(TnDMConexao& conexao, const std::string& nome, const std::string& momento,
                              const std::string& tabela, const std::string& mensagem, const std::string& condicao = "") {
  if (conexao.DriverName() != "PostgreSQL") {
    conexao.Driver().ExecuteScript("create trigger " + nome + " before " + momento + " on " + tabela +
                                   (condicao.empty() ? "" : " when " + condicao) + " begin select raise(abort, '" +
                                   mensagem + "'); end;");
    return;
  }
  conexao.Driver().ExecuteScript("create function " + nome + "_F() returns trigger language plpgsql as $$ begin if " +
                                 (condicao.empty() ? "true" : condicao) + " then raise exception '" + mensagem +
                                 "'; end if; return " + (momento == "delete" ? "OLD" : "NEW") + "; end $$; create trigger " +
                                 nome + " before " + momento + " on " + tabela + " for each row execute function " + nome +
                                 "_F();");
}

inline void RemoverGatilhoFalha(TnDMConexao& conexao, const std::string& nome, const std::string& tabela) {
  if (conexao.DriverName() != "PostgreSQL") conexao.Driver().ExecuteScript("drop trigger " + nome + ";");
  else conexao.Driver().ExecuteScript("drop trigger " + nome + " on " + tabela + "; drop function " + nome + "_F();");
}

}  // namespace nFramework
