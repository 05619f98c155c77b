// The field expressions of registers and parameter panels (enabled, required, value rules),
// with names resolved as a panel resolves them and a registered outside function.
#include <optional>
#include <string>

#include "FieldExpression_U.h"
#include "Fuzz_U.h"

using namespace nFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  static const bool registrada = [] {
    FieldExpressionFunctions().RegisterFunction("ECOAR", [](const std::vector<std::string>& aArgs) {
      return aArgs.empty() ? TVariant() : TVariant(aArgs.front());
    });
    return true;
  }();
  (void)registrada;
  const TnResolvedorNome resolvedor = [](const std::string& aNome) -> std::optional<TVariant> {
    if (aNome == "PGERAAPLICFINANCEIRA") return TVariant(1);
    if (aNome == "CODIGOSISTEMATCE") return TVariant(std::string("3"));
    if (aNome == "PDIRETORIO") return TVariant();
    if (aNome == "PVALOR") return TVariant(-2.5);
    return std::nullopt;
  };
  const std::string expressao = nFuzz::Texto(aDados, aTamanho);
  TVariant valor;
  const bool avaliou = nFuzz::Aceita([&] { valor = AvaliarExpressao(expressao, resolvedor); });
  std::string recusa;
  try {
    AvaliarCondicao(expressao, resolvedor);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    recusa = e.what();
    if (avaliou) nFuzz::Falha("uma expressão que se avalia serve de condição", expressao);
    if (!nFuzz::MensagemLimpa(recusa) || recusa.size() > 1000) nFuzz::Falha("a recusa cita a expressão numa linha", recusa);
  }
  return 0;
}
