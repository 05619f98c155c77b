#include "PostgreSQLDriver_U.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fmt/format.h>
#include <new>
#include <utility>
#include <deque>
#include <optional>
#include <vector>

#include "Classes_U.h"
#include "Conexao_U.h"
#include "DateUtils_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace {

// Type OIDs of pg_type that the driver maps (stable across server versions).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kBpchar = 1042, kVarchar = 1043, kDate = 1082, kTime = 1083, kTimestamp = 1114, kTimestamptz = 1184,
              kNumeric = 1700;

bool Comeca(std::string_view s, std::string_view prefixo) {
  return s.size() >= prefixo.size() && SameText(s.substr(0, prefixo.size()), prefixo);
}

// The keywords libpq takes in its "key=value" form.
bool PalavraConexao(std::string_view nome) {
  static const char* const kPalavras[] = {"host", "hostaddr", "port", "dbname", "user", "password", "passfile",
                                          "service", "sslmode", "options", "connect_timeout", "application_name",
                                          "client_encoding", "target_session_attrs", "sslrootcert", "sslcert",
                                          "sslkey", "gssencmode", "channel_binding", "keepalives"};
  for (const char* p : kPalavras)
    if (nome == p) return true;
  return false;
}

struct TContextoPG {
  std::string Endereco;
  bool SomenteLeitura = false;
  int EsperaBloqueioMs = 0;
};

struct TFalha {
  std::string Mensagem;
  TTipoErroBanco Tipo = TTipoErroBanco::Outro;
};

// The text between the first pair of double quotes ('relation "planoespec" does not exist').
std::string EntreAspas(std::string_view texto) {
  size_t a = texto.find('"');
  if (a == std::string_view::npos) return {};
  size_t b = texto.find('"', a + 1);
  return b == std::string_view::npos ? std::string() : std::string(texto.substr(a + 1, b - a - 1));
}

// The columns of a key in a server's detail ("Key (codigoempresa, contactb)=(1, 10) already exists.").
std::string ColunasChave(std::string_view detalhe, const std::string& tabela) {
  size_t a = detalhe.find('(');
  size_t b = detalhe.find(")=");
  if (a == std::string_view::npos || b == std::string_view::npos || b < a) return UpperCase(tabela);
  std::string r;
  std::string_view colunas = detalhe.substr(a + 1, b - a - 1);
  while (!colunas.empty()) {
    size_t v = colunas.find(',');
    std::string c = Trim(colunas.substr(0, v));
    colunas = v == std::string_view::npos ? std::string_view() : colunas.substr(v + 1);
    if (!r.empty()) r += ", ";
    r += UpperCase(tabela.empty() ? c : tabela + "." + c);
  }
  return r;
}

std::string Campo(const PGresult* r, int campo) {
  const char* t = r ? PQresultErrorField(r, campo) : nullptr;
  return t ? t : "";
}

