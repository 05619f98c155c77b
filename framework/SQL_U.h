// SQL execution and lookups over the current connection (Conexao()).
// REQUIRES: a connection is open (SetConexao).
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"
#include "Conexao_U.h"
#include "Variant_U.h"

namespace nFramework {

using TValores = std::vector<TVariant>;

// The open, in-memory result of a query; it remembers its SQL so RefreshSQL can run it again
// with new values into the same fields (maps bound to them stay valid).
class TSQLDataSet : public TClientDataSet {
 public:
  const std::string& SQL() const { return FSQL; }

 private:
  friend class TSQLLoader;
  std::string FSQL;
};

// Runs a query; the values bind the named parameters in order of first appearance.
std::unique_ptr<TSQLDataSet> ExecutarSQL(std::string_view sql, const TValores& values = {});
// Runs a query inside read-only transaction 1.
std::unique_ptr<TSQLDataSet> ExecutarSQLRO(std::string_view sql, const TValores& values = {});
template <class T>
void DestruirSQL(std::unique_ptr<T>& dataset) {
  dataset.reset();
}
// Runs the dataset's query again with new values; with reposition, the cursor goes to the first row.
void RefreshSQL(TClientDataSet& dataset, const TValores& values, bool reposition = true);
// Runs a statement; returns the rows it changed.
int64_t ExecutarSQLDireto(std::string_view sql, const TValores& values = {});

// The value of `fields` in the first row of `select fields from table where condition`:
// an array for comma-separated fields, Null when no row. `table` may be a join.
TVariant PegarValorCampo(std::string_view table, std::string_view fields, std::string_view condition);
bool PegarTemRegistro(std::string_view table, std::string_view field, std::string_view condition);
// One more than the greatest value of the field (1 for an empty table).
int64_t PegarProximoCodigoInt(std::string_view table, std::string_view field, std::string_view condition = {});
// Today's date of the server, through the clock service.
TDateTime PegarDataServidor();

// Literals. Text has its quotes doubled; numbers must be numbers (EConvertError otherwise);
// dates are ISO texts; Null gives "null".
std::string ValorParaSQL(const TVariant& value, TFieldType type);
std::string ValorParaFiltro(const TVariant& value, TFieldType type);
// A condition for a list of integers and ranges typed by a user ("1,5,10-20"); refuses anything else.
std::string FilterInterval(std::string_view column, std::string_view text);

// Statements run all-or-nothing in one transaction.
class TBlockCommand {
 public:
  void Add(std::string sql, TValores values = {});
  size_t Count() const { return FItems.size(); }
  void Clear() { FItems.clear(); }
  // Runs the statements in one transaction; returns the number of rows they changed.
  int64_t Executar();

 private:
  std::vector<std::pair<std::string, TValores>> FItems;
};

// Runs fn inside a write transaction: committed when it returns, rolled back when it throws.
void EmTransacao(const std::function<void()>& fn);

}  // namespace nFramework
