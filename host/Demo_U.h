// The demo database: one company per court (SC, RS, PR and SE) with a year of bookkeeping
// (2024), its invoices, payables and assets, and the court systems, charts and mappings the
// court files are computed from. The same rows on every run.
#pragma once
#include <string>
#include <vector>

namespace nHost {

// Empties every table the demo fills and fills them again, all in one write transaction: a
// failure leaves the database as it was.
// REQUIRES: a connection is open (SetConexao) with the current schema.
void GerarDemo();

// Creates the demo database at the path: the schema and the demo are built in a new file beside
// it, which replaces the path only when complete. On a server's address the database must exist:
// the schema is brought up to date and the demo written in one transaction.
// REQUIRES: nothing else has the path open.
void CriarBancoDemo(const std::string& caminho);

// The tables a refresh empties, children before their parents.
const std::vector<std::string>& TabelasDemo();

}  // namespace nHost
