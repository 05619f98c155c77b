// TUlmoSagresWebRegraCalculoCtb: the month's account balances (from the accounting module's
// balance process) and the evaluation of the SAGRES calculation rules over them. One per run;
// it creates the formula engine and the balance process "TKaloDPGerarSaldoCtbIndividual"
// (raises when that class is missing or not a process).
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ClientDataSet_U.h"
#include "Currency_U.h"
#include "RegraBaseCalculo_U.h"
#include "SaldoCtbTipado_U.h"

namespace nUlmoSagres {

enum TnTipoSaldoContaCTB { tpSaldoAnterior = 0, tpDebito = 1, tpCredito = 2, tpMovimento = 3, tpSaldoAtual = 4 };

class TUlmoSagresWebRegraCalculoCtb {
 public:
  TUlmoSagresWebRegraCalculoCtb();
  ~TUlmoSagresWebRegraCalculoCtb();
  TUlmoSagresWebRegraCalculoCtb(const TUlmoSagresWebRegraCalculoCtb&) = delete;
  TUlmoSagresWebRegraCalculoCtb& operator=(const TUlmoSagresWebRegraCalculoCtb&) = delete;

  // Balances of every month of the period from two runs of the balance over the whole of it
  // (one with every origin, for the openings; one without the closing entries, for the
  // movement), so that a month need not add up again every entry before it. Returns false, and
  // leaves each month to its own run, when the company implanted a balance on the first day of
  // a month inside the period (that month's run counts it in the opening, the period's in the
  // movement) or when a run over the whole period is refused (a month's run may not be).
  // REQUIRES: a connection is open.
  bool PrepararPeriodo(int empresa, nFramework::TDateTime inicio, nFramework::TDateTime fim);
  // Balances of the company's month (inicio..fim within one month): the prepared ones when the
  // month is among them, else the month's own run. REQUIRES: a connection is open.
  void ExecutarGerarSaldoCtb(int empresa, nFramework::TDateTime inicio, nFramework::TDateTime fim);
  // Positions the balances on that account; false when it has no row.
  bool EncontrarContaCTB(int64_t AConta);
  // The balance of the current row; 0 for a kind outside the enumeration.
  nFramework::Currency GetSaldoContaCTB(int ATipo) const;
  bool ValidarFormulaCTB(const std::string& AFormula) const { return FRegra.ValidarFormulaCTB(AFormula); }
  nFramework::Currency ExecutarFormulaCTB(const std::string& AFormula) const { return FRegra.ExecutarFormulaCTB(AFormula); }
  // How a stored rule came out for the month. Only Valor is written; a rule without a value
  // (a division by zero) must never reach the court.
  enum class TnResultadoRegra { Valor, SemRegra, Zero, Invalida, NaoNumerica };
  // The month's amount of a stored rule: its absolute value when the result is Valor. A blank
  // rule is SemRegra (the item is not configured).
  TnResultadoRegra ValorDaRegra(const std::string& AFormula, nFramework::Currency& AValor) const;

 private:
  nFramework::TnDMRegraBaseCalculo FRegra;
  nUlmoSaldoCtb::TSaldoCtbTipado FSaldo;
  nFramework::TClientDataSet* FSaldos = nullptr;
  std::map<int, std::unique_ptr<nFramework::TClientDataSet>> FMeses;  // yyyymm -> balances
};

}  // namespace nUlmoSagres
