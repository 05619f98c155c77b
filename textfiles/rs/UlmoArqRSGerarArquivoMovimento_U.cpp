#include "UlmoArqRSGerarArquivoMovimento_U.h"

#include "FormatUtils_U.h"
#include "GeneratorFile_U.h"
#include "Mapper_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoParametros_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoRS {

using namespace nFramework;
using namespace nMovimento;

namespace {

// Both sides of the entries, each under the mapping valid on the entry's date; the amount is a
// grouping column, so identical sides are summed into one line. The debit side comes before the
// credit side of the same entry.
std::string SQLMovimento() {
  auto lado = [](const char* conta, const char* origem) {
    std::string c = conta;
    return "select L.CODIGOEMPRESA, L.CHAVELCTOCTB, L." + c + " CONTACTB, TP.CLASSIFCONTA, L.CODIGOLOTECTB, "
           "L.DATALCTOCTB, CAST('" + origem + "' AS VARCHAR(1)) ORIGEM, L.CODIGOORIGLCTOCTB, "
           "CAST(SUM(L.VALORLCTOCTB) AS NUMERIC(14,2)) VALORLCTO, L.CODIGOHISTCTB, L.COMPLHIST from LCTOCTB L "
           "join PLANOESPEC P on L.CODIGOEMPRESA = P.CODIGOEMPRESA and L." + c + " = P.CONTACTB "
           "join TCEPLANOPLESPEC T on T.CODIGOEMPRESA = P.CODIGOEMPRESA and P.CONTACTB = T.CONTACTB and "
           "T.CODIGOSISTEMATCE = :pCodigoSistema and " +
           nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteNaData("T", "L.DATALCTOCTB") +
           " join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE "
           "where L.CODIGOEMPRESA = :pCodigoEmpresa and L.DATALCTOCTB between :pDataInicial and :pDataFinal "
           "and L." + c + " is not null "
           "group by L.CODIGOEMPRESA, L.CHAVELCTOCTB, L." + c + ", TP.CLASSIFCONTA, L.CODIGOLOTECTB, L.DATALCTOCTB, "
           "L.CODIGOORIGLCTOCTB, L.VALORLCTOCTB, L.CODIGOHISTCTB, L.COMPLHIST ";
  };
  return lado("CONTACTBDEB", "D") + "union " + lado("CONTACTBCRED", "C") + "order by 2, 7 desc";
}

}  // namespace

std::unique_ptr<TClientDataSet> TUlmoArqRSGerarArquivoMovimento::CriarMovimento() const {
  return ExecutarSQL(SQLMovimento(), {FCodigoSistema, FCodigoEmpresa, TVariant::FromDate(FDataInicial),
                                     TVariant::FromDate(FDataFinal)});
}

void TUlmoArqRSGerarArquivoMovimento::CarregarDados() {
  CarregarEmpresa();
  curHistoricoCtb = ExecutarSQL("select CODIGOHISTCTB , DESCRHISTCTB from HISTORICOCTB order by CODIGOHISTCTB");
  TMapHistorico& h = FieldMapper().MapearFields<TMapHistorico>(*curHistoricoCtb);
  FHistoricos.clear();
  for (curHistoricoCtb->First(); !curHistoricoCtb->Eof(); curHistoricoCtb->Next())
    FHistoricos.emplace(h.CODIGOHISTCTB->AsString(), h.DESCRHISTCTB->AsString());
  FTipoGrupos = LerGrupos("TIPOGRUPO");
  FItensOrigem = nUlmo::ItensOrigem(FOrigem);
  curSaldo = CriarMovimento();
  curSaldo->First();
}

void TUlmoArqRSGerarArquivoMovimento::PreencherDetalhe(TRecord& record, bool& skip) {
  if (curSaldo->Eof()) {
    skip = true;
    return;
  }
  TMapCurMovim& m = FieldMapper().MapearFields<TMapCurMovim>(*curSaldo);
  TMapRecordMov r;
  RecordMapper().MapearFields(record, r);
  ++FContador;

  std::string classif = m.CLASSIFCONTA->AsString();
  TContextoRS ctx = Contexto(classif + " (conta contábil " + m.CONTACTB->AsString() + ", lançamento " +
                             m.CHAVELCTOCTB->AsString() + ")");
  TDateTime data = m.DATALCTOCTB->AsDateTime();

  r.CONTA->SetAsString(NumeroRS(LimparStrToInteger(classif, "0"), 20, ctx, "CONTA"));
  int64_t lote = 0;
  std::string loteTexto = m.CODIGOLOTECTB->IsNull() ? std::string() : m.CODIGOLOTECTB->AsString();
  if (!m.CODIGOLOTECTB->IsNull() && TryStrToInt64(loteTexto, lote) && lote != 0)
    r.LOTE->SetAsString(NumeroRS(loteTexto, 10, ctx, "LOTE"));
  else
    r.LOTE->SetAsString(NumeroRS(FormatDateTime("yyyymm", data), 10, ctx, "LOTE"));
  r.CHAVELCTO->SetAsString(NumeroRS(m.CHAVELCTOCTB->AsString(), 10, ctx, "CHAVELCTO"));
  r.DATA->SetAsString(FormatDateTime("ddmmyyyy", data));
  r.TIPOLCTO->SetAsString(m.ORIGEM->AsString());
  r.VALOR->SetAsString(ValorRS(m.VALORLCTO->AsFloat(), ctx, "VALOR"));

  std::string historico;
  auto h = FHistoricos.find(m.CODIGOHISTCTB->AsString());
  if (h != FHistoricos.end()) historico = Trim(MontarHist(h->second, m.COMPLHIST->AsString()));
  r.HISTORICO->SetAsString(historico);

  std::string origem = m.CODIGOORIGLCTOCTB->AsString();
  bool zeramento = nUlmo::OrigemNaLista(origem, FItensOrigem);
  if (!zeramento) zeramento = ValorGrupo(FTipoGrupos, Grupo(classif, ctx.Conta), "TIPOGRUPO", ctx.Conta) == 3;
  r.ZERAMENTO->SetAsString(zeramento ? "S" : "N");
}

void TUlmoArqRSGerarArquivoMovimento::ProximoDetalhe(bool& more) {
  curSaldo->Next();
  more = !curSaldo->Eof();
}

void TUlmoArqRSGerarArquivoMovimento::LiberarDados() {
  curSaldo.reset();
  curHistoricoCtb.reset();
  FHistoricos.clear();
}

}  // namespace nUlmoRS
