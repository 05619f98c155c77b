#include "UlmoSagresWebReceitas_U.h"

#include <cmath>

#include "Exceptions_U.h"
#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebReceitas::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  AbrirDataSet(FCdsReceitas, "select TIPORECEITA, REGRACALCULOCTB from TCESESAGRESRECEITA where CODIGOEMPRESA = :pCodigoEmpresa order by TIPORECEITA", {cfg.CodigoEmpresa});
  FMapReceitas = std::make_unique<TnMapReceitas>();
  FMapReceitas->Mapear(*FCdsReceitas);
  const TnMapReceitas& m = *FMapReceitas;
  for (FCdsReceitas->First(); !FCdsReceitas->Eof(); FCdsReceitas->Next()) {
    std::string formula = m.REGRACALCULOCTB->AsString();
    if (!regras.ValidarFormulaCTB(formula)) continue;
    double x = std::fabs(regras.ExecutarFormulaCTB(formula));
    if (x == 0) continue;
    // A division by zero must not reach the court as "inf" or "nan".
    if (!std::isfinite(x))
      throw Exception("A regra de cálculo \"" + formula + "\" não resultou em um valor numérico.");
    TXMLReceita_t r = ListaExecucaoEmpresas.Receita().Add();
    r.SetTipoReceita(m.TIPORECEITA->AsInteger());
    r.SetValorArrecadadoNoMes(Moeda(x));
  }
}

}  // namespace nUlmoSagres
