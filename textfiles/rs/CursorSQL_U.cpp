#include "CursorSQL_U.h"

#include <cmath>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "Variant_U.h"

namespace nUlmoRS {

using namespace nFramework;

TCursorSQL::TCursorSQL(std::string_view sql, const TValores& valores)
    : FPreparado(Conexao().Preparar(sql)), FStmt(*FPreparado.Stmt) {
  for (size_t i = 0; i < FPreparado.Nomes.size(); ++i)
    FStmt.Bind(static_cast<int>(i) + 1, i < valores.size() ? valores[i] : TVariant());
  for (int i = 0; i < FStmt.ColumnCount(); ++i) FNomes.push_back(UpperCase(FStmt.ColumnName(i)));
}

TCursorSQL::~TCursorSQL() {
  // A statement left mid-result would keep the read open on the database.
  FStmt.Reset();
}

bool TCursorSQL::Proximo() {
  if (!FAberto) return false;
  FAberto = FStmt.Step();
  return FAberto;
}

int TCursorSQL::Coluna(std::string_view nome) const {
  std::string procurado = UpperCase(std::string(nome));
  for (size_t i = 0; i < FNomes.size(); ++i)
    if (FNomes[i] == procurado) return static_cast<int>(i);
  throw EInternalError("consulta sem a coluna " + procurado);
}

bool TCursorSQL::Nulo(int coluna) { return FStmt.ColumnKind(coluna) == TColumnKind::Null; }

int64_t TCursorSQL::Inteiro(int coluna) {
  switch (FStmt.ColumnKind(coluna)) {
    case TColumnKind::Null: return 0;
    case TColumnKind::Integer: return FStmt.ColumnInt64(coluna);
    case TColumnKind::Float: return static_cast<int64_t>(std::llround(FStmt.ColumnDouble(coluna)));
    case TColumnKind::Text: {
      int64_t valor = 0;
      if (!TryStrToInt64(FStmt.ColumnText(coluna), valor))
        throw EConvertError("'" + std::string(FStmt.ColumnText(coluna)) + "' não é um número inteiro válido");
      return valor;
    }
  }
  return 0;
}

std::string TCursorSQL::Texto(int coluna) {
  switch (FStmt.ColumnKind(coluna)) {
    case TColumnKind::Null: return {};
    case TColumnKind::Integer: return std::to_string(FStmt.ColumnInt64(coluna));
    case TColumnKind::Float: return Currency::FromDouble(FStmt.ColumnDouble(coluna)).ToString();
    case TColumnKind::Text: return std::string(FStmt.ColumnText(coluna));
  }
  return {};
}

Currency TCursorSQL::Moeda(int coluna) {
  switch (FStmt.ColumnKind(coluna)) {
    case TColumnKind::Null: return Currency();
    case TColumnKind::Integer: return Currency::FromInt(FStmt.ColumnInt64(coluna));
    // SQLite hands a REAL as the nearest double; rounding it at the fourth decimal gives back
    // the decimal the demo and the host wrote.
    case TColumnKind::Float: return Currency::FromDouble(FStmt.ColumnDouble(coluna));
    case TColumnKind::Text: return Currency::FromString(std::string(FStmt.ColumnText(coluna)));
  }
  return Currency();
}

TDateTime TCursorSQL::Data(int coluna) {
  std::string texto = Texto(coluna);
  if (auto d = TryISOToDateTime(texto)) return *d;
  throw EConvertError("'" + texto + "' não é uma data válida");
}

}  // namespace nUlmoRS
