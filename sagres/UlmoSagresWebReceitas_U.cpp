#include "UlmoSagresWebReceitas_U.h"

#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebReceitas::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  AbrirDataSet(FCdsReceitas, "select TIPORECEITA, REGRACALCULOCTB from TCESESAGRESRECEITA where CODIGOEMPRESA = :pCodigoEmpresa order by TIPORECEITA", {cfg.CodigoEmpresa});
  FMapReceitas = std::make_unique<TnMapReceitas>();
  FMapReceitas->Mapear(*FCdsReceitas);
  const TnMapReceitas& m = *FMapReceitas;
  for (FCdsReceitas->First(); !FCdsReceitas->Eof(); FCdsReceitas->Next()) {
    std::string formula = m.REGRACALCULOCTB->AsString();
    Currency x;
    if (!ValorDaRegra("Receita " + Preencher(m.TIPORECEITA->AsString(), 2), formula, x)) continue;
    TXMLReceita_t r = ListaExecucaoEmpresas.Receita().Add();
    r.SetTipoReceita(m.TIPORECEITA->AsInteger());
    r.SetValorArrecadadoNoMes(Moeda(x));
  }
}

}  // namespace nUlmoSagres
