// TnDMRegraBaseCalculo: the formula engine of the calculation rules. A rule is an arithmetic
// formula (numbers, + - * /, parentheses) over functions of account balances that RegistrarCTB
// makes available: SALDOANTERIOR, DEBITO, CREDITO, MOVIMENTO and SALDOATUAL, each taking the
// account code (CONTACTB), as in "SALDOATUAL(101) - DEBITO(205) * 0.5". Names ignore case.
// The balances come from the dataset handed to SetcdsPlano (columns CONTACTB and the five
// balance columns); an account it lacks counts as zero.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "ClientDataSet_U.h"
#include "DataModule_U.h"

namespace nFramework {

class TnDMRegraBaseCalculo : public TnDataModule {
  N_CLASSE(TnDMRegraBaseCalculo)
 public:
  // Makes the accounting functions available to formulas.
  void RegistrarCTB();
  // The balances the formulas read; not owned, and must outlive the evaluations.
  void SetcdsPlano(TClientDataSet* aCds) { FCdsPlano = aCds; }
  // Whether the text is a formula this engine can evaluate (an empty text is not).
  bool ValidarFormulaCTB(std::string_view aFormula) const;
  // The value of the formula over the balances last handed over. Raises Exception with the
  // reason for a formula ValidarFormulaCTB refuses; division by zero gives inf or NaN.
  double ExecutarFormulaCTB(std::string_view aFormula) const;
  // The framework's formula editor: the text the user leaves after editing aFormula (the same
  // text when the editor is closed without changes, or when no editor is installed).
  std::string MontarFormulaCTB(const std::string& aFormula) const;

  // The editor front ends install; tests install one that answers.
  using TEditorFormula = std::function<std::string(const std::string& aFormula)>;
  static void SetEditorFormula(TEditorFormula aEditor);

 private:
  std::set<std::string> FFuncoes;
  TClientDataSet* FCdsPlano = nullptr;
};

}  // namespace nFramework
