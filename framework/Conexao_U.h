// TnDMConexao: the program's database connection. Callers speak SQL as the system writes it;
// a driver (SQLite or PostgreSQL) runs it. Transactions: StartTransaction/Commit/RollBack
// for writes, and read-only transactions by identifier that tolerate nesting (a process holds
// RO 1 while a helper it calls opens RO 1 again).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Exceptions_U.h"
#include "Variant_U.h"

namespace nFramework {

// How a database is opened.
struct TOpcoesBanco {
  bool Criar = true;            // a missing file becomes a new database; false: EBancoInexistente
  bool SomenteLeitura = false;  // read-only even when the file could be written
  int EsperaBloqueioMs = 5000;  // how long a statement waits for a lock another program holds
};

// The database file named does not exist (and was not to be created).
class EBancoInexistente : public EDatabaseError {
 public:
  explicit EBancoInexistente(std::string caminho);
  const std::string& Caminho() const { return FCaminho; }

 private:
  std::string FCaminho;
};

// The refusal of a write to a database opened read-only.
std::string MensagemBancoSomenteLeitura(const std::string& caminho);

enum class TColumnKind { Null, Integer, Float, Text };

// One prepared statement of a driver. Parameters are numbered from 1 in order of first appearance.
class IStatement {
 public:
  virtual ~IStatement() = default;
  virtual void Bind(int index, const TVariant& value) = 0;
  virtual void ClearBindings() = 0;
  virtual bool Step() = 0;  // true while a row is available
  virtual void Reset() = 0;
  virtual int ColumnCount() = 0;
  virtual std::string ColumnName(int i) = 0;
  virtual std::string ColumnDeclType(int i) = 0;  // "" for expressions
  virtual TColumnKind ColumnKind(int i) = 0;
  virtual int64_t ColumnInt64(int i) = 0;
  virtual double ColumnDouble(int i) = 0;
  virtual std::string_view ColumnText(int i) = 0;
  virtual int64_t Changes() = 0;  // rows changed by the last Step of a write
};

class IDriver {
 public:
  virtual ~IDriver() = default;
  virtual std::string Name() const = 0;
  // Rewrites the constructs this engine lacks; placeholders come as ?NNN (1-based).
  virtual std::string TranslateSQL(std::string_view sql) const = 0;
  virtual std::unique_ptr<IStatement> Prepare(const std::string& sql) = 0;
  // A script of several statements, without parameters.
  virtual void ExecuteScript(const std::string& sql) = 0;
  virtual void Begin(bool write) = 0;
  virtual void CommitTx() = 0;
  virtual void RollbackTx() = 0;
  virtual void Savepoint(const std::string& name) = 0;
  virtual void Release(const std::string& name) = 0;
  virtual void RollbackTo(const std::string& name) = 0;
  // The database as messages name it (a file's path, a server's address, never with a password).
  virtual std::string Caminho() const = 0;
  // Opened read-only: every write is refused.
  virtual bool SomenteLeitura() const = 0;
};

// A file that exists but cannot be written (no write permission, a read-only disk, a folder
// where the journal cannot be created) is opened read-only. Raises EBancoInexistente for a
// missing file unless opcoes.Criar, and EDatabaseError in Portuguese for anything else.
std::unique_ptr<IDriver> CriarDriverSQLite(const std::string& path, const TOpcoesBanco& opcoes = {});

// Named parameters (":NAME") of a statement, in order of first appearance; a repeated name is one
// parameter. The text comes back with each parameter replaced by ?N.
struct TSQLParametrizado {
  std::string Texto;
  std::vector<std::string> Nomes;
};
TSQLParametrizado ParametrizarSQL(std::string_view sql);

// Where the literal or quoted name that opens at inicio (a ' or ") ends: just past its closing
// quote, a doubled quote staying inside; the end of the text when it is never closed.
size_t FimCitacaoSQL(std::string_view sql, size_t inicio);

class TnDMConexao {
 public:
  explicit TnDMConexao(std::unique_ptr<IDriver> driver);
  ~TnDMConexao();
  static std::unique_ptr<TnDMConexao> AbrirSQLite(const std::string& path, const TOpcoesBanco& opcoes = {});
  // The database an address names: a PostgreSQL server for postgresql://, postgres:// or libpq's
  // "host=... dbname=..." form, a SQLite file for anything else.
  static std::unique_ptr<TnDMConexao> Abrir(const std::string& endereco, const TOpcoesBanco& opcoes = {});

  IDriver& Driver() { return *FDriver; }
  const std::string& DriverName() const { return FDriverName; }

  // Raises MensagemBancoSomenteLeitura on a read-only database.
  void StartTransaction();
  void Commit();
  void RollBack();
  bool InTransaction() const;

  void StartTransactionRO(int id = 1);
  void CommitRO(int id = 1);
  void RollBackRO(int id = 1);

  // A prepared statement for the SQL text (named parameters allowed), kept for reuse.
  struct TPrepared {
    std::unique_ptr<IStatement> Stmt;
    std::vector<std::string> Nomes;
  };
  TPrepared& Preparar(std::string_view sql);

 private:
  struct TFrame {
    bool Write = false;
    int Id = 0;
    int Count = 1;  // nested opens of the same read-only id
    bool OwnsBegin = false;
    std::string SavepointName;
  };
  void BeginRead();
  std::unique_ptr<IDriver> FDriver;
  std::string FDriverName;
  std::vector<TFrame> FFrames;
  int FSavepointSeq = 0;
  bool FReadOpen = false;  // a driver transaction opened for read-only frames
  std::unordered_map<std::string, std::unique_ptr<TPrepared>> FCache;
};

// A read-only transaction held for a scope: opened on construction, committed when the scope
// ends however it ends (a read has nothing to undo).
class TTransacaoRO {
 public:
  explicit TTransacaoRO(TnDMConexao& conexao, int id = 1) : FConexao(conexao), FId(id) { FConexao.StartTransactionRO(FId); }
  ~TTransacaoRO() {
    try {
      FConexao.CommitRO(FId);
    } catch (...) {
    }
  }
  TTransacaoRO(const TTransacaoRO&) = delete;
  TTransacaoRO& operator=(const TTransacaoRO&) = delete;

 private:
  TnDMConexao& FConexao;
  int FId;
};

// The connection the program works on. Raises when none is open.
TnDMConexao& Conexao();
bool TemConexao();
void SetConexao(TnDMConexao* conexao);

}  // namespace nFramework
