#include "SQL_U.h"

#include <cmath>

#include "Classes_U.h"
#include "Clock_U.h"
#include "DataStore_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

TFieldType MapDeclType(std::string_view decl, int& size) {
  std::string t = UpperCase(decl);
  size = 0;
  auto sizeArg = [&]() {
    auto p = t.find('(');
    return p == std::string::npos ? 0 : StrToIntDef(t.substr(p + 1, t.find_first_of(",)", p) - p - 1), 0);
  };
  if (t.empty()) return TFieldType::ftUnknown;
  if (t.find("CHAR") != std::string::npos) {
    size = sizeArg();
    bool fixed = t.rfind("CHAR", 0) == 0 || t.rfind("CHARACTER", 0) == 0;
    return fixed && t.find("VAR") == std::string::npos ? TFieldType::ftFixedChar : TFieldType::ftString;
  }
  if (t.find("TEXT") != std::string::npos || t.find("CLOB") != std::string::npos || t.find("BLOB") != std::string::npos)
    return TFieldType::ftString;
  if (t.find("BIGINT") != std::string::npos) return TFieldType::ftLargeint;
  if (t.find("SMALLINT") != std::string::npos) return TFieldType::ftSmallint;
  if (t.find("INT") != std::string::npos) return TFieldType::ftInteger;
  if (t.find("NUMERIC") != std::string::npos || t.find("DECIMAL") != std::string::npos) {
    auto comma = t.find(',');
    int scale = comma == std::string::npos ? 0 : StrToIntDef(t.substr(comma + 1, t.find(')', comma) - comma - 1), 0);
    return scale <= 4 ? TFieldType::ftCurrency : TFieldType::ftFloat;
  }
  if (t.find("DOUBLE") != std::string::npos || t.find("FLOAT") != std::string::npos || t.find("REAL") != std::string::npos)
    return TFieldType::ftFloat;
  if (t.find("TIMESTAMP") != std::string::npos || t.find("DATETIME") != std::string::npos || t == "TIME")
    return TFieldType::ftDateTime;
  if (t.find("DATE") != std::string::npos) return TFieldType::ftDate;
  if (t.find("BOOL") != std::string::npos) return TFieldType::ftBoolean;
  return TFieldType::ftUnknown;
}

void BindAll(TnDMConexao::TPrepared& p, const TValores& values) {
  for (size_t i = 0; i < p.Nomes.size(); ++i) p.Stmt->Bind(static_cast<int>(i) + 1, i < values.size() ? values[i] : Null);
}

TVariant ColumnValue(IStatement& s, int i) {
  switch (s.ColumnKind(i)) {
    case TColumnKind::Null: return Null;
    case TColumnKind::Integer: return TVariant(static_cast<long long>(s.ColumnInt64(i)));
    case TColumnKind::Float: return TVariant(s.ColumnDouble(i));
    case TColumnKind::Text: {
      std::string_view t = s.ColumnText(i);
      int size;
      TFieldType ft = MapDeclType(s.ColumnDeclType(i), size);
      if (ft == TFieldType::ftDate || ft == TFieldType::ftDateTime)
        if (auto d = TryISOToDateTime(t)) return TVariant::FromDate(*d);
      if (ft == TFieldType::ftCurrency) {  // a server's exact decimal
        try {
          return TVariant(Currency::FromString(std::string(t)));
        } catch (const EConvertError&) {
        }
      }
      return TVariant(t);
    }
  }
  return Null;
}

}  // namespace