TFalha MensagemPG(const std::string& estado, const PGresult* r, const TContextoPG& c) {
  using enum TTipoErroBanco;
  const std::string banco = CitarCaminho(c.Endereco);
  const std::string primaria = Campo(r, PG_DIAG_MESSAGE_PRIMARY);
  const std::string tabela = Campo(r, PG_DIAG_TABLE_NAME);
  const std::string coluna = Campo(r, PG_DIAG_COLUMN_NAME);
  const std::string classe = estado.substr(0, std::min<size_t>(2, estado.size()));
  if (estado == "P0001") return {"Erro no banco de dados: " + CitarValor(primaria)};  // our trigger's own words
  if (estado == "23505")
    return {"Já existe um registro com o mesmo valor em " +
                CitarValor(ColunasChave(Campo(r, PG_DIAG_MESSAGE_DETAIL), tabela)) + ".",
            ChaveDuplicada};
  if (estado == "23502")
    return {"O campo " + CitarValor(UpperCase(tabela.empty() ? coluna : tabela + "." + coluna)) +
                " não pode ficar vazio.",
            CampoVazio};
  if (estado == "23514")
    return {"Um valor não atende à regra " + CitarValor(UpperCase(Campo(r, PG_DIAG_CONSTRAINT_NAME))) +
            " do banco de dados."};
  if (estado == "23503")
    return {"O registro está ligado a outro: ou ele é usado em outra tabela, ou aponta para um registro que não "
            "existe.",
            ChaveEstrangeira};
  if (classe == "23") return {"O registro não atende às regras do banco de dados."};
  if (estado == "40001" || estado == "40P01")
    return {fmt::format("O registro foi alterado ao mesmo tempo por outra execução ou outro usuário no banco de dados "
                        "\"{}\": nada desta operação foi gravado. Tente de novo.",
                        banco),
            Conflito};
  if (estado == "55P03")
    return {fmt::format("Um registro do banco de dados \"{}\" continuou bloqueado por outra execução ou outro usuário "
                        "após {} ms de espera. Tente de novo quando a outra execução terminar (a espera é a chave "
                        "espera_bloqueio_ms da seção [banco] do ulmo.toml).",
                        banco, c.EsperaBloqueioMs),
            EmUso};
  if (estado == "25006")
    return {fmt::format("O banco de dados \"{}\" está aberto somente para leitura (a conexão, ou o servidor, não "
                        "aceita gravações): nada foi gravado.",
                        banco),
            SomenteLeitura};
  if (estado == "25P02")
    return {"Um comando anterior falhou nesta transação do banco de dados: nada dela foi gravado."};
  if (estado == "42P01")
    return {fmt::format("A tabela {} não existe no banco de dados \"{}\".", CitarValor(UpperCase(EntreAspas(primaria))),
                        banco)};
  if (estado == "42703") {
    std::string n = EntreAspas(primaria);
    if (n.empty()) n = Trim(primaria.substr(std::min(primaria.size(), size_t{7}), primaria.find(" does") - 7));
    return {fmt::format("A coluna {} não existe no banco de dados \"{}\".", CitarValor(UpperCase(n)), banco)};
  }
  if (estado == "42501" || classe == "28")
    return {fmt::format("Permissão negada no banco de dados \"{}\": o usuário da conexão não tem acesso a esta "
                        "operação.",
                        banco)};
  if (estado == "22001") return {"Um texto é maior que o tamanho da sua coluna no banco de dados."};
  if (estado == "22003") return {"Um valor é grande demais para o banco de dados."};
  if (estado == "22012") return {"Divisão por zero num comando do banco de dados."};
  if (classe == "22") return {"Um valor não é do tipo da sua coluna no banco de dados."};
  if (classe == "53")
    return {fmt::format("O servidor do banco de dados \"{}\" está sem recursos (disco, memória ou conexões).", banco)};
  if (estado == "57014")
    return {fmt::format("O servidor do banco de dados \"{}\" cancelou um comando que passou do tempo limite "
                        "(statement_timeout) ou que o administrador interrompeu: nada desta operação foi gravado.",
                        banco)};
  if (classe == "08" || classe == "57")
    return {fmt::format("A conexão com o servidor do banco de dados \"{}\" foi interrompida.", banco)};
  if (classe == "3F")
    return {fmt::format("O banco de dados \"{}\" não tem o esquema que o endereço pede, ou o usuário da conexão não "
                        "tem acesso a ele (confira o search_path do endereço e as permissões do usuário no servidor).",
                        banco)};
  if (classe == "3D") return {fmt::format("O banco de dados \"{}\" não existe no servidor.", banco)};
  return {"Erro no banco de dados ao executar um comando SQL (os detalhes aparecem com --debug)."};
}

// Raises the failure of a result (or of the connection, when there is no result); the server's
// text and the statement go to the debug log.
[[noreturn]] void Falhar(PGconn* conn, const PGresult* r, const TContextoPG& c, std::string_view sql = {}) {
  std::string estado = Campo(r, PG_DIAG_SQLSTATE);
  std::string texto = r ? PQresultErrorMessage(r) : "";
  if (texto.empty() && conn) texto = PQerrorMessage(conn);
  if (estado.empty() && conn && PQstatus(conn) == CONNECTION_BAD) estado = "08000";
  LogDebug(fmt::format("PostgreSQL {}: {}{}{}", estado, Trim(texto), sql.empty() ? "" : " | SQL: ", sql));
  if (r && PQresultStatus(r) == PGRES_FATAL_ERROR && estado.empty() && texto.find("out of memory") != std::string::npos)
    throw std::bad_alloc();
  TFalha f = MensagemPG(estado, r, c);
  throw EDatabaseError(f.Mensagem, f.Tipo);
}

