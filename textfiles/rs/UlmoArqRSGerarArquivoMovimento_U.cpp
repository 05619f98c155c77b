#include "UlmoArqRSGerarArquivoMovimento_U.h"

#include <algorithm>
#include <charconv>

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
  FListaPorCodigo.clear();
  FListaFora.clear();
  {
    TCursorSQL m(Conexao(), kSQLMapeamentos, {FCodigoEmpresa, FCodigoSistema});
    int64_t anterior = 0;
    while (m.Proximo()) {
      const int64_t conta = m.Inteiro(0);
      if (FMapeamentos.empty() || conta != anterior) {
        FMapeamentos.emplace_back();
        FListaFora[conta] = FMapeamentos.size() - 1;
        anterior = conta;
      }
      TVigenciaRS v;
      v.Inicio = m.Data(1);
      v.TemFim = !m.Nulo(2);
      v.Fim = v.TemFim ? m.Data(2) : 0;
      v.TemConta = !m.Nulo(3);
      v.ClassifConta = std::string(m.Texto(3));
      FMapeamentos.back().push_back(std::move(v));
    }
  }
  // Charts number their accounts densely: a table by code spares a hash per side of an entry.
  int64_t maior = -1;
  for (const auto& [conta, lista] : FListaFora) maior = std::max(maior, conta);
  if (maior >= 0 && maior < 4 * static_cast<int64_t>(FListaFora.size()) + 1024) {
    FListaPorCodigo.assign(static_cast<size_t>(maior) + 1, -1);
    for (auto it = FListaFora.begin(); it != FListaFora.end();) {
      if (it->first >= 0) {
        FListaPorCodigo[static_cast<size_t>(it->first)] = static_cast<int64_t>(it->second);
        it = FListaFora.erase(it);
      } else {
        ++it;
      }
    }
  }
  FTipoGrupoLido.assign(10, false);
  FTipoGrupoValor.assign(10, 0);
  curSaldo = std::make_unique<TCursorSQL>(Conexao(), kSQLLancamentos, TValores{FCodigoEmpresa, TVariant::FromDate(FDataInicial),
                                                                    TVariant::FromDate(FDataFinal)});
}

const TVigenciaRS* TUlmoArqRSGerarArquivoMovimento::Mapeamento(int64_t conta, TDateTime data) const {
  int64_t lista = -1;
  if (conta >= 0 && conta < static_cast<int64_t>(FListaPorCodigo.size())) {
    lista = FListaPorCodigo[static_cast<size_t>(conta)];
  } else if (auto m = FListaFora.find(conta); m != FListaFora.end()) {
    lista = static_cast<int64_t>(m->second);
  }
  if (lista < 0) return nullptr;
  // The latest start valid on the day: a mapping that starts later and is valid then replaces
  // an earlier one still open.
  for (const TVigenciaRS& v : FMapeamentos[static_cast<size_t>(lista)])
    if (v.Inicio <= data && (!v.TemFim || v.Fim >= data)) return v.TemConta ? &v : nullptr;
  return nullptr;
}

void TUlmoArqRSGerarArquivoMovimento::EscreverDetalhes(TEscritorLeiaute& escritor) {
  TCursorSQL& c = *curSaldo;
  // One entry at a time; its texts keep their buffers from one entry to the next.
  TLinhaMovimentoRS l;
  while (c.Proximo()) {
    l.ChaveLcto = c.Inteiro(0);
    l.TemLote = !c.Nulo(3);
    l.Lote = 0;
    if (l.TemLote) {
      l.LoteTexto.assign(c.Texto(3));
      l.TemLote = TryStrToInt64(l.LoteTexto, l.Lote);
    }
    l.Data = c.Data(4);
    l.OrigemLcto.assign(c.Texto(5));
    l.Valor = c.Moeda(6);
    l.TemHistorico = !c.Nulo(7);
    l.Historico = c.Inteiro(7);
    l.ComplHist.assign(c.Texto(8));
    // What both sides share is worked out once.
    l.HistoricoTexto.clear();
    if (l.TemHistorico)
      if (auto h = FHistoricos.find(l.Historico); h != FHistoricos.end()) l.HistoricoTexto = Trim(MontarHist(h->second, l.ComplHist));
    l.ZeramentoOrigem = nUlmo::OrigemNaLista(l.OrigemLcto, FItensOrigem);
    // The debit side first, then the credit side.
    for (int lado : {1, 2}) {
      if (c.Nulo(lado)) continue;
      l.ContaCtb = c.Inteiro(lado);
      const TVigenciaRS* v = Mapeamento(l.ContaCtb, l.Data);
      if (!v) continue;
      l.ClassifConta = &v->ClassifConta;
      l.Origem = lado == 1 ? "D" : "C";
      Escrever(escritor, l);
    }
  }
}

int TUlmoArqRSGerarArquivoMovimento::TipoGrupo(int grupo, const std::string& conta) {
  const size_t g = static_cast<size_t>(grupo);
  if (!FTipoGrupoLido[g]) {
    FTipoGrupoValor[g] = ValorGrupo(FTipoGrupos, grupo, "TIPOGRUPO", conta);
    FTipoGrupoLido[g] = true;
  }
  return FTipoGrupoValor[g];
}

void TUlmoArqRSGerarArquivoMovimento::Escrever(TEscritorLeiaute& escritor, const TLinhaMovimentoRS& l) {
  ++FContador;
  const std::string& classif = *l.ClassifConta;
  // The line's account for messages: "classification (conta contábil N, lançamento K)".
  std::string& conta = FRotulo;
  char numero[24];
  conta.assign(classif).append(" (conta contábil ");
  conta.append(numero, std::to_chars(numero, numero + sizeof numero, l.ContaCtb).ptr);
  conta.append(", lançamento ");
  conta.append(numero, std::to_chars(numero, numero + sizeof numero, l.ChaveLcto).ptr);
  conta.append(")");
  bool zeramento = l.ZeramentoOrigem;
  if (!zeramento) zeramento = TipoGrupo(Grupo(classif, conta), conta) == 3;
  ConferirValorRS(l.Valor, FNomeArquivo, LayoutMovimento(), conta, "VALOR");

  TLinha& linha = escritor.Linha(LayoutMovimento(), conta);
  linha.Numero(LimparStrToInteger(classif, "0"));
  if (l.TemLote && l.Lote != 0) {
    linha.Numero(l.LoteTexto);
  } else {
    int ano, mes, dia;
    DecodeDate(l.Data, ano, mes, dia);
    linha.Numero(static_cast<int64_t>(ano) * 100 + mes);
  }
  linha.Numero(l.ChaveLcto)
      .Vazio()
      .Data(l.Data)
      .Texto(l.Origem)
      .Valor(l.Valor)
      .Texto(l.HistoricoTexto)
      .Texto(zeramento ? "S" : "N")
      .Gravar();
}

void TUlmoArqRSGerarArquivoMovimento::LiberarDados() {
  curSaldo.reset();
  FMapeamentos.clear();
  FListaPorCodigo.clear();
  FListaFora.clear();
  FHistoricos.clear();
}

}  // namespace nUlmoRS
