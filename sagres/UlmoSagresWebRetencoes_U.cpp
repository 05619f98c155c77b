#include "UlmoSagresWebRetencoes_U.h"

#include "CursorSQL_U.h"

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

void TUlmoSagresWebRetencoes::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TCursorSQL c(Conexao(), kSQL,
               {mes.Requisicao.Empresa, TVariant::FromDate(mes.Inicio), TVariant::FromDate(mes.Fim)});
  TRetencaoSagres r;
  while (c.Proximo()) {
    r.NumeroNota = c.Inteiro(0);
    r.Data = c.Data(1);
    r.Tipo = c.Texto(2);
    r.Valor = c.Moeda(3);
    escritor.Retencao(r);
  }
}

}  // namespace nUlmoSagres
