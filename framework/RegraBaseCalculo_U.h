// TnDMRegraBaseCalculo: the formula engine of the calculation rules. A rule is an arithmetic
// formula (numbers, + - * /, parentheses) over functions of account balances that RegistrarCTB
// makes available: SALDOANTERIOR, DEBITO, CREDITO, MOVIMENTO and SALDOATUAL, each taking the
// account code (CONTACTB), as in "SALDOATUAL(101) - DEBITO(205) * 0.5". Names ignore case.
// The balances come from the dataset handed to SetcdsPlano (columns CONTACTB and the five
// balance columns); an account it lacks counts as zero.
#pragma once
#include <functional>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"
#include "Currency_U.h"
#include "Exceptions_U.h"
#include "DataModule_U.h"

namespace nFramework {

// A valid formula that has no value over the balances it was evaluated on.
class EFormulaSemValor : public Exception {
 public:
  using Exception::Exception;
};

class TnDMRegraBaseCalculo : public TnDataModule {
  N_CLASSE(TnDMRegraBaseCalculo)
 public:
  // A function formulas may call: its name, its argument as the user reads it, a line of help.
  struct TFuncaoCTB {
    std::string Nome;
    std::string Argumento;
    std::string Descricao;
  };
  // One account of the balances, its rows added up.
  struct TSaldoConta {
    int64_t ContaCtb = 0;
    std::string Classificacao;
    std::string Descricao;
    bool Sintetica = false;
    Currency SaldoAnterior, Debito, Credito, Movimento, SaldoAtual;
  };

  // Makes the accounting functions available to formulas.
  void RegistrarCTB();
  // The functions RegistrarCTB made available, in the order they are offered to the user.
  const std::vector<TFuncaoCTB>& FuncoesCTB() const { return FFuncoesCTB; }
  // The balances the formulas read; not owned, and must outlive the evaluations. aDescricao
  // says what they are to the user ("Saldos de 01/01/2024 a 31/12/2024"), or why there are none.
  void SetcdsPlano(TClientDataSet* aCds, std::string aDescricao = {}) {
    FCdsPlano = aCds;
    FDescricaoPlano = std::move(aDescricao);
  }
  bool TemPlano() const { return FCdsPlano && FCdsPlano->Active(); }
  const std::string& DescricaoPlano() const { return FDescricaoPlano; }
  // The accounts of the balances in their order, one entry per account; empty without balances.
  std::vector<TSaldoConta> SaldosCTB() const;
  // Whether the text is a formula this engine can evaluate (an empty text is not).
  bool ValidarFormulaCTB(std::string_view aFormula) const;
  // Why ValidarFormulaCTB refuses the text ("Fórmula inválida (posição 3): ..."); "" when it
  // does not.
  std::string MotivoFormulaInvalida(std::string_view aFormula) const;
  // The value of the formula over the balances last handed over, in exact decimals (products
  // and quotients rounded at the fourth place). Raises Exception with the reason for a formula
  // ValidarFormulaCTB refuses, and EFormulaSemValor when these balances give it no value
  // (division by zero, a result out of a currency's range).
  Currency ExecutarFormulaCTB(std::string_view aFormula) const;
  // The framework's formula editor: the text the user leaves after editing aFormula (the same
  // text when the editor is closed without changes, or when no editor is installed).
  std::string MontarFormulaCTB(const std::string& aFormula) const;

  // The editor front ends install; tests install one that answers. A front end's editor also
  // gets the engine it edits for: its functions and balances.
  using TEditorFormula = std::function<std::string(const std::string& aFormula)>;
  using TEditorFormulaCTB = std::function<std::string(const std::string& aFormula, const TnDMRegraBaseCalculo& aRegra)>;
  static void SetEditorFormula(TEditorFormula aEditor);
  static void SetEditorFormula(TEditorFormulaCTB aEditor);
  static void SetEditorFormula(std::nullptr_t);

 private:
  std::vector<TFuncaoCTB> FFuncoesCTB;
  std::set<std::string> FFuncoes;
  TClientDataSet* FCdsPlano = nullptr;
  std::string FDescricaoPlano;
};

}  // namespace nFramework