struct TResultado {
  PGresult* R = nullptr;
  TResultado() = default;
  explicit TResultado(PGresult* r) : R(r) {}
  ~TResultado() { PQclear(R); }
  TResultado(const TResultado&) = delete;
  TResultado& operator=(const TResultado&) = delete;
  TResultado(TResultado&& o) noexcept : R(o.R) { o.R = nullptr; }
  TResultado& operator=(TResultado&& o) noexcept {
    std::swap(R, o.R);
    return *this;
  }
};

bool Falhou(const PGresult* r) {
  if (!r) return true;
  auto s = PQresultStatus(r);
  return s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK && s != PGRES_SINGLE_TUPLE && s != PGRES_EMPTY_QUERY;
}

std::string TextoDouble(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  return fmt::format("{}", d);
}

// The timestamp as SQLite keeps it: milliseconds always, three digits.
void NormalizarTimestamp(std::string_view t, std::string& saida) {
  saida.assign(t.substr(0, std::min<size_t>(t.size(), 19)));
  std::string ms = "000";
  if (t.size() > 20 && t[19] == '.')
    for (size_t i = 0; i < 3 && 20 + i < t.size() && std::isdigit(static_cast<unsigned char>(t[20 + i])); ++i)
      ms[i] = t[20 + i];
  if (saida.size() == 19) saida += "." + ms;
}

std::string DeclaracaoTipo(Oid tipo, int mod, bool daTabela) {
  if (!daTabela) return "";  // an expression: its values decide, as on SQLite
  switch (tipo) {
    case kNumeric: {
      if (mod < 4) return "NUMERIC";
      int m = mod - 4;
      return fmt::format("NUMERIC({},{})", (m >> 16) & 0xffff, m & 0xffff);
    }
    case kBool: return "BOOLEAN";
    case kInt2: return "SMALLINT";
    case kInt4: return "INTEGER";
    case kInt8: return "BIGINT";
    case kOid: return "BIGINT";
    case kFloat4:
    case kFloat8: return "DOUBLE PRECISION";
    case kText: return "TEXT";
    case kVarchar: return mod >= 4 ? fmt::format("VARCHAR({})", mod - 4) : "VARCHAR";
    case kBpchar: return mod >= 4 ? fmt::format("CHAR({})", mod - 4) : "CHAR";
    case kDate: return "DATE";
    case kTime: return "TIME";
    case kTimestamp:
    case kTimestamptz: return "TIMESTAMP";
    default: return "";
  }
}

class TPostgreSQLDriver;

class TPGStatement : public IStatement {
 public:
  TPGStatement(TPostgreSQLDriver& driver, std::string nome, std::string sql, TResultado descricao);
  ~TPGStatement() override;

