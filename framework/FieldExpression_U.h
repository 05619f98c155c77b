// Field expressions: the small language of the enabled, required, clear and value
// expressions of registers and parameter panels, such as
//   IGUAL(PGERAAPLICFINANCEIRA,1)    NOT(EXTERNO("VALIDARUFTCE" , [CODIGOSISTEMATCE, "PR"]))
// Names are field or parameter names (resolved by the caller, without regard to case);
// texts go between double or single quotes; [a, b] is a list. Built in: NOT, IGUAL,
// DIFERENTE, E, OU, VAZIO and EXTERNO("NAME", [args]), which calls a function registered by
// name and hands it every argument as text.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Variant_U.h"

namespace nFramework {

using TnFuncaoExpressao = std::function<TVariant(const std::vector<std::string>& aArgs)>;

class TnFieldExpressionFunctions {
 public:
  // A later registration of the same name replaces the earlier one.
  void RegisterFunction(std::string_view aName, TnFuncaoExpressao aFuncao);
  void UnRegisterFunction(std::string_view aName);
  bool Existe(std::string_view aName) const;
  // Raises when no function of that name is registered.
  TVariant Chamar(std::string_view aName, const std::vector<std::string>& aArgs) const;
  // Removes the functions registered while that library loaded (its code is leaving).
  void RemoverDaBiblioteca(const std::string& aBiblioteca);

 private:
  struct TEntrada {
    std::string Nome;
    TnFuncaoExpressao Funcao;
    std::string Biblioteca;
  };
  std::vector<TEntrada> FFuncoes;
};

TnFieldExpressionFunctions& FieldExpressionFunctions();

// Gives the value of a name; nullopt when the name is unknown.
using TnResolvedorNome = std::function<std::optional<TVariant>(const std::string& aNome)>;

// Evaluates an expression. Raises an Exception naming the expression for a syntax error, an
// unknown name or an unknown function.
TVariant AvaliarExpressao(std::string_view aExpressao, const TnResolvedorNome& aResolvedor);
// The expression's value read as a condition: true, a non-zero number or the text "true".
bool AvaliarCondicao(std::string_view aExpressao, const TnResolvedorNome& aResolvedor);
bool VariantVerdadeiro(const TVariant& aValor);

}  // namespace nFramework
