#include "CursorSQL_U.h"

#include "Exceptions_U.h"
#include "Variant_U.h"

namespace nFramework {

namespace {

IStatement& Preparado(TnDMConexao& conexao, std::string_view sql, const TValores& valores) {
  TnDMConexao::TPrepared& p = conexao.Preparar(sql);
  for (size_t i = 0; i < p.Nomes.size(); ++i) p.Stmt->Bind(static_cast<int>(i) + 1, i < valores.size() ? valores[i] : Null);
  return *p.Stmt;
}

int Digitos(std::string_view t, size_t de, size_t n, bool& ok) {
  int v = 0;
  for (size_t i = de; i < de + n; ++i) {
    if (t[i] < '0' || t[i] > '9') ok = false;
    v = v * 10 + (t[i] - '0');
  }
  return v;
}

}  // namespace

TCursorSQL::TCursorSQL(TnDMConexao& conexao, std::string_view sql, const TValores& valores)
    : FStmt(Preparado(conexao, sql, valores)) {}

TCursorSQL::~TCursorSQL() { FStmt.Reset(); }

bool TCursorSQL::Proximo() { return FStmt.Step(); }

bool TCursorSQL::Nulo(int coluna) { return FStmt.ColumnKind(coluna) == TColumnKind::Null; }

int64_t TCursorSQL::Inteiro(int coluna) {
  switch (FStmt.ColumnKind(coluna)) {
    case TColumnKind::Null: return 0;
    case TColumnKind::Integer: return FStmt.ColumnInt64(coluna);
    default: return TVariant(FStmt.ColumnText(coluna)).AsInt64();
  }
}

std::string_view TCursorSQL::Texto(int coluna) {
  return FStmt.ColumnKind(coluna) == TColumnKind::Null ? std::string_view() : FStmt.ColumnText(coluna);
}

Currency TCursorSQL::Moeda(int coluna) {
  switch (FStmt.ColumnKind(coluna)) {
    case TColumnKind::Null: return Currency();
    case TColumnKind::Integer: return Currency::FromInt(FStmt.ColumnInt64(coluna));
    case TColumnKind::Float: return Currency::FromDouble(FStmt.ColumnDouble(coluna));
    default: return Currency::FromString(std::string(FStmt.ColumnText(coluna)));
  }
}

TDateTime TCursorSQL::Data(int coluna) {
  if (Nulo(coluna)) return 0;
  std::string_view t = FStmt.ColumnText(coluna);
  bool ok = t.size() >= 10 && t[4] == '-' && t[7] == '-';
  if (ok) {
    int ano = Digitos(t, 0, 4, ok), mes = Digitos(t, 5, 2, ok), dia = Digitos(t, 8, 2, ok);
    if (ok && t.size() == 10)
      if (auto d = TryEncodeDate(ano, mes, dia)) return *d;
  }
  if (auto d = TryISOToDateTime(t)) return *d;
  throw EConvertError("\"" + std::string(t) + "\" não é uma data válida");
}

}  // namespace nFramework
