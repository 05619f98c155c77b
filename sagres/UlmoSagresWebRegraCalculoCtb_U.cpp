#include "UlmoSagresWebRegraCalculoCtb_U.h"

#include <memory>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"

namespace nUlmoSagres {

using namespace nFramework;

namespace {
int AnoMes(TDateTime d) { return YearOf(d) * 100 + MonthOf(d); }

nUlmoSaldoCtb::TPedidoSaldoCtb Pedido(int empresa, TDateTime inicio, TDateTime fim) {
  nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
  pedido.CodigoEmpresa = empresa;
  pedido.DataInicial = inicio;
  pedido.DataFinal = fim;
  // The closing entries (origin ZZ) would zero the result accounts the rules read.
  pedido.ConsiderarFiltroLctoCtb = true;
  pedido.FiltroOrigemLcto = {"ZZ"};
  return pedido;
}

std::unique_ptr<TClientDataSet> NovoMes() {
  auto d = std::make_unique<TClientDataSet>();
  d->AddFieldDef("CONTACTB", TFieldType::ftLargeint);
  d->AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 30);
  d->AddFieldDef("TIPOCONTA", TFieldType::ftSmallint);
  d->AddFieldDef("DESCRCONTA", TFieldType::ftString, 100);
  for (const char* n : {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"})
    d->AddFieldDef(n, TFieldType::ftCurrency);
  d->CreateDataSet();
  return d;
}
}  // namespace

TUlmoSagresWebRegraCalculoCtb::TUlmoSagresWebRegraCalculoCtb() { FRegra.RegistrarCTB(); }

TUlmoSagresWebRegraCalculoCtb::~TUlmoSagresWebRegraCalculoCtb() { FRegra.SetcdsPlano(nullptr); }

void TUlmoSagresWebRegraCalculoCtb::ExecutarGerarSaldoCtb(int empresa, TDateTime inicio, TDateTime fim) {
  // Until the new balances stand, nothing may read last month's.
  FSaldos = nullptr;
  FRegra.SetcdsPlano(nullptr);
  if (auto it = FMeses.find(AnoMes(inicio)); it != FMeses.end()) {
    FSaldos = it->second.get();
  } else {
    FSaldo.Executar(Pedido(empresa, inicio, fim));
    FSaldos = &FSaldo.Dados();
  }
  FSaldos->SetIndexFieldNames("CONTACTB");
  FRegra.SetcdsPlano(FSaldos);
}

bool TUlmoSagresWebRegraCalculoCtb::PrepararPeriodo(int empresa, TDateTime inicio, TDateTime fim) {
  FMeses.clear();
  FSaldos = nullptr;
  FRegra.SetcdsPlano(nullptr);
  auto primeiroDoMes = ExecutarSQL(
      "select count(*) from IMPLSALDOCTB where CODIGOEMPRESA = :pCodigoEmpresa and DATASALDO > :pDataInicial and "
      "DATASALDO <= :pDataFinal and EXTRACT(DAY FROM DATASALDO) = 1",
      {empresa, TVariant::FromDate(inicio), TVariant::FromDate(fim)});
  if (primeiroDoMes->Fields(0).AsInteger() > 0) return false;

  struct TValores {
    const nUlmoSaldoCtb::TLinhaSaldoCtb* Conta = nullptr;
    Currency Anterior, Debito, Credito, Movimento;
  };
  std::map<std::pair<int, int64_t>, TValores> valores;  // (yyyymm, account)
  nUlmoSaldoCtb::TPedidoSaldoCtb semFiltro = Pedido(empresa, inicio, fim);
  semFiltro.AgruparData = nUlmoSaldoCtb::TAgruparData::Mes;
  semFiltro.ConsiderarFiltroLctoCtb = false;
  nUlmoSaldoCtb::TPedidoSaldoCtb comFiltro = Pedido(empresa, inicio, fim);
  comFiltro.AgruparData = nUlmoSaldoCtb::TAgruparData::Mes;
  std::vector<nUlmoSaldoCtb::TLinhaSaldoCtb> aberturas, movimentos;
  try {
    aberturas = nUlmoSaldoCtb::GerarSaldoCtbTipado(semFiltro);
    movimentos = nUlmoSaldoCtb::GerarSaldoCtbTipado(comFiltro);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception&) {
    return false;
  }
  for (const auto& l : aberturas) {
    TValores& v = valores[{AnoMes(l.DataSaldo), l.ContaCtb}];
    v.Conta = &l;
    v.Anterior = l.SaldoAnterior;
  }
  for (const auto& l : movimentos) {
    TValores& v = valores[{AnoMes(l.DataSaldo), l.ContaCtb}];
    if (!v.Conta) v.Conta = &l;
    v.Debito = l.Debito;
    v.Credito = l.Credito;
    v.Movimento = l.Movimento;
  }
  for (const auto& [chave, v] : valores) {
    std::unique_ptr<TClientDataSet>& mes = FMeses[chave.first];
    if (!mes) mes = NovoMes();
    mes->AppendRecord({TVariant(v.Conta->ContaCtb), TVariant(v.Conta->ClassifConta), TVariant(v.Conta->TipoConta),
                       TVariant(v.Conta->DescrConta), TVariant(v.Anterior), TVariant(v.Debito), TVariant(v.Credito),
                       TVariant(v.Movimento), TVariant(v.Anterior + v.Movimento)});
  }
  for (auto& [chave, mes] : FMeses) mes->SetIndexFieldNames("CONTACTB");
  return true;
}

bool TUlmoSagresWebRegraCalculoCtb::EncontrarContaCTB(int64_t AConta) {
  if (!FSaldos) throw EInternalError("Saldos contábeis consultados antes de serem apurados");
  return FSaldos->FindKey({TVariant(AConta)});
}

Currency TUlmoSagresWebRegraCalculoCtb::GetSaldoContaCTB(int ATipo) const {
  static const char* const kColunas[] = {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"};
  if (ATipo < 0 || ATipo > 4 || !FSaldos) return Currency();
  return FSaldos->FieldByName(kColunas[ATipo]).AsCurrency();
}

TUlmoSagresWebRegraCalculoCtb::TnResultadoRegra TUlmoSagresWebRegraCalculoCtb::ValorDaRegra(
    const std::string& AFormula, Currency& AValor) const {
  AValor = Currency();
  if (Trim(AFormula).empty()) return TnResultadoRegra::SemRegra;
  if (!ValidarFormulaCTB(AFormula)) return TnResultadoRegra::Invalida;
  Currency x;
  try {
    x = ExecutarFormulaCTB(AFormula);
  } catch (const EFormulaSemValor&) {
    return TnResultadoRegra::NaoNumerica;
  }
  if (x < Currency()) x = -x;
  if (x == Currency()) return TnResultadoRegra::Zero;
  AValor = x;
  return TnResultadoRegra::Valor;
}

}  // namespace nUlmoSagres
