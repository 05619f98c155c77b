// TCursorSQL: a query read row by row, for results too large to hold in a dataset. Only the
// current row is in memory; the values are typed as the reader asks (money as Currency).
#pragma once
#include <cstdint>
#include <string_view>

#include "Conexao_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "SQL_U.h"

namespace nFramework {

class TCursorSQL {
 public:
  // The values bind the named parameters in order of first appearance. REQUIRES: the same SQL
  // text is not run again on the connection while this cursor is open (its statement is shared).
  TCursorSQL(TnDMConexao& conexao, std::string_view sql, const TValores& valores);
  ~TCursorSQL();
  TCursorSQL(const TCursorSQL&) = delete;
  TCursorSQL& operator=(const TCursorSQL&) = delete;

  // Moves to the next row; false when there is none.
  bool Proximo();

  // Columns of the current row, 0-based.
  bool Nulo(int coluna);
  int64_t Inteiro(int coluna);  // Null gives 0
  std::string_view Texto(int coluna);  // valid until Proximo
  // Exact for integers and decimal text; a floating-point value is rounded to the fourth decimal.
  Currency Moeda(int coluna);
  // An ISO date or timestamp text ("YYYY-MM-DD..."); Null gives 0. Raises EConvertError otherwise.
  TDateTime Data(int coluna);

 private:
  IStatement& FStmt;
};

}  // namespace nFramework