  void Bind(int index, const TVariant& v) override {
    if (index < 1 || index > static_cast<int>(FValores.size())) return;  // extra values are ignored
    auto& slot = FValores[static_cast<size_t>(index - 1)];
    switch (v.Kind()) {
      case TVarKind::Null: slot.reset(); return;
      case TVarKind::Integer: slot = std::to_string(v.AsInt64()); return;
      case TVarKind::Boolean: slot = v.AsBoolean() ? "1" : "0"; return;
      case TVarKind::Float: slot = TextoDouble(v.AsFloat()); return;
      case TVarKind::Currency: slot = v.AsCurrency().ToString(); return;
      case TVarKind::Date: {
        TDateTime d = v.AsDateTime();
        slot = d == DateOf(d) ? DateToISO(d) : DateTimeToISO(d);
        return;
      }
      case TVarKind::String: slot = v.AsString(); return;
      default: throw EInternalError("valor de parâmetro SQL não suportado");
    }
  }
  void ClearBindings() override {
    for (auto& v : FValores) v.reset();
  }
  bool Step() override;
  void Reset() override {
    Encerrar();
    FResultado = TResultado();
    FExecutado = false;
    FLinha = -1;
  }
  // Reads what the server still has to send of this query into memory, so that the connection
  // can take another command; the rows are then served from there.
  void Guardar();
  int ColumnCount() override { return PQnfields(Descricao()); }
  std::string ColumnName(int i) override { return UpperCase(PQfname(Descricao(), i)); }
  std::string ColumnDeclType(int i) override {
    const PGresult* d = Descricao();
    return DeclaracaoTipo(PQftype(d, i), PQfmod(d, i), PQftable(d, i) != InvalidOid);
  }
  TColumnKind ColumnKind(int i) override {
    if (!FResultado.R || FLinha < 0 || PQgetisnull(FResultado.R, FLinha, i)) return TColumnKind::Null;
    switch (PQftype(FResultado.R, i)) {
      case kBool:
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid: return TColumnKind::Integer;
      case kFloat4:
      case kFloat8: return TColumnKind::Float;
      case kNumeric:
        // A sum or a product is a number of its own value, as SQLite gives it: whole or not.
        if (PQftable(FResultado.R, i) == InvalidOid) {
          const char* t = PQgetvalue(FResultado.R, FLinha, i);
          size_t n = static_cast<size_t>(PQgetlength(FResultado.R, FLinha, i));
          return std::strpbrk(t, ".eEN") || n > 18 ? TColumnKind::Float : TColumnKind::Integer;
        }
        return TColumnKind::Text;
      default: return TColumnKind::Text;
    }
  }
  int64_t ColumnInt64(int i) override {
    if (ColumnKind(i) == TColumnKind::Null) return 0;
    const char* t = PQgetvalue(FResultado.R, FLinha, i);
    if (PQftype(FResultado.R, i) == kBool) return *t == 't' ? 1 : 0;
    return std::strtoll(t, nullptr, 10);
  }
  double ColumnDouble(int i) override {
    if (ColumnKind(i) == TColumnKind::Null) return 0;
    const char* t = PQgetvalue(FResultado.R, FLinha, i);
    if (PQftype(FResultado.R, i) == kBool) return *t == 't' ? 1 : 0;
    return std::strtod(t, nullptr);
  }
  std::string_view ColumnText(int i) override {
    if (ColumnKind(i) == TColumnKind::Null) return {};
    std::string_view t(PQgetvalue(FResultado.R, FLinha, i), static_cast<size_t>(PQgetlength(FResultado.R, FLinha, i)));
    switch (PQftype(FResultado.R, i)) {
      case kBool: return t == "t" ? "1" : "0";
      case kBpchar:
        while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
        return t;
      case kTimestamp: {
        if (FTextos.size() < static_cast<size_t>(ColumnCount())) FTextos.resize(static_cast<size_t>(ColumnCount()));
        std::string& s = FTextos[static_cast<size_t>(i)];
        NormalizarTimestamp(t, s);
        return s;
      }
      default: return t;
    }
  }
  int64_t Changes() override { return FMudancas; }

 private:
  const PGresult* Descricao() const { return FResultado.R ? FResultado.R : FDescricao.R; }
  bool ProximoBloco();
  void Encerrar();  // what the server still sends of this query is read and dropped

  TPostgreSQLDriver& FDriver;
  std::string FNome, FSQL;
  TResultado FDescricao, FResultado;
  std::vector<std::optional<std::string>> FValores;
  std::vector<std::string> FTextos;
  bool FExecutado = false;
  int FLinha = -1;
  int64_t FMudancas = 0;
  // A query's rows come one at a time (single-row mode), so a year's scan does not sit in
  // memory at once; FNoServidor while the server has more of them to send.
  bool FNoServidor = false;
  std::deque<TResultado> FGuardados;
};

