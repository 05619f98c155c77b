#include "UlmoArqRSGerarArquivoMovimento_U.h"

#include "FormatUtils_U.h"
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

void TUlmoArqRSGerarArquivoMovimento::EscreverDetalhes(TEscritorLeiaute& escritor) {
  for (bool tem = curSaldo->Proximo(); tem; tem = curSaldo->Proximo()) Escrever(escritor, LerLinha());
}

void TUlmoArqRSGerarArquivoMovimento::Escrever(TEscritorLeiaute& escritor, const TLinhaMovimentoRS& l) {
  ++FContador;
  const std::string conta = l.ClassifConta + " (conta contábil " + std::to_string(l.ContaCtb) + ", lançamento " +
                            std::to_string(l.ChaveLcto) + ")";
  std::string historico;
  if (l.TemHistorico)
    if (auto h = FHistoricos.find(l.Historico); h != FHistoricos.end())
      historico = Trim(MontarHist(h->second, l.ComplHist));
  bool zeramento = nUlmo::OrigemNaLista(l.OrigemLcto, FItensOrigem);
  if (!zeramento) zeramento = ValorGrupo(FTipoGrupos, Grupo(l.ClassifConta, conta), "TIPOGRUPO", conta) == 3;
  ConferirValorRS(l.Valor, FNomeArquivo, LayoutMovimento(), conta, "VALOR");

  TLinha& linha = escritor.Linha(LayoutMovimento(), conta);
  linha.Numero(LimparStrToInteger(l.ClassifConta, "0"));
  if (l.TemLote && l.Lote != 0)
    linha.Numero(l.LoteTexto);
  else
    linha.Numero(FormatDateTime("yyyymm", l.Data));
  linha.Numero(l.ChaveLcto)
      .Vazio()
      .Data(l.Data)
      .Texto(l.Origem)
      .Valor(l.Valor)
      .Texto(historico)
      .Texto(zeramento ? "S" : "N")
      .Gravar();
}

void TUlmoArqRSGerarArquivoMovimento::LiberarDados() {
  curSaldo.reset();
  FColunas.clear();
  FHistoricos.clear();
}

}  // namespace nUlmoRS