// Fills a query dataset from a stepped statement, straight into the store's cells.
class TSQLLoader {
 public:
  static void Load(TSQLDataSet& ds, IStatement& s, bool createFields) {
    int cols = s.ColumnCount();
    std::vector<bool> byValue(static_cast<size_t>(cols), false);
    if (createFields) {
      ds.FFieldDefs.clear();
      for (int i = 0; i < cols; ++i) {
        int size;
        TFieldType t = MapDeclType(s.ColumnDeclType(i), size);
        byValue[static_cast<size_t>(i)] = t == TFieldType::ftUnknown;
        ds.FFieldDefs.push_back({UpperCase(s.ColumnName(i)), t, size, false});
      }
      ds.FStore = std::make_shared<TDataStore>();
      ds.FStore->Defs = ds.FFieldDefs;
      ds.FStore->Stride = ds.FFieldDefs.size();
    } else {
      if (static_cast<int>(ds.FStore->Stride) != cols) throw EInternalError("consulta reaberta com outras colunas");
      ds.ResetRows();
    }
    TDataStore& store = *ds.FStore;
    std::vector<TFieldDef>& defs = store.Defs;
    while (s.Step()) {
      uint32_t r = store.AddRow();
      TCell* row = store.Row(r);
      for (int i = 0; i < cols; ++i) {
        TColumnKind k = s.ColumnKind(i);
        if (k == TColumnKind::Null) continue;
        TFieldDef& d = defs[static_cast<size_t>(i)];
        if (byValue[static_cast<size_t>(i)]) Decide(store, d, i, k);
        Put(store, row[i], d, s, i, k);
      }
    }
    s.Reset();
    if (createFields) {
      ds.FFieldDefs = defs;
      ds.BuildFields();
    }
    ds.RowsLoaded();
  }

 static void SetSQL(TSQLDataSet& ds, std::string_view sql) { ds.FSQL = std::string(sql); }

 private:
  // Columns of expressions have no declared type: the values decide, widening when they disagree.
  static void Decide(TDataStore& store, TFieldDef& d, int col, TColumnKind k) {
    TFieldType want = k == TColumnKind::Integer ? TFieldType::ftLargeint
                      : k == TColumnKind::Float ? TFieldType::ftFloat
                                                : TFieldType::ftString;
    if (d.DataType == TFieldType::ftUnknown) {
      d.DataType = want;
      return;
    }
    if (d.DataType == want || d.DataType == TFieldType::ftString) return;
    if (d.DataType == TFieldType::ftLargeint && want == TFieldType::ftFloat) {
      for (uint32_t r = 0; r + 1 < store.RowCount(); ++r) {
        TCell& c = store.Row(r)[col];
        if (!c.Null) c.D = static_cast<double>(c.I);
      }
      d.DataType = TFieldType::ftFloat;
      return;
    }
    if (d.DataType == TFieldType::ftFloat && want == TFieldType::ftLargeint) return;
    // numbers so far, text now: the column becomes text
    for (uint32_t r = 0; r + 1 < store.RowCount(); ++r) {
      TCell& c = store.Row(r)[col];
      if (c.Null) continue;
      std::string t = d.DataType == TFieldType::ftFloat ? TVariant(c.D).AsString() : std::to_string(c.I);
      store.SetText(c, t);
    }
    d.DataType = TFieldType::ftString;
  }

  [[noreturn]] static void Bad(const TFieldDef& d, std::string_view v) {
    throw EDatabaseError("Valor '" + std::string(v) + "' inválido para a coluna " + d.Name + " (" + FieldTypeName(d.DataType) + ")");
  }

  static void Put(TDataStore& store, TCell& c, const TFieldDef& d, IStatement& s, int i, TColumnKind k) {
    c.Null = false;
    switch (d.DataType) {
      case TFieldType::ftSmallint:
      case TFieldType::ftInteger:
      case TFieldType::ftLargeint:
      case TFieldType::ftBoolean:
        if (k == TColumnKind::Integer) {
          c.I = s.ColumnInt64(i);
        } else if (k == TColumnKind::Float) {
          c.I = std::llround(s.ColumnDouble(i));
        } else {
          std::string_view t = s.ColumnText(i);
          int64_t v;
          double dv;
          if (TryStrToInt64(t, v)) c.I = v;
          else if (TryStrToFloat(t, dv)) c.I = std::llround(dv);
          else if (d.DataType == TFieldType::ftBoolean) c.I = TVariant(t).AsBoolean();
          else Bad(d, t);
        }
        if (d.DataType == TFieldType::ftBoolean) c.I = c.I != 0;
        break;
      case TFieldType::ftFloat:
        if (k == TColumnKind::Text) {
          std::string_view t = s.ColumnText(i);
          double v;
          if (!TryStrToFloat(t, v)) Bad(d, t);
          c.D = v;
        } else {
          c.D = s.ColumnDouble(i);
        }
        break;
      case TFieldType::ftCurrency:
        if (k == TColumnKind::Integer) c.I = Currency::FromInt(s.ColumnInt64(i)).Raw();
        else if (k == TColumnKind::Float) c.I = Currency::FromDouble(s.ColumnDouble(i)).Raw();
        else {
          std::string_view t = s.ColumnText(i);
          try {
            c.I = Currency::FromString(std::string(t)).Raw();
          } catch (const EConvertError&) {
            Bad(d, t);
          }
        }
        break;
      case TFieldType::ftDate:
      case TFieldType::ftDateTime:
        if (k == TColumnKind::Text) {
          std::string_view t = s.ColumnText(i);
          auto v = TryISOToDateTime(t);
          if (!v) Bad(d, t);
          c.D = d.DataType == TFieldType::ftDate ? DateOf(*v) : *v;
        } else {
          c.D = s.ColumnDouble(i);
        }
        break;
      default: store.SetText(c, s.ColumnText(i)); break;
    }
  }
};

