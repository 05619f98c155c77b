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

void TUlmoArqRSGerarArquivoMovimento::CarregarDados() {
  CarregarEmpresa();
  {
    std::unique_ptr<TClientDataSet> historicos =
        ExecutarSQL("select CODIGOHISTCTB , DESCRHISTCTB from HISTORICOCTB order by CODIGOHISTCTB");
    TMapHistorico& h = FieldMapper().MapearFields<TMapHistorico>(*historicos);
    FHistoricos.clear();
    for (historicos->First(); !historicos->Eof(); historicos->Next())
      FHistoricos.emplace(h.CODIGOHISTCTB->AsLargeInt(), h.DESCRHISTCTB->AsString());
  }
  FTipoGrupos = LerGrupos("TIPOGRUPO");
  FItensOrigem = nUlmo::ItensOrigem(FOrigem);
  curSaldo = std::make_unique<TCursorSQL>(SQLMovimento(), TValores{FCodigoSistema, FCodigoEmpresa,
                                                                    TVariant::FromDate(FDataInicial),
                                                                    TVariant::FromDate(FDataFinal)});
  FTemLinha = curSaldo->Proximo();
}

TLinhaMovimentoRS TUlmoArqRSGerarArquivoMovimento::LerLinha() {
  TCursorSQL& c = *curSaldo;
  static const char* const kColunas[] = {"CHAVELCTOCTB", "CONTACTB", "CLASSIFCONTA", "CODIGOLOTECTB", "DATALCTOCTB",
                                         "ORIGEM", "CODIGOORIGLCTOCTB", "VALORLCTO", "CODIGOHISTCTB", "COMPLHIST"};
  if (FColunas.empty())
    for (const char* n : kColunas) FColunas.push_back(c.Coluna(n));
  const std::vector<int>& k = FColunas;
  TLinhaMovimentoRS l;
  l.ChaveLcto = c.Inteiro(k[0]);
  l.ContaCtb = c.Inteiro(k[1]);
  l.ClassifConta = c.Texto(k[2]);
  l.TemLote = !c.Nulo(k[3]);
  if (l.TemLote) {
    l.LoteTexto = c.Texto(k[3]);
    l.TemLote = TryStrToInt64(l.LoteTexto, l.Lote);
  }
  l.Data = c.Data(k[4]);
  l.Origem = c.Texto(k[5]);
  l.OrigemLcto = c.Texto(k[6]);
  l.Valor = c.Moeda(k[7]);
  l.TemHistorico = !c.Nulo(k[8]);
  l.Historico = c.Inteiro(k[8]);
  l.ComplHist = c.Texto(k[9]);
  return l;
}

void TUlmoArqRSGerarArquivoMovimento::PreencherDetalhe(TRecord& record, bool& skip) {
  if (!FTemLinha) {
    skip = true;
    return;
  }
  const TLinhaMovimentoRS l = LerLinha();
  TMapRecordMov r;
  RecordMapper().MapearFields(record, r);
  ++FContador;

  TContextoRS ctx = Contexto(l.ClassifConta + " (conta contábil " + std::to_string(l.ContaCtb) + ", lançamento " +
                             std::to_string(l.ChaveLcto) + ")");
  r.CONTA->SetAsString(NumeroRS(LimparStrToInteger(l.ClassifConta, "0"), 20, ctx, "CONTA"));
  if (l.TemLote && l.Lote != 0)
    r.LOTE->SetAsString(NumeroRS(l.LoteTexto, 10, ctx, "LOTE"));
  else
    r.LOTE->SetAsString(NumeroRS(FormatDateTime("yyyymm", l.Data), 10, ctx, "LOTE"));
  r.CHAVELCTO->SetAsString(NumeroRS(std::to_string(l.ChaveLcto), 10, ctx, "CHAVELCTO"));
  r.DATA->SetAsString(FormatDateTime("ddmmyyyy", l.Data));
  r.TIPOLCTO->SetAsString(l.Origem);
  r.VALOR->SetAsString(ValorRS(l.Valor, ctx, "VALOR"));

  std::string historico;
  if (l.TemHistorico)
    if (auto h = FHistoricos.find(l.Historico); h != FHistoricos.end())
      historico = Trim(MontarHist(h->second, l.ComplHist));
  r.HISTORICO->SetAsString(historico);

  bool zeramento = nUlmo::OrigemNaLista(l.OrigemLcto, FItensOrigem);
  if (!zeramento) zeramento = ValorGrupo(FTipoGrupos, Grupo(l.ClassifConta, ctx.Conta), "TIPOGRUPO", ctx.Conta) == 3;
  r.ZERAMENTO->SetAsString(zeramento ? "S" : "N");
}

void TUlmoArqRSGerarArquivoMovimento::ProximoDetalhe(bool& more) {
  FTemLinha = curSaldo->Proximo();
  more = FTemLinha;
}

void TUlmoArqRSGerarArquivoMovimento::LiberarDados() {
  curSaldo.reset();
  FTemLinha = false;
  FColunas.clear();
  FHistoricos.clear();
}

}  // namespace nUlmoRS
