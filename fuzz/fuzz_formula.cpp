// The calculation rules' formulas (REGRACALCULOCTB), stored by a user and read back on every
// SAGRES run: what the rule check accepts must evaluate (or say it has no value over these
// balances, as a division by zero), and what it refuses must not.
#include <string>

#include "Fuzz_U.h"
#include "RegraBaseCalculo_U.h"

using namespace nFramework;

namespace {

struct TSaldos {
  TClientDataSet Plano;
  TnDMRegraBaseCalculo Regra;
  TSaldos() {
    Plano.AddFieldDef("CONTACTB", TFieldType::ftLargeint);
    for (const char* campo : {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"})
      Plano.AddFieldDef(campo, TFieldType::ftCurrency);
    Plano.CreateDataSet();
    Plano.AppendRecord({101, 1500.25, 300.0, 120.5, 179.5, 1679.75});
    Plano.AppendRecord({101, 10.0, 0.0, 0.0, 0.0, 10.0});
    Plano.AppendRecord({205, 0.0, 0.0, 0.0, 0.0, 0.0});
    // Near the largest amount a balance holds, so sums and products leave the range.
    Plano.AppendRecord({37, -42.0, 900000000000000.0, -900000000000000.0, 0.0, 0.0001});
    Regra.RegistrarCTB();
    Regra.SetcdsPlano(&Plano);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  static TSaldos saldos;
  const std::string formula = nFuzz::Texto(aDados, aTamanho);
  const bool valida = saldos.Regra.ValidarFormulaCTB(formula);
  const std::string motivo = saldos.Regra.MotivoFormulaInvalida(formula);
  if (motivo.empty() != valida || !nFuzz::MensagemLimpa(motivo)) nFuzz::Falha("o motivo da recusa acompanha a validação", formula);
  bool executou = true;
  try {
    saldos.Regra.ExecutarFormulaCTB(formula);
  } catch (const EInternalError&) {
    throw;
  } catch (const EFormulaSemValor& e) {
    if (!valida) nFuzz::Falha("uma regra inválida é recusada ao calcular", formula);
    if (!nFuzz::MensagemLimpa(e.what())) nFuzz::Falha("a recusa de uma regra fica numa linha de UTF-8", e.what());
  } catch (const Exception& e) {
    executou = false;
    if (!nFuzz::MensagemLimpa(e.what())) nFuzz::Falha("a recusa de uma regra fica numa linha de UTF-8", e.what());
  }
  if (valida != executou)
    nFuzz::Falha(valida ? "uma regra válida é calculada" : "uma regra inválida é recusada ao calcular", formula);
  return 0;
}