namespace {

std::unique_ptr<TSQLDataSet> Run(std::string_view sql, const TValores& values) {
  auto& p = Conexao().Preparar(sql);
  BindAll(p, values);
  auto ds = std::make_unique<TSQLDataSet>();
  TSQLLoader::Load(*ds, *p.Stmt, true);
  return ds;
}

}  // namespace

std::unique_ptr<TSQLDataSet> ExecutarSQL(std::string_view sql, const TValores& values) {
  auto ds = Run(sql, values);
  TSQLLoader::SetSQL(*ds, sql);
  return ds;
}

std::unique_ptr<TSQLDataSet> ExecutarSQLRO(std::string_view sql, const TValores& values) {
  Conexao().StartTransactionRO(1);
  try {
    auto ds = ExecutarSQL(sql, values);
    Conexao().CommitRO(1);
    return ds;
  } catch (...) {
    Conexao().RollBackRO(1);
    throw;
  }
}

void RefreshSQL(TClientDataSet& dataset, const TValores& values, bool reposition) {
  auto* ds = dynamic_cast<TSQLDataSet*>(&dataset);
  if (!ds) throw EInternalError("RefreshSQL em um conjunto de dados que não veio de uma consulta");
  auto& p = Conexao().Preparar(ds->SQL());
  BindAll(p, values);
  TSQLLoader::Load(*ds, *p.Stmt, false);
  if (reposition) ds->First();
}

int64_t ExecutarSQLDireto(std::string_view sql, const TValores& values) {
  auto& p = Conexao().Preparar(sql);
  BindAll(p, values);
  while (p.Stmt->Step()) {
  }
  int64_t n = p.Stmt->Changes();
  p.Stmt->Reset();
  return n;
}

TVariant PegarValorCampo(std::string_view table, std::string_view fields, std::string_view condition) {
  std::string sql = "select " + std::string(fields) + " from " + std::string(table);
  if (!Trim(condition).empty()) sql += " where " + std::string(condition);
  sql += " limit 1";
  auto& p = Conexao().Preparar(sql);
  IStatement& s = *p.Stmt;
  if (!s.Step()) {
    s.Reset();
    return Null;
  }
  int cols = s.ColumnCount();
  TVariant r;
  if (cols == 1) {
    r = ColumnValue(s, 0);
  } else {
    std::vector<TVariant> items;
    for (int i = 0; i < cols; ++i) items.push_back(ColumnValue(s, i));
    r = TVariant::FromArray(std::move(items));
  }
  s.Reset();
  return r;
}

bool PegarTemRegistro(std::string_view table, std::string_view field, std::string_view condition) {
  std::string f = Trim(field).empty() ? "1" : std::string(field);
  std::string sql = "select " + f + " from " + std::string(table);
  if (!Trim(condition).empty()) sql += " where " + std::string(condition);
  sql += " limit 1";
  auto& p = Conexao().Preparar(sql);
  bool found = p.Stmt->Step();
  p.Stmt->Reset();
  return found;
}

