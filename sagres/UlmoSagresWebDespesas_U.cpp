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
    double x;
    if (!regras.ValorDaRegra(formula, x)) continue;
    TXMLDespesa_t d = ListaExecucaoEmpresas.Despesa().Add();
    d.SetTipoDespesa(m.TIPODESPESA->AsInteger());
    d.SetValorDespesaNoMes(Moeda(x));
  }
}

}  // namespace nUlmoSagres
