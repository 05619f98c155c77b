// The SQLite driver of TnDMConexao, over the C API: foreign keys on, WAL journal, a wait for
// locks; read-only when the file cannot be written. SQLite's own (English) text of a failure
// goes to the debug log; the exception says in Portuguese what failed and on which file.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fmt/format.h>
#include <new>

#include "Classes_U.h"
#include "Conexao_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

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

// What messages need of the connection a statement belongs to.
struct TContextoSQLite {
  std::string Caminho;
  int EsperaBloqueioMs = 0;
  bool SomenteLeitura = false;
};

std::string Espera(int ms) { return ms % 1000 == 0 ? fmt::format("{} s", ms / 1000) : fmt::format("{} ms", ms); }

// The names after "...: " in a constraint message ("UNIQUE constraint failed: T.A, T.B").
std::string Depois(std::string_view texto, std::string_view marca) {
  size_t p = texto.find(marca);
  return p == std::string_view::npos ? std::string() : Trim(texto.substr(p + marca.size()));
}

struct TFalha {
  std::string Mensagem;
  TTipoErroBanco Tipo = TTipoErroBanco::Outro;
};

TFalha MensagemSQLite(int rc, const std::string& texto, const TContextoSQLite& c) {
  using enum TTipoErroBanco;
  const std::string banco = CitarCaminho(c.Caminho);
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return {fmt::format(
                  "O banco de dados está em uso por outro programa ou outra execução do Ulmo: o arquivo \"{}\" "
                  "continuou bloqueado após {} de espera. Tente de novo quando a outra execução terminar (a espera é a "
                  "chave espera_bloqueio_ms da seção [banco] do ulmo.toml).",
                  banco, Espera(c.EsperaBloqueioMs)),
              EmUso};
    case SQLITE_READONLY: return {MensagemBancoSomenteLeitura(c.Caminho), SomenteLeitura};
    case SQLITE_CONSTRAINT: {
      // A trigger's RAISE text is our schema's own words.
      if (rc == SQLITE_CONSTRAINT_TRIGGER) return {"Erro no banco de dados: " + CitarValor(texto)};
      if (std::string n = Depois(texto, "UNIQUE constraint failed:"); !n.empty())
        return {"Já existe um registro com o mesmo valor em " + CitarValor(n) + ".", ChaveDuplicada};
      if (std::string n = Depois(texto, "NOT NULL constraint failed:"); !n.empty())
        return {"O campo " + CitarValor(n) + " não pode ficar vazio.", CampoVazio};
      if (std::string n = Depois(texto, "CHECK constraint failed:"); !n.empty())
        return {"Um valor não atende à regra " + CitarValor(n) + " do banco de dados."};
      if (texto.find("FOREIGN KEY") != std::string::npos)
        return {"O registro está ligado a outro: ou ele é usado em outra tabela, ou aponta para um registro que não "
                "existe.",
                ChaveEstrangeira};
      return {"O registro não atende às regras do banco de dados."};
    }
    case SQLITE_FULL: return {fmt::format("Disco cheio: não foi possível gravar no banco de dados \"{}\".", banco)};
    case SQLITE_IOERR: return {fmt::format("Erro de leitura ou gravação no arquivo do banco de dados \"{}\".", banco)};
    case SQLITE_CORRUPT: return {fmt::format("O arquivo do banco de dados \"{}\" está danificado.", banco)};
    case SQLITE_NOTADB: return {fmt::format("O arquivo \"{}\" não é um banco de dados do Ulmo (SQLite).", banco)};
    case SQLITE_CANTOPEN:
      return {fmt::format("Não foi possível abrir o arquivo do banco de dados \"{}\" (nem os seus arquivos -wal e "
                          "-shm, na mesma pasta).",
                          banco)};
    case SQLITE_PERM:
    case SQLITE_AUTH: return {fmt::format("Permissão negada no banco de dados \"{}\".", banco)};
    case SQLITE_TOOBIG: return {"Um valor é grande demais para o banco de dados."};
    case SQLITE_MISMATCH: return {"Um valor não é do tipo da sua coluna no banco de dados."};
    case SQLITE_INTERRUPT: return {"A operação no banco de dados foi interrompida."};
    case SQLITE_SCHEMA: return {"A estrutura do banco de dados mudou durante a operação: tente de novo."};
    default:
      if (std::string n = Depois(texto, "no such table:"); !n.empty())
        return {fmt::format("A tabela {} não existe no banco de dados \"{}\".", CitarValor(n), banco)};
      if (std::string n = Depois(texto, "no such column:"); !n.empty())
        return {fmt::format("A coluna {} não existe no banco de dados \"{}\".", CitarValor(n), banco)};
      return {"Erro no banco de dados ao executar um comando SQL (os detalhes aparecem com --debug)."};
  }
}