int64_t PegarProximoCodigoInt(std::string_view table, std::string_view field, std::string_view condition) {
  TVariant v = PegarValorCampo(table, "max(" + std::string(field) + ")", condition);
  return VarToInt64Def(v, 0) + 1;
}

TDateTime PegarDataServidor() { return Date(); }

std::string ValorParaSQL(const TVariant& value, TFieldType type) {
  if (value.IsNull()) return "null";
  switch (type) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: {
      int64_t v;
      if (value.Kind() == TVarKind::String) {
        if (!TryStrToInt64(value.AsString(), v)) throw EConvertError("'" + CitarValor(value.AsString()) + "' não é um valor inteiro válido");
      } else {
        v = value.AsInt64();
      }
      return std::to_string(v);
    }
    case TFieldType::ftBoolean: return value.AsBoolean() ? "1" : "0";
    case TFieldType::ftFloat: {
      double d = value.AsFloat();
      if (!std::isfinite(d)) throw EConvertError("Valor numérico inválido");
      return TVariant(d).AsString();
    }
    case TFieldType::ftCurrency: return value.AsCurrency().ToString();
    case TFieldType::ftDate: return "'" + DateToISO(value.AsDateTime()) + "'";
    case TFieldType::ftDateTime: return "'" + DateTimeToISO(value.AsDateTime()) + "'";
    default: {
      std::string t = value.AsString();
      std::string r = "'";
      for (char c : t) {
        if (c == '\'') r += '\'';
        r += c;
      }
      return r + "'";
    }
  }
}

std::string ValorParaFiltro(const TVariant& value, TFieldType type) { return ValorParaSQL(value, type); }

std::string FilterInterval(std::string_view column, std::string_view text) {
  auto fail = [&](const std::string& why) -> std::string {
    throw Exception("Intervalo inválido \"" + CitarValor(text) + "\": " + why +
                    ". Informe números separados por vírgula ou faixas como 10-20.");
  };
  for (char c : column)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.')) throw EInternalError("coluna inválida em FilterInterval");
  std::vector<std::string> singles;
  std::vector<std::pair<int64_t, int64_t>> ranges;
  TStringList parts;
  parts.SetDelimitedText(text, ',');
  for (const auto& raw : parts) {
    std::string p = Trim(raw);
    if (p.empty()) {
      if (parts.Count() == 1) return "";
      fail("item vazio");
    }
    auto dash = p.find('-', 1);
    if (dash == std::string::npos) {
      int64_t v;
      if (!TryStrToInt64(p, v)) fail("\"" + CitarValor(p) + "\" não é um número inteiro");
      singles.push_back(std::to_string(v));
    } else {
      int64_t a, b;
      if (!TryStrToInt64(Trim(p.substr(0, dash)), a) || !TryStrToInt64(Trim(p.substr(dash + 1)), b))
        fail("\"" + CitarValor(p) + "\" não é uma faixa de números inteiros");
      if (a > b) std::swap(a, b);
      ranges.emplace_back(a, b);
    }
  }
  std::string col(column);
  std::vector<std::string> terms;
  if (!singles.empty()) {
    std::string in = col + " in (";
    for (size_t i = 0; i < singles.size(); ++i) in += (i ? "," : "") + singles[i];
    terms.push_back(in + ")");
  }
  for (auto& [a, b] : ranges) terms.push_back(col + " between " + std::to_string(a) + " and " + std::to_string(b));
  if (terms.empty()) return "";
  std::string r = "(";
  for (size_t i = 0; i < terms.size(); ++i) r += (i ? " or " : "") + terms[i];
  return r + ")";
}

void TBlockCommand::Add(std::string sql, TValores values) { FItems.emplace_back(std::move(sql), std::move(values)); }

int64_t TBlockCommand::Executar() {
  int64_t alteradas = 0;
  EmTransacao([&] {
    for (auto& [sql, values] : FItems) alteradas += ExecutarSQLDireto(sql, values);
  });
  return alteradas;
}

void EmTransacao(const std::function<void()>& fn) {
  Conexao().StartTransaction();
  try {
    fn();
  } catch (...) {
    Conexao().RollBack();
    throw;
  }
  Conexao().Commit();
}

}  // namespace nFramework
