#include "UlmoSagresWebPatrimonios_U.h"

#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebPatrimonios::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  AbrirDataSet(FCdsPatrimonios, "select TIPOPATRIMONIO, TIPOLANCAMENTO, REGRACALCULOCTB from TCESESAGRESPATRIMONIO where CODIGOEMPRESA = :pCODIGOEMPRESA order by TIPOPATRIMONIO, TIPOLANCAMENTO", {cfg.CodigoEmpresa});
  FMapPatrimonios = std::make_unique<TnMapPatrimonios>();
  FMapPatrimonios->Mapear(*FCdsPatrimonios);
  const TnMapPatrimonios& m = *FMapPatrimonios;
  for (FCdsPatrimonios->First(); !FCdsPatrimonios->Eof(); FCdsPatrimonios->Next()) {
    std::string formula = m.REGRACALCULOCTB->AsString();
    Currency x;
    std::string item = "Patrimônio " + m.TIPOPATRIMONIO->AsString() + ", lançamento " + m.TIPOLANCAMENTO->AsString();
    if (!ValorDaRegra(item, formula, x)) continue;
    TXMLPatrimonio_t p = ListaExecucaoEmpresas.Patrimonio().Add();
    p.SetTipoPatrimonio(m.TIPOPATRIMONIO->AsString());
    p.SetTipoLancamento(m.TIPOLANCAMENTO->AsString());
    p.SetVl_Lancamento(Moeda(x));
  }
}

}  // namespace nUlmoSagres
