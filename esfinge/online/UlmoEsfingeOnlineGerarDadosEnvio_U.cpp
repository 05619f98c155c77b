#include "UlmoEsfingeOnlineGerarDadosEnvio_U.h"

#include <algorithm>

#include "UlmoEsfingeValor_U.h"
#include "Classes_U.h"
#include "Clock_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "Mapper_U.h"
#include "TextUtils_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoEsfingeOnlineMaps_U.h"
#include "Variant_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

namespace {

std::string Texto(const TField* f) { return f && !f->IsNull() ? f->AsString() : std::string(); }
int Inteiro(const TField* f) { return f && !f->IsNull() ? f->AsInteger() : 0; }
// Bank codes and numbers are texts in some grids: anything that is not a number sends 0.
int InteiroDeTexto(const TField* f) { return StrToIntDef(Trim(Texto(f)), 0); }

// Restores a dataset's index and lifts any range, whatever happens in between.
class TRestauraIndice {
 public:
  explicit TRestauraIndice(TClientDataSet& ACds) : FCds(ACds), FIndice(ACds.IndexFieldNames()) {}
  ~TRestauraIndice() {
    try {
      FCds.CancelRange();
      FCds.SetIndexFieldNames(FIndice);
    } catch (...) {
    }
  }

 private:
  TClientDataSet& FCds;
  std::string FIndice;
};

}  // namespace

std::shared_ptr<IGerarDadosEnvio> TUlmoEsfingeOnlineGerarDadosEnvio::New() {
  return std::make_shared<TUlmoEsfingeOnlineGerarDadosEnvio>();
}

IGerarDadosEnvio& TUlmoEsfingeOnlineGerarDadosEnvio::Config(const TRecConfig& AConfig) {
  FConfig = AConfig;
  return *this;
}

IGerarDadosEnvio& TUlmoEsfingeOnlineGerarDadosEnvio::DataSets(TClientDataSet& ACdsContaCtb, TClientDataSet& ACdsLctoCtb) {
  FCdsContaCtb = &ACdsContaCtb;
  FCdsLctoCtb = &ACdsLctoCtb;
  return *this;
}

IGerarDadosEnvio& TUlmoEsfingeOnlineGerarDadosEnvio::Lista(std::vector<TEnvioLote>& AListaEnvioLote) {
  FListaEnvioLote = &AListaEnvioLote;
  return *this;
}

IGerarDadosEnvio& TUlmoEsfingeOnlineGerarDadosEnvio::Executar() {
  if (!FCdsContaCtb || !FCdsLctoCtb || !FListaEnvioLote) throw EInternalError("dados de envio sem datasets ou lista");
  if (FCdsLctoCtb->IsEmpty()) return *this;
  FDataLote = FConfig.CompetenciaInicial;

  TRestauraIndice restauraLctos(*FCdsLctoCtb);
  TRestauraIndice restauraContas(*FCdsContaCtb);
  FCdsLctoCtb->SetIndexFieldNames("DATALANCAMENTO");
  FCdsContaCtb->SetIndexFieldNames("CODIGOCONTA");
  FListaContaContabil.clear();
  FListaLancamentoContabil.clear();

  const int ultimo = TUlmoEsfingeFuncoes::GetAnoMes(FConfig.CompetenciaFinal);
  const int atual = TUlmoEsfingeFuncoes::GetAnoMes(Now());
  try {
    while (ultimo >= TUlmoEsfingeFuncoes::GetAnoMes(FDataLote) && atual >= TUlmoEsfingeFuncoes::GetAnoMes(FDataLote)) {
      CarregarContas();
      CarregarLancamentos();
      if (!FListaLancamentoContabil.empty()) {
        TEnvioLote lote;
        lote.FAnoMes = TUlmoEsfingeFuncoes::GetAnoMes(FDataLote);
        lote.FContasContabeis = FListaContaContabil;
        std::stable_sort(lote.FContasContabeis.begin(), lote.FContasContabeis.end(),
                         [](const TContaContabil& a, const TContaContabil& b) {
                           return a.FCodigoContaContabil < b.FCodigoContaContabil;
                         });
        lote.FLancamentosContabeis = FListaLancamentoContabil;
        std::stable_sort(lote.FLancamentosContabeis.begin(), lote.FLancamentosContabeis.end(),
                         [](const TLancamentoContabil& a, const TLancamentoContabil& b) {
                           return a.FNumeroSequencial < b.FNumeroSequencial;
                         });
        FListaEnvioLote->push_back(std::move(lote));
      }
      FDataLote = IncMonth(FDataLote, 1);
    }
  } catch (...) {
    FListaContaContabil.clear();
    FListaLancamentoContabil.clear();
    throw;
  }
  FListaContaContabil.clear();
  FListaLancamentoContabil.clear();
  if (!FListaEnvioLote->empty()) FContasUnicas.Avisar();
  return *this;
}

