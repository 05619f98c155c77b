// The SQLite driver of TnDMConexao, over the C API: foreign keys on, WAL journal, busy timeout.
#include <sqlite3.h>

#include <cstring>

#include "Classes_U.h"
#include "Conexao_U.h"
#include "Exceptions_U.h"

namespace nFramework {

namespace {

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Position just past the parenthesis that closes the one at `open`, skipping literals.
size_t MatchParen(std::string_view s, size_t open) {
  int depth = 0;
  for (size_t i = open; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\'') {
      for (++i; i < s.size() && s[i] != '\''; ++i) {
      }
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return i + 1;
  }
  return std::string_view::npos;
}

// EXTRACT(YEAR|MONTH|DAY FROM x) -> CAST(strftime('%Y', x) AS INTEGER)
std::string TranslateExtract(std::string_view sql) {
  std::string out;
  size_t i = 0;
  while (i < sql.size()) {
    char c = sql[i];
    if (c == '\'') {
      size_t j = i + 1;
      while (j < sql.size() && !(sql[j] == '\'' && (j + 1 >= sql.size() || sql[j + 1] != '\''))) j += sql[j] == '\'' ? 2 : 1;
      out.append(sql.substr(i, j + 1 - i));
      i = j + 1;
      continue;
    }
    if ((i == 0 || !IsIdentChar(sql[i - 1])) && i + 7 <= sql.size() && SameText(sql.substr(i, 7), "EXTRACT")) {
      size_t p = i + 7;
      while (p < sql.size() && sql[p] == ' ') ++p;
      if (p < sql.size() && sql[p] == '(') {
        size_t close = MatchParen(sql, p);
        if (close != std::string_view::npos) {
          std::string inner = Trim(sql.substr(p + 1, close - p - 2));
          size_t sp = inner.find_first_of(" \t\n");
          std::string part = UpperCase(inner.substr(0, sp));
          std::string rest = sp == std::string::npos ? "" : Trim(inner.substr(sp));
          const char* fmt = part == "YEAR" ? "%Y" : part == "MONTH" ? "%m" : part == "DAY" ? "%d" : nullptr;
          if (fmt && rest.size() > 4 && SameText(rest.substr(0, 4), "FROM") && !IsIdentChar(rest[4])) {
            std::string expr = TranslateExtract(Trim(rest.substr(4)));
            out += "CAST(strftime('" + std::string(fmt) + "', " + expr + ") AS INTEGER)";
            i = close;
            continue;
          }
        }
      }
    }
    out += c;
    ++i;
  }
  return out;
}

class TSQLiteStatement : public IStatement {
 public:
  TSQLiteStatement(sqlite3* db, sqlite3_stmt* stmt) : FDb(db), FStmt(stmt) {}
  ~TSQLiteStatement() override { sqlite3_finalize(FStmt); }

