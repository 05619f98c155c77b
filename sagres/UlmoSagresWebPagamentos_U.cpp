#include "UlmoSagresWebPagamentos_U.h"

#include "CursorSQL_U.h"
#include "TextUtils_U.h"

namespace nUlmoSagres {

using namespace nFramework;

namespace {
// Grouped by the payment's own key: the CFOP join gives one row per CFOP of the invoice, and two
// instalments paid on one day for the same amount are still two payments.
const char* const kSQL =
    "select DE.NUMERODUPLICATAENT, DEP.DATAPGTO, DEP.VALORPAGO, MAX(TCEP.NATUREZAPGTO) NATUREZAPGTO, P.INSCRFEDERAL, "
    "P.NOMEPESSOA, LE.DATAEMISSAO, LE.NUMERONF, LE.SERIENF from DUPLICATAENTPGTO DEP join DUPLICATAENT DE on "
    "DE.CODIGOEMPRESA = DEP.CODIGOEMPRESA and DE.CODIGOPESSOA = DEP.CODIGOPESSOA and DE.CHAVEDUPLICATAENT = "
    "DEP.CHAVEDUPLICATAENT join PESSOA P on P.CODIGOPESSOA = DE.CODIGOPESSOA join LCTOFISENT LE on LE.CODIGOEMPRESA = "
    "DE.CODIGOEMPRESA and LE.CHAVELCTOFISENT = DE.CHAVELCTOFISENT join LCTOFISENTCFOP LEC on LEC.CODIGOEMPRESA = "
    "LE.CODIGOEMPRESA and LEC.CHAVELCTOFISENT = LE.CHAVELCTOFISENT join TCESESAGRESPGTO TCEP on TCEP.CODIGOEMPRESA = "
    "LEC.CODIGOEMPRESA and TCEP.CODIGOESTAB = LEC.CODIGOESTAB and TCEP.CODIGOCFOP = LEC.CODIGOCFOP where "
    "DEP.CODIGOEMPRESA = :pCODIGOEMPRESA and DEP.DATAPGTO between :pDataInicial and :pDataFinal group by "
    "DEP.CODIGOPESSOA, DEP.CHAVEDUPLICATAENT, DEP.SEQPGTO, DE.NUMERODUPLICATAENT, DEP.DATAPGTO, DEP.VALORPAGO, "
    "P.INSCRFEDERAL, P.NOMEPESSOA, LE.DATAEMISSAO, LE.NUMERONF, LE.SERIENF order by DE.NUMERODUPLICATAENT, "
    "DEP.DATAPGTO, DEP.CODIGOPESSOA, DEP.CHAVEDUPLICATAENT, DEP.SEQPGTO";
}

void TUlmoSagresWebPagamentos::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TCursorSQL c(Conexao(), kSQL,
               {mes.Requisicao.Empresa, TVariant::FromDate(mes.Inicio), TVariant::FromDate(mes.Fim)});
  TPagamentoSagres p;
  while (c.Proximo()) {
    p.Numero = LimparStrToInteger(c.Texto(0), "");
    p.Data = c.Data(1);
    p.Valor = c.Moeda(2);
    p.Natureza = static_cast<int>(c.Inteiro(3));
    p.CpfCnpjCredor = LimparStrToInscricaoFederal(c.Texto(4), "");
    p.NomeCredor = c.Texto(5);
    p.EmissaoNota = c.Data(6);
    p.NumeroNota = c.Inteiro(7);
    p.SerieNota = c.Texto(8);
    escritor.Pagamento(p);
  }
}

}  // namespace nUlmoSagres