void TUlmoEsfingeOnlineGerarDadosEnvio::CarregarContas() {
  FListaContaContabil.clear();
  FContasUnicas = {};
  TMapContas map;
  FieldMapper().MapearFields(*FCdsContaCtb, map);
  FCdsContaCtb->First();
  while (!FCdsContaCtb->Eof()) {
    TContaContabil c;
    std::string codigo = Texto(map.CODIGOCONTA);
    c.FAnoCriacao = map.DATAINICIOPLANOTCE && !map.DATAINICIOPLANOTCE->IsNull()
                        ? YearOf(map.DATAINICIOPLANOTCE->AsDateTime())
                        : 0;
    c.FCodigoAgencia = InteiroDeTexto(map.CODIGOAGENCIABANCARIA);
    c.FCodigoBanco = InteiroDeTexto(map.CODIGOBANCO);
    c.FCodigoConta = InteiroDeTexto(map.CODIGOCONTABANCARIA);
    c.FCodigoContaContabil = codigo;
    c.FCodigoContaSintetica = PegarContaSinteticaSuperior(codigo);
    std::string descricao = Texto(map.DESCRICAOCONTA);
    c.FNomeConta = Texto(map.NOMECONTA);
    c.FDescricaoConta = descricao.empty() ? c.FNomeConta : descricao;
    c.FIndicativoContaAnalitica = Texto(map.INDICATIVOCONTAANALITICA);
    c.FNumeroNivel = QtdNiveisSemZero(codigo);
    c.FTipoConta = Inteiro(map.TIPOCONTACONTABIL);
    c.FTipoNaturezaSaldo = Inteiro(map.TIPONATUREZASALDO);
    const int64_t contaCtb = map.CONTACTB && !map.CONTACTB->IsNull() ? map.CONTACTB->AsLargeInt() : 0;
    if (FContasUnicas.Primeira(c.FAnoCriacao, codigo, ObjectToJsonString(c), contaCtb))
      FListaContaContabil.push_back(std::move(c));
    FCdsContaCtb->Next();
  }
}

void TUlmoEsfingeOnlineGerarDadosEnvio::CarregarLancamentos() {
  FListaLancamentoContabil.clear();
  TMapLctos map;
  FieldMapper().MapearFields(*FCdsLctoCtb, map);
  TDateTime inicio = StartOfTheMonth(FDataLote);
  TDateTime fim = EndOfTheMonth(FDataLote) + EncodeTime(23, 59, 59, 999);
  FCdsLctoCtb->SetRange({TVariant::FromDate(inicio)}, {TVariant::FromDate(fim)});
  try {
    FCdsLctoCtb->First();
    while (!FCdsLctoCtb->Eof()) {
      TLancamentoContabil l;
      l.FAnoCriacao = Inteiro(map.ANOCRIACAOCONTA);
      l.FCodigoContaContabil = Texto(map.CODIGOCONTACONTABIL);
      l.FDataLancamento = map.DATALANCAMENTO ? FormatDateTime("yyyy-mm-dd", map.DATALANCAMENTO->AsDateTime()) : "";
      l.FHistoricoLancamento = Texto(map.HISTORICOLANCAMENTO);
      l.FNumeroSequencial = Inteiro(map.NUMEROSEQUENCIAL);
      l.FNumeroSlip = Texto(map.NUMEROSLIP);
      l.FTipoLancamento = Inteiro(map.TIPOLANCAMENTO);
      l.FTipoMovimentoContabil = Inteiro(map.TIPOMOVIMENTOCONTABIL);
      l.FValorLancamento = nUlmoEsfinge::ValorEsfinge(map.VALORLANCAMENTO ? map.VALORLANCAMENTO->AsCurrency() : Currency());
      FListaLancamentoContabil.push_back(std::move(l));
      FCdsLctoCtb->Next();
    }
  } catch (...) {
    FCdsLctoCtb->CancelRange();
    throw;
  }
  FCdsLctoCtb->CancelRange();
}

}  // namespace nUlmoEsfingeOnline
