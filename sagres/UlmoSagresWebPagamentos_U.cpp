#include "UlmoSagresWebPagamentos_U.h"

#include "TextUtils_U.h"
#include "UlmoSagresWebConfiguracao_U.h"

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

void TUlmoSagresWebPagamentos::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  AbrirDataSet(FCdsPagamentos, kSQL,
               {cfg.CodigoEmpresa, TVariant::FromDate(cfg.DataInicial), TVariant::FromDate(cfg.DataFinal)});
  FMapPagamentos = std::make_unique<TnMapPagamentos>();
  FMapPagamentos->Mapear(*FCdsPagamentos);
  const TnMapPagamentos& m = *FMapPagamentos;
  for (FCdsPagamentos->First(); !FCdsPagamentos->Eof(); FCdsPagamentos->Next()) {
    TXMLPagamento_t pg = ListaExecucaoEmpresas.Pagamento().Add();
    pg.SetNumeroPagamento(Preencher(Cortar(LimparStrToInteger(m.NUMERODUPLICATAENT->AsString(), ""), 10), 10));
    pg.SetAnoPagamento(YearOf(m.DATAPGTO->AsDateTime()));
    pg.SetDataPagamento(Data(m.DATAPGTO->AsDateTime()));
    pg.SetValorPagamento(Moeda(m.VALORPAGO->AsCurrency()));
    pg.SetNaturezaPagamento(m.NATUREZAPGTO->AsInteger());
    pg.SetCpfCnpjCredor(LimparStrToInscricaoFederal(m.INSCRFEDERAL->AsString(), ""));
    pg.SetNomeRazaoSocialCredor(Cortar(m.NOMEPESSOA->AsString(), 100));
    TXMLNotaFiscal_t_genEmp nf = pg.TipoDocumentoPagamento().NotaFiscal();
    nf.SetDataEmissaoNota(Data(m.DATAEMISSAO->AsDateTime()));
    nf.SetNumeroNotaFiscal(Preencher(std::to_string(m.NUMERONF->AsInteger()), 10));
    nf.SetNrSerieNotaFiscal(Cortar(m.SERIENF->AsString(), 3));
  }
}

}  // namespace nUlmoSagres
