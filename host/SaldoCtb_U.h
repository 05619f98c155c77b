// The accounting module's account balances: for a company and a period, per account (and per
// establishment and month when asked), the opening balance, debits, credits, movement and
// closing balance, with synthetic accounts carrying the totals of their descendants.
//
// Balances are expressed in the nature of the account's group (NATURGRUPOn of CFGPLANOESPEC,
// n the first digit of the classification): nature 1 counts debits minus credits, nature -1
// credits minus debits; SALDOATUAL = SALDOANTERIOR + MOVIMENTO. DEBITO and CREDITO are the
// plain sums of each side.
//
// An opening balance implanted in IMPLSALDOCTB on day d stands at the start of that day, before
// its entries: it belongs to the opening of a period that starts on or after d, and to the
// movement (on its side) of a period that starts before d and reaches it.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"
#include "DateUtils_U.h"
#include "Exceptions_U.h"

namespace nHost {

// The balance process's parameters, converted from their texts.
struct TParamSaldoCtb {
  int CodigoEmpresa = 0;
  std::string CodigoEstab;                // "1,3-5" as typed; empty: every establishment
  std::string ContaCtb;                   // "10,20-30" as typed; empty: every account
  std::vector<std::string> ClassifConta;  // classification prefixes; empty: every account
  nFramework::TDateTime DataInicial = 0;
  nFramework::TDateTime DataFinal = 0;
  int CodigoMoeda = 0;               // only the national currency, 0
  bool RelacionarEstab = false;      // one row per establishment
  int TipoAgruparData = 0;           // 0: the whole period; 2: one row per month
  bool TotalizarSintetica = true;    // synthetic accounts carry their descendants' totals
  bool ConsiderarFiltroLctoCtb = false;
  std::vector<std::string> FiltroOrigemLcto;  // origins whose entries of the period are left out
  bool ListarContasMovimentoZero = false;     // also rows whose four values are all zero
  int TipoSaldoCtb = 0;              // only the accounting balance, 0
};

// A parameter the balance refuses; the text is the message, Alias names the parameter.
class EParamSaldoCtb : public nFramework::Exception {
 public:
  EParamSaldoCtb(std::string AAlias, const std::string& AMensagem)
      : Exception(AMensagem), FAlias(std::move(AAlias)) {}
  const std::string& Alias() const { return FAlias; }

 private:
  std::string FAlias;
};

// The aliases, in the order the process declares them, with their defaults.
struct TParamSaldoCtbDef {
  const char* Alias;
  const char* Padrao;
};
const std::vector<TParamSaldoCtbDef>& ParamsSaldoCtb();

// Converts the parameters' texts (`valor` gives the text of an alias; an empty text takes the
// default). Dates are dd/mm/yyyy; yes/no parameters are true only for "1"; the origin filter is
// a list separated by ',' or ';' whose items may come between single quotes ("'ZZ'").
// Raises EParamSaldoCtb for a value that cannot be used.
TParamSaldoCtb LerParamSaldoCtb(const std::function<std::string(std::string_view)>& valor);

// The balances of the period as a new dataset, rows in the order classification, account type
// (synthetic first), account, establishment, month. Columns: CONTACTB, CLASSIFCONTA, TIPOCONTA,
// DESCRCONTA, CODIGOESTAB (0 when not split), DATASALDO (the first day of the period, or of the
// month), SALDOANTERIOR, DEBITO, CREDITO, MOVIMENTO, SALDOATUAL, SEMSALDOMOV (1 for a row
// without opening balance and movement), SINTFILIAL (always 0, kept for callers that copy the
// whole row) and TIPOCONTACALC (the nature the row is expressed in, 1 or -1).
// Raises when the company is unknown or the nature of a group it needs is not configured.
// REQUIRES: a connection is open; the parameters come from LerParamSaldoCtb or hold its checks.
std::unique_ptr<nFramework::TClientDataSet> GerarSaldoCtb(const TParamSaldoCtb& param);
// The same into the caller's dataset: one that already has these columns keeps its fields and
// only has its rows replaced; any other gets the columns.
void GerarSaldoCtb(const TParamSaldoCtb& param, nFramework::TClientDataSet& destino);

}  // namespace nHost
