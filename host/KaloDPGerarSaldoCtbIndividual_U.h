// TKaloDPGerarSaldoCtbIndividual: the accounting module's balance process. Callers create it
// by name, set its parameters by name as text, run Executar and read the balances from its
// component "nClientDataSet" (columns and meaning in SaldoCtb_U.h).
#pragma once
#include "ClientDataSet_U.h"
#include "PowerParam_U.h"
#include "SaldoCtb_U.h"

namespace nHost {

class TKaloDPGerarSaldoCtbIndividual : public nFramework::TnDMPowerParam {
  N_CLASSE(TKaloDPGerarSaldoCtbIndividual)
 public:
  TKaloDPGerarSaldoCtbIndividual();

  // Converts the parameters; raises EnParam at the parameter that cannot be used.
  void ValidarDado() override;
  // Replaces the rows of "nClientDataSet" with the balances the parameters ask for. Callers
  // may run it without ValidarDado: it checks the parameters again.
  // REQUIRES: a connection is open.
  void Executar() override;

  nFramework::TClientDataSet& Saldos() { return *FSaldos; }

 private:
  TParamSaldoCtb LerParametros() const;
  nFramework::TClientDataSet* FSaldos;
};

}  // namespace nHost
