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
void Texto(const TField* f, std::string& destino) {
  if (f && !f->IsNull())
    destino.assign(f->AsStringView());
  else
    destino.clear();
}
int Inteiro(const TField* f) { return f && !f->IsNull() ? f->AsInteger() : 0; }
// Bank codes and numbers are texts in some grids: anything that is not a number sends 0.
int InteiroDeTexto(const TField* f) { return StrToIntDef(Trim(Texto(f)), 0); }

int AnoMes(TDateTime d) {
  int ano, mes, dia;
  DecodeDate(d, ano, mes, dia);
  return ano * 100 + mes;
}

// "yyyy-mm-dd" of the date.
void DataIso(TDateTime d, std::string& destino) {
  int ano, mes, dia;
  DecodeDate(d, ano, mes, dia);
  char t[16];
  destino.assign(t, static_cast<size_t>(std::snprintf(t, sizeof t, "%04d-%02d-%02d", ano, mes, dia)));
}

// Leaves the grid on its first row however the reading ends.
class TVoltaAoInicio {
 public:
  explicit TVoltaAoInicio(TClientDataSet& ACds) : FCds(ACds) {}
  ~TVoltaAoInicio() {
    try {
      FCds.First();
    } catch (...) {
    }
  }

 private:
  TClientDataSet& FCds;
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
  if (!FCdsContaCtb || !FCdsLctoCtb) throw EInternalError("dados de envio sem datasets");
  FMeses.clear();
  FMesesLidos.clear();
  if (FCdsLctoCtb->IsEmpty()) return *this;
  CarregarContas();
  ProcurarMeses();
  if (FMeses.empty()) return *this;
  FContasUnicas.Avisar();
  if (FListaEnvioLote)
    for (int anoMes : FMeses) {
      TEnvioLote lote;
      lote.FAnoMes = anoMes;
      lote.FContasContabeis = FContas;
      Percorrer(anoMes, [&lote](const TLancamentoContabil& l) { lote.FLancamentosContabeis.push_back(l); });
      FListaEnvioLote->push_back(std::move(lote));
    }
  return *this;
}

TLoteJson TUlmoEsfingeOnlineGerarDadosEnvio::Lote(int AAnoMes) {
  TLoteJson lote;
  lote.AnoMes = AAnoMes;
  // Room for the month at once: a buffer grown by doubling copies itself over and over.
  for (const TMes& m : FMesesLidos)
    if (m.AnoMes == AAnoMes) lote.Corpo.reserve(FContasJson.size() + 320 * static_cast<size_t>(m.Ultima - m.Primeira + 1));
  lote.Corpo = "[";
  TEscritorLote escritor(lote.Corpo, AAnoMes, FContasJson, static_cast<int>(FContas.size()));
  Percorrer(AAnoMes, [&escritor](const TLancamentoContabil& l) { escritor.Lancamento(l); });
  escritor.Fechar();
  lote.Corpo += ']';
  lote.QuantidadeContas = escritor.QuantidadeContas();
  lote.QuantidadeLancamentos = escritor.QuantidadeLancamentos();
  return lote;
}

void TUlmoEsfingeOnlineGerarDadosEnvio::CarregarContas() {
  FContas.clear();
  FContasJson.clear();
  FContasUnicas = {};
  TMapContas map;
  FieldMapper().MapearFields(*FCdsContaCtb, map);
  TVoltaAoInicio inicio(*FCdsContaCtb);
  for (FCdsContaCtb->First(); !FCdsContaCtb->Eof(); FCdsContaCtb->Next()) {
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
    if (FContasUnicas.Primeira(c.FAnoCriacao, codigo, ObjectToJsonString(c), contaCtb)) FContas.push_back(std::move(c));
  }
  std::stable_sort(FContas.begin(), FContas.end(), [](const TContaContabil& a, const TContaContabil& b) {
    return a.FCodigoContaContabil < b.FCodigoContaContabil;
  });
  for (size_t i = 0; i < FContas.size(); ++i) {
    if (i) FContasJson += ',';
    EscreverJson(FContasJson, FContas[i]);
  }
}

