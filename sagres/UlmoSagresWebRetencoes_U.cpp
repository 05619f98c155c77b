#include "UlmoSagresWebRetencoes_U.h"

#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

using namespace nFramework;

namespace {
// The kinds of one note and day come in the order of their codes, on either engine.
const char* const kSQL =
    "select * from (select NUMERONF, DATALCTOFIS DATARETIDO, cast('1' as Varchar(2)) TIPORETENCAO, VALORISSQN VALORRETIDO from "
    "LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATALCTOFIS between :pDataInicial and :pDataFinal and "
    "VALORISSQN <> 0  union all  select NUMERONF, DATAIRRF DATARETIDO, cast('2' as Varchar(2)) TIPORETENCAO, VALORIRRF "
    "VALORRETIDO from LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATAIRRF between :pDataInicial and "
    ":pDataFinal and not DATAIRRF is null and VALORIRRF <> 0  union all  select NUMERONF, DATALCTOFIS DATARETIDO, "
    "cast('6' as Varchar(2)) TIPORETENCAO, VALORINSS VALORRETIDO from LCTOFISENTRETIDO where CODIGOEMPRESA = "
    ":pCodigoEmpresa and DATALCTOFIS between :pDataInicial and :pDataFinal and VALORINSS <> 0  union all  select "
    "NUMERONF, DATAPGTOPISCOFINSCSLL DATARETIDO, cast('22' as Varchar(2)) TIPORETENCAO, TOTALPISCOFINSCSLL VALORRETIDO "
    "from LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATAPGTOPISCOFINSCSLL between :pDataInicial and "
    ":pDataFinal and not DATAPGTOPISCOFINSCSLL is null and TOTALPISCOFINSCSLL <> 0) R order by NUMERONF, DATARETIDO, "
    "cast(TIPORETENCAO as integer)";
}

void TUlmoSagresWebRetencoes::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  AbrirDataSet(FCdsRetencoes, kSQL,
               {cfg.CodigoEmpresa, TVariant::FromDate(cfg.DataInicial), TVariant::FromDate(cfg.DataFinal)});
  FMapRetencoes = std::make_unique<TnMapRetencoes>();
  FMapRetencoes->Mapear(*FCdsRetencoes);
  const TnMapRetencoes& m = *FMapRetencoes;
  for (FCdsRetencoes->First(); !FCdsRetencoes->Eof(); FCdsRetencoes->Next()) {
    TXMLRetencao_t r = ListaExecucaoEmpresas.Retencao().Add();
    r.SetNumeroPagamento(Preencher(std::to_string(m.NUMERONF->AsInteger()), 10));
    r.SetAnoPagamento(YearOf(m.DATARETIDO->AsDateTime()));
    r.SetTipoRetencao(m.TIPORETENCAO->AsString());
    r.SetValorRetencao(Moeda(m.VALORRETIDO->AsCurrency()));
  }
}

}  // namespace nUlmoSagres