  void Bind(int index, const TVariant& v) override {
    if (index > sqlite3_bind_parameter_count(FStmt)) return;  // extra values are ignored
    int rc;
    switch (v.Kind()) {
      case TVarKind::Null: rc = sqlite3_bind_null(FStmt, index); break;
      case TVarKind::Integer:
      case TVarKind::Boolean: rc = sqlite3_bind_int64(FStmt, index, v.AsInt64()); break;
      case TVarKind::Float: rc = sqlite3_bind_double(FStmt, index, v.AsFloat()); break;
      case TVarKind::Currency: {
        Currency c = v.AsCurrency();
        if (c.Raw() % Currency::Scale == 0)
          rc = sqlite3_bind_int64(FStmt, index, c.Raw() / Currency::Scale);
        else
          rc = sqlite3_bind_double(FStmt, index, c.ToDouble());
        break;
      }
      case TVarKind::Date: {
        TDateTime d = v.AsDateTime();
        std::string t = d == DateOf(d) ? DateToISO(d) : DateTimeToISO(d);
        rc = sqlite3_bind_text(FStmt, index, t.c_str(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        break;
      }
      case TVarKind::String: {
        std::string t = v.AsString();
        rc = sqlite3_bind_text(FStmt, index, t.c_str(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        break;
      }
      default: throw EDatabaseError("Valor de parâmetro não suportado");
    }
    Check(rc);
  }
  void ClearBindings() override { sqlite3_clear_bindings(FStmt); }
  bool Step() override {
    int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
      FChanges = sqlite3_changes64(FDb);
      return false;
    }
    std::string msg = sqlite3_errmsg(FDb);
    sqlite3_reset(FStmt);
    throw EDatabaseError("Erro no banco de dados: " + msg + "\nSQL: " + sqlite3_sql(FStmt));
  }
  void Reset() override { sqlite3_reset(FStmt); }
  int ColumnCount() override { return sqlite3_column_count(FStmt); }
  std::string ColumnName(int i) override { return sqlite3_column_name(FStmt, i); }
  std::string ColumnDeclType(int i) override {
    const char* t = sqlite3_column_decltype(FStmt, i);
    return t ? t : "";
  }
  TColumnKind ColumnKind(int i) override {
    switch (sqlite3_column_type(FStmt, i)) {
      case SQLITE_NULL: return TColumnKind::Null;
      case SQLITE_INTEGER: return TColumnKind::Integer;
      case SQLITE_FLOAT: return TColumnKind::Float;
      default: return TColumnKind::Text;
    }
  }
  int64_t ColumnInt64(int i) override { return sqlite3_column_int64(FStmt, i); }
  double ColumnDouble(int i) override { return sqlite3_column_double(FStmt, i); }
  std::string_view ColumnText(int i) override {
    const unsigned char* t = sqlite3_column_text(FStmt, i);
    int n = sqlite3_column_bytes(FStmt, i);
    return t ? std::string_view(reinterpret_cast<const char*>(t), static_cast<size_t>(n)) : std::string_view();
  }
  int64_t Changes() override { return FChanges; }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) throw EDatabaseError(std::string("Erro no banco de dados: ") + sqlite3_errmsg(FDb));
  }
  sqlite3* FDb;
  sqlite3_stmt* FStmt;
  int64_t FChanges = 0;
};

class TSQLiteDriver : public IDriver {
 public:
  explicit TSQLiteDriver(const std::string& path) {
    int rc = sqlite3_open_v2(path.c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
      std::string msg = FDb ? sqlite3_errmsg(FDb) : "sem memória";
      sqlite3_close(FDb);
      throw EDatabaseError("Não foi possível abrir o banco de dados " + path + ": " + msg);
    }
    sqlite3_busy_timeout(FDb, 10000);
    // A memory map and a larger page cache spare the read syscalls of big per-account scans.
    ExecuteScript(
        "PRAGMA foreign_keys = ON; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
        "PRAGMA mmap_size = 4294967296; PRAGMA cache_size = -65536;");
  }
  ~TSQLiteDriver() override {
    // Keeps the planner's statistics current for the tables this connection used, so the
    // per-account entry queries find their indexes after bulk loads.
    sqlite3_exec(FDb, "PRAGMA analysis_limit = 1000; PRAGMA optimize;", nullptr, nullptr, nullptr);
    sqlite3_close_v2(FDb);
  }

  std::string Name() const override { return "SQLite"; }
  std::string TranslateSQL(std::string_view sql) const override { return TranslateExtract(sql); }

  std::unique_ptr<IStatement> Prepare(const std::string& sql) override {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
      throw EDatabaseError("Erro no banco de dados: " + std::string(sqlite3_errmsg(FDb)) + "\nSQL: " + sql);
    return std::make_unique<TSQLiteStatement>(FDb, stmt);
  }

  void ExecuteScript(const std::string& sql) override {
    char* err = nullptr;
    if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      std::string msg = err ? err : "erro desconhecido";
      sqlite3_free(err);
      throw EDatabaseError("Erro no banco de dados: " + msg);
    }
  }
  void Begin(bool write) override { ExecuteScript(write ? "BEGIN IMMEDIATE" : "BEGIN"); }
  void CommitTx() override { ExecuteScript("COMMIT"); }
  void RollbackTx() override {
    if (!sqlite3_get_autocommit(FDb)) ExecuteScript("ROLLBACK");
  }
  void Savepoint(const std::string& name) override { ExecuteScript("SAVEPOINT " + name); }
  void Release(const std::string& name) override { ExecuteScript("RELEASE " + name); }
  void RollbackTo(const std::string& name) override { ExecuteScript("ROLLBACK TO " + name); }

 private:
  sqlite3* FDb = nullptr;
};

}  // namespace

std::unique_ptr<IDriver> CriarDriverSQLite(const std::string& path) { return std::make_unique<TSQLiteDriver>(path); }

}  // namespace nFramework
