// The PostgreSQL driver of TnDMConexao, over libpq, for offices whose accountants share one server.
// The same SQL texts and schema scripts run here as on SQLite; the driver turns ?N into $N and
// sends every value as text of no declared type, so the server gives it the type its place asks.
//
// Dates: DATE and TIMESTAMP columns stay real date and timestamp columns on the server. Their
// text, as the driver hands it back, is the ISO form SQLite stores ('YYYY-MM-DD' and
// 'YYYY-MM-DD HH:MM:SS.mmm'), and an ISO literal or parameter is read as a date where a date is
// compared, so `between` and EXTRACT work natively and the server checks the values; keeping them
// as text would have needed the DDL rewritten and EXTRACT translated for no gain.
//
// Values come back typed by the column's type: integers as integers, floating point as doubles,
// NUMERIC as its exact decimal text (money is read into Currency without a double in between),
// booleans as 1/0, CHAR(n) without the padding the server adds. ColumnDeclType gives a table
// column its declared type (NUMERIC(15,2), VARCHAR(60)), and an expression none, as SQLite does;
// a NUMERIC expression (a sum, a product) comes as an integer or a double by its value, as SQLite
// computes it, so its field gets the type it gets on SQLite.
//
// The password never travels in the address: it comes from PGPASSWORD or ~/.pgpass, as libpq
// reads them, and an address that carries one is refused.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "Conexao_U.h"

namespace nFramework {

// Whether a database address names a PostgreSQL server (postgresql://, postgres://, or libpq's
// "host=... dbname=..." form) rather than a SQLite file.
bool EnderecoPostgreSQL(std::string_view endereco);

// Raises EDatabaseError in Portuguese when the address is invalid, carries a password or the
// server cannot be reached; EBancoInexistente when the server has no such database.
std::unique_ptr<IDriver> CriarDriverPostgreSQL(const std::string& endereco, const TOpcoesBanco& opcoes = {});

// The driver's rewriting of a statement: placeholders ?N become $N.
std::string TraduzirSQLPostgreSQL(std::string_view sql);

}  // namespace nFramework