class TPostgreSQLDriver : public IDriver {
 public:
  TPostgreSQLDriver(const std::string& endereco, const TOpcoesBanco& opcoes) {
    FContexto.Endereco = endereco;
    FContexto.EsperaBloqueioMs = std::max(0, opcoes.EsperaBloqueioMs);
    FContexto.SomenteLeitura = opcoes.SomenteLeitura;
    VerificarEndereco(endereco);
    FConn = PQconnectdb(endereco.c_str());
    if (!FConn) throw std::bad_alloc();
    if (PQstatus(FConn) != CONNECTION_OK) {
      std::string texto = Trim(PQerrorMessage(FConn));
      bool pedeSenha = PQconnectionNeedsPassword(FConn);
      PQfinish(FConn);
      FConn = nullptr;
      LogDebug("PostgreSQL: " + texto);
      const std::string banco = CitarCaminho(endereco);
      if (texto.find("does not exist") != std::string::npos && texto.find("database") != std::string::npos)
        throw EBancoInexistente(endereco);
      if (pedeSenha || texto.find("password authentication failed") != std::string::npos)
        throw EDatabaseError(fmt::format(
            "O servidor do banco de dados \"{}\" recusou a senha, ou pede uma que não foi informada: a senha vem da "
            "variável PGPASSWORD ou do arquivo ~/.pgpass, nunca do endereço.",
            banco));
      if (texto.find("no pg_hba.conf entry") != std::string::npos || texto.find("role") != std::string::npos)
        throw EDatabaseError(
            fmt::format("O servidor do banco de dados \"{}\" recusou a conexão deste usuário.", banco));
      throw EDatabaseError(fmt::format(
          "Não foi possível conectar ao servidor do banco de dados \"{}\": o servidor não respondeu, ou o endereço "
          "está errado (os detalhes aparecem com --debug).",
          banco));
    }
    PQsetNoticeProcessor(FConn, [](void*, const char* m) { LogDebug(std::string("PostgreSQL: ") + m); }, nullptr);
    try {
      ExecuteScript(fmt::format(
          "SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, YMD'; SET lock_timeout = {}; "
          "SET default_transaction_read_only = {}",
          FContexto.EsperaBloqueioMs, FContexto.SomenteLeitura ? "on" : "off"));
    } catch (...) {
      PQfinish(FConn);
      throw;
    }
  }
  ~TPostgreSQLDriver() override { PQfinish(FConn); }

  std::string Name() const override { return "PostgreSQL"; }
  std::string Caminho() const override { return FContexto.Endereco; }
  bool SomenteLeitura() const override { return FContexto.SomenteLeitura; }
  std::string TranslateSQL(std::string_view sql) const override { return TraduzirSQLPostgreSQL(sql); }

  std::unique_ptr<IStatement> Prepare(const std::string& sql) override {
    Liberar();
    DescartarPendentes();
    std::string nome = "ulmo" + std::to_string(++FSequencia);
    TResultado r(PQprepare(FConn, nome.c_str(), sql.c_str(), 0, nullptr));
    if (Falhou(r.R)) Falhar(FConn, r.R, FContexto, sql);
    TResultado d(PQdescribePrepared(FConn, nome.c_str()));
    if (Falhou(d.R)) Falhar(FConn, d.R, FContexto, sql);
    return std::make_unique<TPGStatement>(*this, std::move(nome), sql, std::move(d));
  }

  void ExecuteScript(const std::string& sql) override {
    Liberar();
    TResultado r(PQexec(FConn, sql.c_str()));
    if (Falhou(r.R)) Falhar(FConn, r.R, FContexto, sql);
  }
  // A read sees one state of the database from its first statement to its end, as a SQLite
  // read transaction does.
  void Begin(bool write) override {
    FEscrita = write;
    ExecuteScript(write ? "BEGIN" : "BEGIN; SET TRANSACTION ISOLATION LEVEL REPEATABLE READ; SET TRANSACTION READ ONLY");
  }
  void CommitTx() override {
    Liberar();
    // A COMMIT of a transaction in which a statement failed is a silent ROLLBACK on the server.
    if (PQtransactionStatus(FConn) == PQTRANS_INERROR) {
      RollbackTx();
      if (!FEscrita) return;  // a read has nothing to keep
      throw EDatabaseError("Um comando anterior falhou nesta transação do banco de dados: nada dela foi gravado.");
    }
    ExecuteScript("COMMIT");
    DescartarPendentes();
  }
  void RollbackTx() override {
    Liberar();
    auto s = PQtransactionStatus(FConn);
    if (s == PQTRANS_INTRANS || s == PQTRANS_INERROR) ExecuteScript("ROLLBACK");
    DescartarPendentes();
  }
  void Savepoint(const std::string& name) override { ExecuteScript("SAVEPOINT " + name); }
  void Release(const std::string& name) override { ExecuteScript("RELEASE SAVEPOINT " + name); }
  void RollbackTo(const std::string& name) override { ExecuteScript("ROLLBACK TO SAVEPOINT " + name); }

  PGconn* Conn() { return FConn; }
  const TContextoPG& Contexto() const { return FContexto; }

