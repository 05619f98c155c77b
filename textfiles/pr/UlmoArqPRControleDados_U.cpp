#include "UlmoArqPRControleDados_U.h"

#include <algorithm>

#include "FormatUtils_U.h"
#include "Mapper_U.h"
#include "TextUtils_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoPR {

using namespace nFramework;

namespace {


Currency Absoluto(Currency AValor) { return AValor < Currency() ? -AValor : AValor; }

std::vector<std::string> Niveis(std::string_view AClassif) {
  std::vector<std::string> partes;
  size_t inicio = 0;
  while (true) {
    size_t ponto = AClassif.find('.', inicio);
    partes.emplace_back(AClassif.substr(inicio, ponto == std::string_view::npos ? std::string_view::npos : ponto - inicio));
    if (ponto == std::string_view::npos) break;
    inicio = ponto + 1;
  }
  return partes;
}

}  // namespace

TSaldoContabilTCE::~TSaldoContabilTCE() = default;

void TSaldoContabilTCE::CarregarSaldoContabil() {
  if (FCarregado && CodigoEmpresa == FCodigoEmpresaOld && CodigoSistema == FCodigoSistemaOld &&
      DataInicial == FDataInicialOld && DataFinal == FDataFinalOld)
    return;
  CarregarSaldos();
  FMesesIguais = MapeamentoSemCorteNoPeriodo();
  CarregarPlanoTCE();
  CarregarPlanosEstatais();
  GerarSaldoTCE();
  GerarSaldoBalanceteEstatal();
  // Only a complete load takes the key: after a failure the next caller loads everything again.
  FCodigoEmpresaOld = CodigoEmpresa;
  FCodigoSistemaOld = CodigoSistema;
  FDataInicialOld = DataInicial;
  FDataFinalOld = DataFinal;
  FCarregado = true;
  ++FCarregamentos;
}

void TSaldoContabilTCE::CarregarSaldos() {
  FCarregado = false;
  FSaldosPorConta.clear();
  nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
  pedido.CodigoEmpresa = CodigoEmpresa;
  pedido.DataInicial = DataInicial;
  pedido.DataFinal = DataFinal;
  pedido.AgruparData = nUlmoSaldoCtb::TAgruparData::Mes;
  pedido.TotalizarSintetica = true;
  pedido.ListarContasMovimentoZero = false;
  nUlmoSaldoCtb::TSaldoCtbTipado saldos;
  saldos.Executar(pedido);
  saldos.ParaCada([this](const nUlmoSaldoCtb::TLinhaSaldoCtb& l) { FSaldosPorConta[l.ContaCtb].push_back(l); });
}

std::unique_ptr<TSQLDataSet> TSaldoContabilTCE::ConsultarPlanoTCE(const std::string& AVigencia) const {
  return ExecutarSQL(nUlmo::FormatSQL(nUlmo::TUlmoSQLs::GetSQLSelectPlanoTCEVigente(), {AVigencia}),
                     {CodigoSistema, CodigoEmpresa});
}

std::unique_ptr<TSQLDataSet> TSaldoContabilTCE::ConsultarPlanoEstatal(const std::string& AVigencia) const {
  std::string condicao = "T.CODIGOSISTEMATCE = " + ValorParaSQL(CodigoSistema, TFieldType::ftInteger) +
                         " and T.CODIGOEMPRESA = " + ValorParaSQL(CodigoEmpresa, TFieldType::ftInteger) + " and " +
                         AVigencia;
  return ExecutarSQL(nUlmo::FormatSQL(nUlmo::TUlmoSQLs::GetSQLSelectPlanoContabilEstatal(), {condicao}));
}

// The days of a month that lie in the period: its balances count under the mapping of the last.
void TSaldoContabilTCE::DiasDoMes(TDateTime ADataSaldo, TDateTime& AInicio, TDateTime& AFim) const {
  AInicio = std::max(StartOfTheMonth(ADataSaldo), DateOf(DataInicial));
  AFim = std::min(EndOfTheMonth(ADataSaldo), DateOf(DataFinal));
}

bool TSaldoContabilTCE::MapeamentoSemCorteNoPeriodo() const {
  const TVariant ini = TVariant::FromDate(DateOf(DataInicial)), fim = TVariant::FromDate(DateOf(DataFinal));
  auto cortes = ExecutarSQL(
      "select count(*) from TCEPLANOPLESPEC where CODIGOSISTEMATCE = :SISTEMA and CODIGOEMPRESA = :EMPRESA and "
      "((DATAINICIOPLANO > :INI and DATAINICIOPLANO <= :FIM) or (DATAFIMPLANO >= :INI and DATAFIMPLANO < :FIM))",
      {CodigoSistema, CodigoEmpresa, ini, fim});
  return cortes->Fields(0).AsInteger() == 0;
}

