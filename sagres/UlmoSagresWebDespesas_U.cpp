#include "UlmoSagresWebDespesas_U.h"

#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebDespesas::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  AbrirDataSet(FCdsDespesas, "select TIPODESPESA, REGRACALCULOCTB from TCESESAGRESDESPESA where CODIGOEMPRESA = :pCodigoEmpresa order by TIPODESPESA", {cfg.CodigoEmpresa});
  FMapDespesas = std::make_unique<TnMapDespesas>();
  FMapDespesas->Mapear(*FCdsDespesas);
  const TnMapDespesas& m = *FMapDespesas;
  for (FCdsDespesas->First(); !FCdsDespesas->Eof(); FCdsDespesas->Next()) {
    std::string formula = m.REGRACALCULOCTB->AsString();
    Currency x;
    if (!ValorDaRegra("Despesa " + Preencher(m.TIPODESPESA->AsString(), 2), formula, x)) continue;
    TXMLDespesa_t d = ListaExecucaoEmpresas.Despesa().Add();
    d.SetTipoDespesa(m.TIPODESPESA->AsInteger());
    d.SetValorDespesaNoMes(Moeda(x));
  }
}

}  // namespace nUlmoSagres
