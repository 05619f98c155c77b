#include "UlmoArqRSGerarArquivoMovimento_U.h"

#include "FormatUtils_U.h"
#include "Mapper_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoParametros_U.h"

namespace nUlmoRS {

using namespace nFramework;
using namespace nMovimento;

namespace {

// The period's entries by key, read in one scan; each side is mapped here, from the mappings
// loaded once, rather than by a join per side and a sort of both sides together.
const char* const kSQLLancamentos =
    "select L.CHAVELCTOCTB, L.CONTACTBDEB, L.CONTACTBCRED, L.CODIGOLOTECTB, L.DATALCTOCTB, L.CODIGOORIGLCTOCTB, "
    "L.VALORLCTOCTB, L.CODIGOHISTCTB, L.COMPLHIST from LCTOCTB L where L.CODIGOEMPRESA = :pCodigoEmpresa and "
    "L.DATALCTOCTB between :pDataInicial and :pDataFinal order by L.CHAVELCTOCTB";

// Every mapping of the company's accounts in the court system, with the court account's
// classification (null when the court chart lacks the account), latest start first.
const char* const kSQLMapeamentos =
    "select T.CONTACTB, T.DATAINICIOPLANO, T.DATAFIMPLANO, TP.CLASSIFCONTA from TCEPLANOPLESPEC T "
    "left join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE "
    "where T.CODIGOEMPRESA = :pCodigoEmpresa and T.CODIGOSISTEMATCE = :pCodigoSistema "
    "order by T.CONTACTB, T.DATAINICIOPLANO desc";

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
  FMapeamentos.clear();
  {
    TCursorSQL m(Conexao(), kSQLMapeamentos, {FCodigoEmpresa, FCodigoSistema});
    while (m.Proximo()) {
      TVigenciaRS v;
      v.Inicio = m.Data(1);
      v.TemFim = !m.Nulo(2);
      v.Fim = v.TemFim ? m.Data(2) : 0;
      v.TemConta = !m.Nulo(3);
      v.ClassifConta = std::string(m.Texto(3));
      FMapeamentos[m.Inteiro(0)].push_back(std::move(v));
    }
  }
  curSaldo = std::make_unique<TCursorSQL>(Conexao(), kSQLLancamentos, TValores{FCodigoEmpresa, TVariant::FromDate(FDataInicial),
                                                                    TVariant::FromDate(FDataFinal)});
}

const TVigenciaRS* TUlmoArqRSGerarArquivoMovimento::Mapeamento(int64_t conta, TDateTime data) const {
  auto m = FMapeamentos.find(conta);
  if (m == FMapeamentos.end()) return nullptr;
  // The latest start valid on the day: a mapping that starts later and is valid then replaces
  // an earlier one still open.
  for (const TVigenciaRS& v : m->second)
    if (v.Inicio <= data && (!v.TemFim || v.Fim >= data)) return v.TemConta ? &v : nullptr;
  return nullptr;
}

void TUlmoArqRSGerarArquivoMovimento::EscreverDetalhes(TEscritorLeiaute& escritor) {
  TCursorSQL& c = *curSaldo;
  while (c.Proximo()) {
    TLinhaMovimentoRS l;
    l.ChaveLcto = c.Inteiro(0);
    l.TemLote = !c.Nulo(3);
    if (l.TemLote) {
      l.LoteTexto = std::string(c.Texto(3));
      l.TemLote = TryStrToInt64(l.LoteTexto, l.Lote);
    }
    l.Data = c.Data(4);
    l.OrigemLcto = std::string(c.Texto(5));
    l.Valor = c.Moeda(6);
    l.TemHistorico = !c.Nulo(7);
    l.Historico = c.Inteiro(7);
    l.ComplHist = std::string(c.Texto(8));
    // The debit side first, then the credit side.
    for (int lado : {1, 2}) {
      if (c.Nulo(lado)) continue;
      l.ContaCtb = c.Inteiro(lado);
      const TVigenciaRS* v = Mapeamento(l.ContaCtb, l.Data);
      if (!v) continue;
      l.ClassifConta = v->ClassifConta;
      l.Origem = lado == 1 ? "D" : "C";
      Escrever(escritor, l);
    }
  }
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
  FMapeamentos.clear();
  FHistoricos.clear();
}

}  // namespace nUlmoRS
