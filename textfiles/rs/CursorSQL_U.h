// TCursorSQL: a query read one row at a time straight from the database, for results too large
// to hold in memory (a year's entries). Values are read from the current row as typed values:
// money as Currency, codes as integers.
// REQUIRES: a connection is open for the cursor's lifetime, and no other query is run while it
// is open (the connection reuses its prepared statements).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Conexao_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "SQL_U.h"

namespace nUlmoRS {

class TCursorSQL {
 public:
  // Prepares and binds the query; the values bind its named parameters in order of appearance.
  TCursorSQL(std::string_view sql, const nFramework::TValores& valores);
  ~TCursorSQL();
  TCursorSQL(const TCursorSQL&) = delete;
  TCursorSQL& operator=(const TCursorSQL&) = delete;

  // Moves to the next row; false at the end.
  bool Proximo();
  // The index of a column of the result, without regard to case; raises EInternalError when
  // the query has none of that name.
  int Coluna(std::string_view nome) const;

  bool Nulo(int coluna);
  // REQUIRES for the readers: Proximo() answered true. Null reads as 0, "" or a zero amount.
  int64_t Inteiro(int coluna);
  std::string Texto(int coluna);
  // Exact for amounts stored with up to four decimals, whether the column holds an integer, a
  // REAL or a decimal text.
  nFramework::Currency Moeda(int coluna);
  // A date column stored as ISO text; raises EConvertError for anything else.
  nFramework::TDateTime Data(int coluna);

 private:
  nFramework::TnDMConexao::TPrepared& FPreparado;
  nFramework::IStatement& FStmt;
  std::vector<std::string> FNomes;
  bool FAberto = true;
};

}  // namespace nUlmoRS