  // One query at a time streams on a connection; any other command first sets its rest aside.
  void Liberar() {
    if (TPGStatement* s = std::exchange(FEmCurso, nullptr)) s->Guardar();
  }
  void EmCurso(TPGStatement* s) { FEmCurso = s; }
  void Terminou(const TPGStatement* s) {
    if (FEmCurso == s) FEmCurso = nullptr;
  }

  // A statement dropped while a failed transaction refuses every command is deallocated later.
  void Descartar(const std::string& nome) {
    if (!FConn) return;
    Liberar();
    if (PQtransactionStatus(FConn) == PQTRANS_INERROR || PQstatus(FConn) != CONNECTION_OK) {
      FPendentes.push_back(nome);
      return;
    }
    PQclear(PQexec(FConn, ("DEALLOCATE " + nome).c_str()));
  }

 private:
  void DescartarPendentes() {
    if (FPendentes.empty() || PQtransactionStatus(FConn) == PQTRANS_INERROR) return;
    std::string sql;
    for (const auto& n : FPendentes) sql += "DEALLOCATE " + n + ";";
    FPendentes.clear();
    PQclear(PQexec(FConn, sql.c_str()));
  }

  static void VerificarEndereco(const std::string& endereco) {
    char* erro = nullptr;
    PQconninfoOption* opcoes = PQconninfoParse(endereco.c_str(), &erro);
    if (!opcoes) {
      std::string texto = erro ? erro : "";
      PQfreemem(erro);
      LogDebug("PostgreSQL: " + Trim(texto));
      throw EDatabaseError(
          "O endereço do banco de dados não é válido: use postgresql://usuario@servidor:porta/banco, ou a forma "
          "\"host=servidor dbname=banco\" (os detalhes aparecem com --debug).");
    }
    bool senha = false;
    for (PQconninfoOption* o = opcoes; o->keyword; ++o)
      if (std::strcmp(o->keyword, "password") == 0 && o->val && *o->val) senha = true;
    PQconninfoFree(opcoes);
    if (senha)
      throw EDatabaseError(
          "O endereço do banco de dados traz uma senha, e a senha não vai no endereço: informe-a na variável "
          "PGPASSWORD ou no arquivo ~/.pgpass e tire-a do endereço.");
  }

  PGconn* FConn = nullptr;
  TContextoPG FContexto;
  int FSequencia = 0;
  bool FEscrita = false;
  std::vector<std::string> FPendentes;
  TPGStatement* FEmCurso = nullptr;
};

TPGStatement::TPGStatement(TPostgreSQLDriver& driver, std::string nome, std::string sql, TResultado descricao)
    : FDriver(driver), FNome(std::move(nome)), FSQL(std::move(sql)), FDescricao(std::move(descricao)) {
  FValores.resize(static_cast<size_t>(std::max(0, PQnparams(FDescricao.R))));
}

TPGStatement::~TPGStatement() {
  Encerrar();
  FDriver.Descartar(FNome);
}

void TPGStatement::Guardar() {
  while (FNoServidor) {
    TResultado r(PQgetResult(FDriver.Conn()));
    if (!r.R) {
      FNoServidor = false;
      break;
    }
    if (Falhou(r.R) || PQntuples(r.R) > 0) FGuardados.push_back(std::move(r));
  }
}

void TPGStatement::Encerrar() {
  FDriver.Terminou(this);
  while (FNoServidor) {
    TResultado r(PQgetResult(FDriver.Conn()));
    if (!r.R) FNoServidor = false;
  }
  FGuardados.clear();
}

// The next result with rows, set aside or from the server; false at the end. A failure that
// came instead of rows is raised here, after the server has nothing more to send.
bool TPGStatement::ProximoBloco() {
  for (;;) {
    TResultado r;
    if (!FGuardados.empty()) {
      r = std::move(FGuardados.front());
      FGuardados.pop_front();
    } else if (FNoServidor) {
      r = TResultado(PQgetResult(FDriver.Conn()));
      if (!r.R) {
        FNoServidor = false;
        FDriver.Terminou(this);
        continue;
      }
    } else {
      FResultado = TResultado();
      FLinha = -1;
      return false;
    }
    if (Falhou(r.R)) {
      Encerrar();
      FResultado = TResultado();
      FLinha = -1;
      Falhar(FDriver.Conn(), r.R, FDriver.Contexto(), FSQL);
    }
    if (PQntuples(r.R) > 0) {
      FResultado = std::move(r);
      FLinha = 0;
      return true;
    }
    const char* n = PQcmdTuples(r.R);  // the closing result of the rows
    if (n && *n) FMudancas = std::strtoll(n, nullptr, 10);
  }
}

