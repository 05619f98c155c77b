#include "UlmoSagresWebDespesas_U.h"

#include <cmath>

#include "Exceptions_U.h"
#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebDespesas::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  AbrirDataSet(FCdsDespesas, "select TIPODESPESA, REGRACALCULOCTB from TCESESAGRESDESPESA where CODIGOEMPRESA = :pCodigoEmpresa order by TIPODESPESA", {cfg.CodigoEmpresa});
  FMapDespesas = std::make_unique<TnMapDespesas>();
  FMapDespesas->Mapear(*FCdsDespesas);
  const TnMapDespesas& m = *FMapDespesas;
  for (FCdsDespesas->First(); !FCdsDespesas->Eof(); FCdsDespesas->Next()) {
    std::string formula = m.REGRACALCULOCTB->AsString();
    if (!regras.ValidarFormulaCTB(formula)) continue;
    double x = std::fabs(regras.ExecutarFormulaCTB(formula));
    if (x == 0) continue;
    // A division by zero must not reach the court as "inf" or "nan".
    if (!std::isfinite(x))
      throw Exception("A regra de cálculo \"" + formula + "\" não resultou em um valor numérico.");
    TXMLDespesa_t d = ListaExecucaoEmpresas.Despesa().Add();
    d.SetTipoDespesa(m.TIPODESPESA->AsInteger());
    d.SetValorDespesaNoMes(Moeda(x));
  }
}

}  // namespace nUlmoSagres