// One pass over the grid: where each month of the period (up to the current month) has rows.
void TUlmoEsfingeOnlineGerarDadosEnvio::ProcurarMeses() {
  const int primeiro = AnoMes(FConfig.CompetenciaInicial);
  const int ultimo = std::min(AnoMes(FConfig.CompetenciaFinal), AnoMes(Now()));
  TMapLctos map;
  FieldMapper().MapearFields(*FCdsLctoCtb, map);
  if (!map.DATALANCAMENTO) return;
  std::vector<int> ultimoSeq;
  TVoltaAoInicio inicio(*FCdsLctoCtb);
  for (FCdsLctoCtb->First(); !FCdsLctoCtb->Eof(); FCdsLctoCtb->Next()) {
    if (map.DATALANCAMENTO->IsNull()) continue;
    const int mes = AnoMes(map.DATALANCAMENTO->AsDateTime());
    if (mes < primeiro || mes > ultimo) continue;
    const int seq = Inteiro(map.NUMEROSEQUENCIAL);
    const int posicao = FCdsLctoCtb->RecNo();
    auto it = std::find_if(FMesesLidos.begin(), FMesesLidos.end(), [mes](const TMes& m) { return m.AnoMes == mes; });
    if (it == FMesesLidos.end()) {
      FMesesLidos.push_back({mes, posicao, posicao, true});
      ultimoSeq.push_back(seq);
      continue;
    }
    int& anterior = ultimoSeq[static_cast<size_t>(it - FMesesLidos.begin())];
    if (seq <= anterior) it->EmOrdem = false;
    anterior = seq;
    it->Ultima = posicao;
  }
  std::sort(FMesesLidos.begin(), FMesesLidos.end(), [](const TMes& a, const TMes& b) { return a.AnoMes < b.AnoMes; });
  for (const TMes& m : FMesesLidos) FMeses.push_back(m.AnoMes);
}

void TUlmoEsfingeOnlineGerarDadosEnvio::Percorrer(int AAnoMes,
                                                  const std::function<void(const TLancamentoContabil&)>& AVisitar) {
  auto it = std::find_if(FMesesLidos.begin(), FMesesLidos.end(), [AAnoMes](const TMes& m) { return m.AnoMes == AAnoMes; });
  if (it == FMesesLidos.end()) throw EInternalError("lote de um mês sem lançamentos: " + std::to_string(AAnoMes));
  const TMes mes = *it;
  TMapLctos map;
  FieldMapper().MapearFields(*FCdsLctoCtb, map);
  TVoltaAoInicio inicio(*FCdsLctoCtb);
  // Rows out of sequence (opening rows among a month's entries) are gathered and sorted; the
  // order among equal numbers is the date's, then the grid's.
  std::vector<std::pair<TDateTime, TLancamentoContabil>> foraDeOrdem;
  TLancamentoContabil l;
  FCdsLctoCtb->First();
  FCdsLctoCtb->MoveBy(mes.Primeira - 1);
  for (; !FCdsLctoCtb->Eof() && FCdsLctoCtb->RecNo() <= mes.Ultima; FCdsLctoCtb->Next()) {
    if (map.DATALANCAMENTO->IsNull()) continue;
    const TDateTime data = map.DATALANCAMENTO->AsDateTime();
    if (AnoMes(data) != AAnoMes) continue;
    l.FAnoCriacao = Inteiro(map.ANOCRIACAOCONTA);
    Texto(map.CODIGOCONTACONTABIL, l.FCodigoContaContabil);
    DataIso(data, l.FDataLancamento);
    Texto(map.HISTORICOLANCAMENTO, l.FHistoricoLancamento);
    l.FNumeroSequencial = Inteiro(map.NUMEROSEQUENCIAL);
    Texto(map.NUMEROSLIP, l.FNumeroSlip);
    l.FTipoLancamento = Inteiro(map.TIPOLANCAMENTO);
    l.FTipoMovimentoContabil = Inteiro(map.TIPOMOVIMENTOCONTABIL);
    l.FValorLancamento = nUlmoEsfinge::ValorEsfinge(map.VALORLANCAMENTO ? map.VALORLANCAMENTO->AsCurrency() : Currency());
    if (mes.EmOrdem)
      AVisitar(l);
    else
      foraDeOrdem.emplace_back(data, l);
  }
  std::stable_sort(foraDeOrdem.begin(), foraDeOrdem.end(), [](const auto& a, const auto& b) {
    if (a.second.FNumeroSequencial != b.second.FNumeroSequencial)
      return a.second.FNumeroSequencial < b.second.FNumeroSequencial;
    return a.first < b.first;
  });
  for (const auto& r : foraDeOrdem) AVisitar(r.second);
}

}  // namespace nUlmoEsfingeOnline
