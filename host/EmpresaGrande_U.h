// A large synthetic company for measuring the court files and the balances: a chart of the size
// asked for, opening balances, a year (the demo year) of random balanced entries spread over
// every day, its closing entries, and every analytic account mapped to the chart of the court
// asked for, with what that court's run needs besides (for TCE-SE the SAGRES bank accounts and
// rules; for TCE-PR the identifiers of the mapping and a head office with an address).
#pragma once
#include <cstdint>

#include "DemoCadastros_U.h"

namespace nHost {

struct TParamEmpresaGrande {
  int CodigoEmpresa = 100;
  int64_t Lancamentos = 1000000;
  int Contas = 2000;
  uint64_t Semente = 20240101;
  int Sistema = sdSC;  // TSistemaDemo: the court whose chart the company is mapped to
};

// Builds the company, first removing every row an earlier build of the same code left, in one
// write transaction. The demo's shared rows (histories, origins, court systems) are created when
// the database has none. Refuses the code of a demo company, a chart of fewer than 60 accounts
// and a court system the demo does not have.
// REQUIRES: a connection is open (SetConexao) with the current schema.
void GerarEmpresaGrande(const TParamEmpresaGrande& param);

}  // namespace nHost