TClientDataSet* TSaldoContabilTCE::LinhaDoMes(TPlanosMes& APlanos, bool AEstatal, TDateTime ADataSaldo, int64_t AConta) {
  // With no mapping starting or ending inside the period, every month chooses the mapping
  // the period's last day chooses: one chart serves them all.
  std::unique_ptr<TSQLDataSet>& plano = APlanos[FMesesIguais ? TDateTime(0) : ADataSaldo];
  if (!plano) {
    TDateTime inicio, fim;
    DiasDoMes(ADataSaldo, inicio, fim);
    if (FMesesIguais) inicio = DateOf(DataInicial), fim = DateOf(DataFinal);
    std::string vigencia = nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", inicio, fim);
    plano = AEstatal ? ConsultarPlanoEstatal(vigencia) : ConsultarPlanoTCE(vigencia);
    plano->SetIndexFieldNames("CONTACTB");
  }
  return plano->FindKey({AConta}) ? plano.get() : nullptr;
}

void TSaldoContabilTCE::CarregarPlanoTCE() {
  // The court chart covers the period: each account under the mapping valid on its last day.
  curPlanoTCE.reset();
  curPlanoTCE = ConsultarPlanoTCE(nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", DataInicial, DataFinal));
  FieldMapper().MapearFields(*curPlanoTCE, FMapPlanoTCE);
}

void TSaldoContabilTCE::CarregarPlanosEstatais() {
  std::string condicao = nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", DataInicial, DataFinal);
  std::string condicaoEstatal = condicao;
  if (PlanoEstatal == 2)
    condicaoEstatal += " and T.DATAINICIOPLANO between " + ValorParaSQL(TVariant::FromDate(DataInicial), TFieldType::ftDate) +
                       " and " + ValorParaSQL(TVariant::FromDate(DataFinal), TFieldType::ftDate);
  FCurPlanoCtbEstatal.reset();
  FCurPlanoCtbEstatal = ConsultarPlanoEstatal(condicaoEstatal);
  FieldMapper().MapearFields(*FCurPlanoCtbEstatal, FMapPlanoCtbEstatal);
  FCurBalancetePlanoCtbEstatal.reset();
  FCurBalancetePlanoCtbEstatal = ConsultarPlanoEstatal(condicao);
  FieldMapper().MapearFields(*FCurBalancetePlanoCtbEstatal, FMapBalancetePlanoCtbEstatal);
}

void TSaldoContabilTCE::GerarSaldoTCE() {
  if (curSaldoTCE) {
    curSaldoTCE->EmptyDataSet();
  } else {
    curSaldoTCE = std::make_unique<TClientDataSet>();
    curSaldoTCE->AddFieldDef("DATASALDO", TFieldType::ftDate);
    curSaldoTCE->AddFieldDef("CONTACTB", TFieldType::ftLargeint);
    curSaldoTCE->AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 30);
    curSaldoTCE->AddFieldDef("DESCRICAO", TFieldType::ftString, 255);
    curSaldoTCE->AddFieldDef("NATUREZA", TFieldType::ftString, 1);
    curSaldoTCE->AddFieldDef("SUPERAVITFINANC", TFieldType::ftString, 1);
    curSaldoTCE->AddFieldDef("ESCRITURACAO", TFieldType::ftString, 1);
    curSaldoTCE->AddFieldDef("SALDOANTERIOR", TFieldType::ftCurrency);
    curSaldoTCE->AddFieldDef("DEBITO", TFieldType::ftCurrency);
    curSaldoTCE->AddFieldDef("CREDITO", TFieldType::ftCurrency);
    curSaldoTCE->AddFieldDef("IDENTIFIPATQUALITATIVA", TFieldType::ftSmallint);
    curSaldoTCE->CreateDataSet();
  }
  auto& s = FieldMapper().MapearFields<nUlmoMaps::TMapSaldoTCE>(*curSaldoTCE);
  // A month's balances count under the mapping valid on its last day in the period; the opening
  // balance under the mapping valid on the period's first day. When the two differ, the start
  // month gives two rows: the opening balance alone, and the month's debits and credits alone.
  TPlanosMes planosMes;
  std::unique_ptr<TSQLDataSet> abertura =
      ConsultarPlanoTCE(nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", DataInicial, DataFinal));
  abertura->SetIndexFieldNames("CONTACTB");
  const TDateTime mesInicial = StartOfTheMonth(DataInicial);
  auto adicionar = [&](TClientDataSet& AMapa, TDateTime AData, int64_t AConta, Currency AAnterior, Currency ADebito,
                       Currency ACredito) {
    curSaldoTCE->Append();
    s.DATASALDO->SetAsDateTime(AData);
    s.CLASSIFCONTA->SetValue(AMapa.FieldByName("CLASSIFCONTA").Value());
    s.DESCRICAO->SetValue(AMapa.FieldByName("DESCRCONTA").Value());
    s.NATUREZA->SetValue(AMapa.FieldByName("NATUREZA").Value());
    s.SUPERAVITFINANC->SetValue(AMapa.FieldByName("TIPOSUPERAVITFINANC").Value());
    s.CONTACTB->SetAsInteger(AConta);
    s.IDENTIFIPATQUALITATIVA->SetValue(AMapa.FieldByName("IDENTIFIPATQUALITATIVA").Value());
    s.ESCRITURACAO->SetAsString("S");
    s.SALDOANTERIOR->SetAsCurrency(AAnterior);
    s.DEBITO->SetAsCurrency(ADebito);
    s.CREDITO->SetAsCurrency(ACredito);
    curSaldoTCE->Post();
  };
  auto analitica = [](TClientDataSet& AMapa) { return AMapa.FieldByName("TIPOCONTA").AsInteger() == 2; };

  auto clone = CloneCDS(*curPlanoTCE);
  nUlmoMaps::TMapPlanoTCE p;
  FieldMapper().MapearFields(*clone, p);
  for (clone->First(); !clone->Eof(); clone->Next()) {
    if (p.TIPOCONTA->AsInteger() == 2 && !p.CONTACTB->IsNull()) {
      const int64_t conta = p.CONTACTB->AsLargeInt();
      if (auto linhas = FSaldosPorConta.find(conta); linhas != FSaldosPorConta.end()) {
        for (const nUlmoSaldoCtb::TLinhaSaldoCtb& saldo : linhas->second) {
          TDateTime data = saldo.DataSaldo;
          TClientDataSet* mes = LinhaDoMes(planosMes, false, data, conta);
          Currency anterior = Absoluto(saldo.SaldoAnterior);
          bool aberturaAParte = DateOf(data) == mesInicial && abertura->FindKey({conta}) &&
                                (!mes || mes->FieldByName("DATAINICIOPLANO").AsDateTime() !=
                                             abertura->FieldByName("DATAINICIOPLANO").AsDateTime());
          if (aberturaAParte) {
            if (analitica(*abertura)) adicionar(*abertura, data, conta, anterior, Currency(), Currency());
            anterior = Currency();
          }
          if (mes && analitica(*mes)) adicionar(*mes, data, conta, anterior, saldo.Debito, saldo.Credito);
        }
      }
    }
    CompletarContasSuperiores(p.CLASSIFCONTA->AsString(), p.NATUREZA->Value(), p.TIPOSUPERAVITFINANC->Value());
  }
}

void TSaldoContabilTCE::CompletarContasSuperiores(const std::string& AClassif, const TVariant& ANatureza,
                                                  const TVariant& ASuperavit) {
  if (curPlanoTCE->IndexFieldNames() != "CLASSIFCONTA") curPlanoTCE->SetIndexFieldNames("CLASSIFCONTA");
  std::vector<std::string> partes = Niveis(AClassif);
  for (size_t k = partes.size(); k >= 1; --k) {
    std::string digitos;
    for (size_t i = 0; i < k; ++i) digitos += partes[i];
    std::string candidata = FormatMaskText("9.9.9.9.9.99.99;0;0", digitos);
    if (curPlanoTCE->FindKey({candidata})) continue;
    TVariant conta = PegarValorCampo("TCEPLANO", "CONTATCE,TIPOCONTA,DESCRCONTA",
                                     "CODIGOSISTEMATCE = " + ValorParaSQL(CodigoSistema, TFieldType::ftInteger) +
                                         " AND CLASSIFCONTA = " + ValorParaSQL(candidata, TFieldType::ftString));
    if (conta.IsNull() || conta[0].IsNull()) continue;
    curPlanoTCE->Append();
    FMapPlanoTCE.CONTATCE->SetValue(conta[0]);
    FMapPlanoTCE.TIPOCONTA->SetValue(conta[1]);
    FMapPlanoTCE.DESCRCONTA->SetValue(conta[2]);
    FMapPlanoTCE.CLASSIFCONTA->SetAsString(candidata);
    FMapPlanoTCE.NATUREZA->SetValue(ANatureza);
    FMapPlanoTCE.TIPOSUPERAVITFINANC->SetValue(ASuperavit);
    FMapPlanoTCE.CONTACTB->SetAsInteger(-1);
    curPlanoTCE->Post();
  }
}

void TSaldoContabilTCE::GerarSaldoBalanceteEstatal() {
  if (FCurSaldoBalancetePlanoEstatal) {
    FCurSaldoBalancetePlanoEstatal->EmptyDataSet();
  } else {
    FCurSaldoBalancetePlanoEstatal = std::make_unique<TClientDataSet>();
    auto& d = *FCurSaldoBalancetePlanoEstatal;
    d.AddFieldDef("DATASALDO", TFieldType::ftDate);
    d.AddFieldDef("CONTACTB", TFieldType::ftLargeint);
    d.AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 50);
    d.AddFieldDef("CLASSIFCONTATCE", TFieldType::ftString, 50);
    d.AddFieldDef("DESCRICAO", TFieldType::ftString, 255);
    d.AddFieldDef("SALDOANTERIOR", TFieldType::ftCurrency);
    d.AddFieldDef("DEBITO", TFieldType::ftCurrency);
    d.AddFieldDef("CREDITO", TFieldType::ftCurrency);
    d.CreateDataSet();
  }
  auto& s = FieldMapper().MapearFields<nUlmoMaps::TMapSaldoPlanoContabilEstatal>(*FCurSaldoBalancetePlanoEstatal);
  // Each month under the mapping valid on its last day in the period.
  TPlanosMes planosMes;
  auto clone = CloneCDS(*FCurBalancetePlanoCtbEstatal);
  nUlmoMaps::TMapBalancetePlanoCtbEstatal p;
  FieldMapper().MapearFields(*clone, p);
  for (clone->First(); !clone->Eof(); clone->Next()) {
    if (p.TIPOCONTA->AsInteger() != 2 || p.CONTACTB->IsNull()) continue;
    const int64_t conta = p.CONTACTB->AsLargeInt();
    auto linhas = FSaldosPorConta.find(conta);
    if (linhas == FSaldosPorConta.end()) continue;
    for (const nUlmoSaldoCtb::TLinhaSaldoCtb& saldo : linhas->second) {
      TClientDataSet* mes = LinhaDoMes(planosMes, true, saldo.DataSaldo, conta);
      if (!mes || mes->FieldByName("TIPOCONTA").AsInteger() != 2) continue;
      FCurSaldoBalancetePlanoEstatal->Append();
      s.DATASALDO->SetAsDateTime(saldo.DataSaldo);
      s.CLASSIFCONTA->SetValue(mes->FieldByName("CLASSIFCONTA").Value());
      s.CLASSIFCONTATCE->SetValue(mes->FieldByName("CLASSIFCONTATCE").Value());
      s.DESCRICAO->SetValue(mes->FieldByName("DESCRCONTA").Value());
      s.CONTACTB->SetAsInteger(conta);
      s.SALDOANTERIOR->SetAsCurrency(Absoluto(saldo.SaldoAnterior));
      s.DEBITO->SetAsCurrency(saldo.Debito);
      s.CREDITO->SetAsCurrency(saldo.Credito);
      FCurSaldoBalancetePlanoEstatal->Post();
    }
  }
}

TClientDataSet& TUlmoArqPRControleDados::curPlanoTCE() {
  FSaldo.CarregarSaldoContabil();
  return *FSaldo.PlanoTCE();
}

TClientDataSet& TUlmoArqPRControleDados::curSaldoTCE() {
  FSaldo.CarregarSaldoContabil();
  return *FSaldo.SaldoTCE();
}

TClientDataSet& TUlmoArqPRControleDados::curPlanoCtbEstatal() {
  FSaldo.CarregarSaldoContabil();
  return *FSaldo.PlanoCtbEstatal();
}

TClientDataSet& TUlmoArqPRControleDados::curSaldoBalancetePlanoCtbEstatal() {
  FSaldo.CarregarSaldoContabil();
  return *FSaldo.SaldoBalancetePlanoCtbEstatal();
}

}  // namespace nUlmoPR
