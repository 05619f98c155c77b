// TnDMRegraBaseCalculo: the formula engine of the calculation rules. A formula is arithmetic
// (+ - * / and parentheses) over numbers and, after RegistrarCTB, over the balances of accounts:
// SALDOANTERIOR(c), DEBITO(c), CREDITO(c), MOVIMENTO(c), SALDOATUAL(c), c a numeric account code.
#pragma once
#include <string>
#include <string_view>

#include "ClientDataSet_U.h"

namespace nFramework {

class TnDMRegraBaseCalculo {
 public:
  // Makes the account functions known to formulas; without it a formula may hold numbers only.
  void RegistrarCTB() { FCTBRegistrado = true; }
  // The balances formulas read: one row per account, column CONTACTB and the five balance
  // columns. Not owned; an account missing from it reads as 0.
  void SetcdsPlano(TClientDataSet* ACds) { FcdsPlano = ACds; }

  // True when AFormula parses completely; otherwise false with the reason in AMensagem.
  // An empty formula is not valid: there is nothing to compute.
  bool ValidarFormulaCTB(std::string_view AFormula, std::string* AMensagem = nullptr) const;
  // Evaluates AFormula over the balances last handed over. Raises Exception with a Portuguese
  // message for an invalid formula, a division by zero or a balance asked for without balances.
  double ExecutarFormulaCTB(std::string_view AFormula) const;
  // The interactive formula editor of the desktop front end; elsewhere the text is kept as it is.
  std::string MontarFormulaCTB(const std::string& AFormula) const { return AFormula; }

 private:
  bool FCTBRegistrado = false;
  TClientDataSet* FcdsPlano = nullptr;
};

}  // namespace nFramework