// Raises the failure of the last call on db; SQLite's text and the statement go to the debug log.
[[noreturn]] void Falhar(sqlite3* db, int rc, const TContextoSQLite& c, std::string_view sql = {},
                         const char* texto = nullptr) {
  if ((rc & 0xff) == SQLITE_NOMEM) throw std::bad_alloc();
  std::string t = texto ? texto : db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  int estendido = db ? sqlite3_extended_errcode(db) : rc;
  LogDebug(fmt::format("SQLite {}: {}{}{}", estendido, t, sql.empty() ? "" : " | SQL: ", sql));
  TFalha f = MensagemSQLite(rc, t, c);
  throw EDatabaseError(f.Mensagem, f.Tipo);
}

class TSQLiteStatement : public IStatement {
 public:
  TSQLiteStatement(sqlite3* db, sqlite3_stmt* stmt, const TContextoSQLite& contexto)
      : FDb(db), FStmt(stmt), FContexto(contexto) {}
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
      default: throw EInternalError("valor de parâmetro SQL não suportado");
    }
    if (rc != SQLITE_OK) Falhar(FDb, rc, FContexto, sqlite3_sql(FStmt));
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
    rc = sqlite3_extended_errcode(FDb);
    sqlite3_reset(FStmt);
    Falhar(nullptr, rc, FContexto, sqlite3_sql(FStmt), msg.c_str());
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
  sqlite3* FDb;
  sqlite3_stmt* FStmt;
  const TContextoSQLite& FContexto;
  int64_t FChanges = 0;
};

bool EmMemoria(const std::string& path) { return path.empty() || path == ":memory:" || path.rfind("file:", 0) == 0; }

// Whether this process may write the file and create the journal beside it. A file without any
// write permission counts as read-only for root too, who could write it all the same.
bool Gravavel(const std::filesystem::path& arquivo) {
  struct stat st {};
  if (::stat(arquivo.c_str(), &st) != 0) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  if (::access(arquivo.c_str(), W_OK) != 0) return false;
  std::filesystem::path pasta = arquivo.parent_path();
  if (pasta.empty()) pasta = ".";
  return ::access(pasta.c_str(), W_OK | X_OK) == 0;
}

// "file:" URI of a path, for the read-only openings.
std::string Uri(const std::string& path, const char* consulta) {
  std::string absoluto = std::filesystem::absolute(path).string(), r = "file:";
  for (unsigned char c : absoluto) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') r += static_cast<char>(c);
    else r += fmt::format("%{:02X}", c);
  }
  return r + "?" + consulta;
}

// No memory map: its pages count as the process's own memory, and a year's scan would map the
// whole file; the operating system caches the file anyway, so a read costs one copy of a page.
// A page cache of 8 MiB keeps the upper levels of the indexes that per-account scans descend,
// and bounds what a connection adds to a run's memory; a larger one only costs a long scan the
// allocation of every page it reads. (A bulk load raises it for itself.)
constexpr const char* PragmasMemoria = "PRAGMA mmap_size = 0; PRAGMA cache_size = -8192;";