bool TPGStatement::Step() {
  if (!FExecutado) {
    std::vector<const char*> valores;
    valores.reserve(FValores.size());
    for (const auto& v : FValores) valores.push_back(v ? v->c_str() : nullptr);
    if (PQnfields(FDescricao.R) > 0) {  // a query: its rows stream
      FDriver.Liberar();
      FResultado = TResultado();
      FMudancas = 0;
      if (!PQsendQueryPrepared(FDriver.Conn(), FNome.c_str(), static_cast<int>(valores.size()), valores.data(),
                               nullptr, nullptr, 0))
        Falhar(FDriver.Conn(), nullptr, FDriver.Contexto(), FSQL);
      PQsetSingleRowMode(FDriver.Conn());  // refused, the rows come in one result: the same here
      FExecutado = true;
      FNoServidor = true;
      FDriver.EmCurso(this);
      return ProximoBloco();
    }
    FDriver.Liberar();
    FResultado = TResultado(PQexecPrepared(FDriver.Conn(), FNome.c_str(), static_cast<int>(valores.size()),
                                           valores.data(), nullptr, nullptr, 0));
    FExecutado = true;
    FLinha = -1;
    if (Falhou(FResultado.R)) {
      TResultado r = std::move(FResultado);
      FExecutado = false;
      Falhar(FDriver.Conn(), r.R, FDriver.Contexto(), FSQL);
    }
    const char* n = PQcmdTuples(FResultado.R);
    FMudancas = n && *n ? std::strtoll(n, nullptr, 10) : 0;
  }
  if (FResultado.R && FLinha + 1 < PQntuples(FResultado.R)) {
    ++FLinha;
    return true;
  }
  if (FNoServidor || !FGuardados.empty()) return ProximoBloco();
  FLinha = FResultado.R ? PQntuples(FResultado.R) : -1;
  return false;
}

}  // namespace

bool EnderecoPostgreSQL(std::string_view endereco) {
  std::string_view e = endereco;
  while (!e.empty() && std::isspace(static_cast<unsigned char>(e.front()))) e.remove_prefix(1);
  if (Comeca(e, "postgresql://") || Comeca(e, "postgres://")) return true;
  size_t igual = e.find('=');
  if (igual == std::string_view::npos) return false;
  std::string chave = Trim(e.substr(0, igual));
  return PalavraConexao(chave);
}

std::unique_ptr<IDriver> CriarDriverPostgreSQL(const std::string& endereco, const TOpcoesBanco& opcoes) {
  return std::make_unique<TPostgreSQLDriver>(endereco, opcoes);
}

std::string TraduzirSQLPostgreSQL(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 8);
  size_t i = 0;
  int seguinte = 0;
  while (i < sql.size()) {
    char c = sql[i];
    if (c == '\'' || c == '"') {  // literal or quoted name: copied whole
      const size_t fim = FimCitacaoSQL(sql, i);
      out.append(sql.substr(i, fim - i));
      i = fim;
      continue;
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      size_t j = sql.find('\n', i);
      j = j == std::string_view::npos ? sql.size() : j;
      out.append(sql.substr(i, j - i));
      i = j;
      continue;
    }
    if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      size_t j = sql.find("*/", i + 2);
      j = j == std::string_view::npos ? sql.size() : j + 2;
      out.append(sql.substr(i, j - i));
      i = j;
      continue;
    }
    if (c == '?') {
      size_t j = i + 1;
      while (j < sql.size() && std::isdigit(static_cast<unsigned char>(sql[j]))) ++j;
      if (j > i + 1) {
        int n = std::atoi(std::string(sql.substr(i + 1, j - i - 1)).c_str());
        seguinte = std::max(seguinte, n);
        out += "$" + std::string(sql.substr(i + 1, j - i - 1));
      } else {
        out += "$" + std::to_string(++seguinte);
      }
      i = j;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace nFramework