class TSQLiteDriver : public IDriver {
 public:
  TSQLiteDriver(const std::string& path, const TOpcoesBanco& opcoes) {
    FContexto.Caminho = path;
    FContexto.EsperaBloqueioMs = std::max(0, opcoes.EsperaBloqueioMs);
    std::error_code ec;
    if (!EmMemoria(path)) {
      if (std::filesystem::is_directory(path, ec))
        throw EDatabaseError(fmt::format("O banco de dados \"{}\" é uma pasta, não um arquivo.", CitarCaminho(path)));
      bool existe = std::filesystem::exists(path, ec);
      if (!existe && !opcoes.Criar) throw EBancoInexistente(path);
      FContexto.SomenteLeitura = existe && (opcoes.SomenteLeitura || !Gravavel(path));
    }
    try {
      if (FContexto.SomenteLeitura) {
        AbrirSomenteLeitura(path);
      } else {
        Abrir(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
        ExecuteScript("PRAGMA foreign_keys = ON; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; " +
                      std::string(PragmasMemoria));
      }
    } catch (...) {
      sqlite3_close_v2(FDb);
      throw;
    }
  }
  ~TSQLiteDriver() override {
    // Keeps the planner's statistics current for the tables this connection used, so the
    // per-account entry queries find their indexes after bulk loads.
    if (!FContexto.SomenteLeitura)
      sqlite3_exec(FDb, "PRAGMA analysis_limit = 1000; PRAGMA optimize;", nullptr, nullptr, nullptr);
    sqlite3_close_v2(FDb);
  }

  std::string Name() const override { return "SQLite"; }
  std::string Caminho() const override { return FContexto.Caminho; }
  bool SomenteLeitura() const override { return FContexto.SomenteLeitura; }
  std::string TranslateSQL(std::string_view sql) const override { return TranslateExtract(sql); }

  std::unique_ptr<IStatement> Prepare(const std::string& sql) override {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) Falhar(FDb, rc, FContexto, sql);
    return std::make_unique<TSQLiteStatement>(FDb, stmt, FContexto);
  }

  void ExecuteScript(const std::string& sql) override {
    char* err = nullptr;
    int rc = sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
      std::string msg = err ? err : sqlite3_errstr(rc);
      sqlite3_free(err);
      Falhar(FDb, rc, FContexto, sql, msg.c_str());
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
  void Abrir(const std::string& nome, int flags) {
    int rc = sqlite3_open_v2(nome.c_str(), &FDb, flags, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3* db = FDb;
      FDb = nullptr;
      std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
      sqlite3_close(db);
      Falhar(nullptr, rc, FContexto, {}, msg.c_str());
    }
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_busy_timeout(FDb, FContexto.EsperaBloqueioMs);
  }

  // A write-ahead log needs its -shm file beside the database; on a read-only disk, with no
  // log left behind (the last writer folded it in), the file is read as immutable instead.
  void AbrirSomenteLeitura(const std::string& path) {
    Abrir(Uri(path, "mode=ro"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX);
    int rc = sqlite3_exec(FDb, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    std::error_code ec;
    if ((rc & 0xff) == SQLITE_CANTOPEN && !std::filesystem::exists(path + "-wal", ec)) {
      LogDebug("SQLite: " + std::string(sqlite3_errmsg(FDb)) + "; " + path + " aberto como imutável");
      sqlite3_close_v2(FDb);
      FDb = nullptr;
      Abrir(Uri(path, "immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX);
    } else if (rc != SQLITE_OK) {
      Falhar(FDb, rc, FContexto, "select count(*) from sqlite_master");
    }
    ExecuteScript("PRAGMA foreign_keys = ON; " + std::string(PragmasMemoria));
  }

  sqlite3* FDb = nullptr;
  TContextoSQLite FContexto;
};

}  // namespace

std::unique_ptr<IDriver> CriarDriverSQLite(const std::string& path, const TOpcoesBanco& opcoes) {
  return std::make_unique<TSQLiteDriver>(path, opcoes);
}

}  // namespace nFramework
