// The data one TCE-PR run shares between its generators: the run's parameters and, loaded once
// on first use, the court chart as mapped for the company, the state chart and the monthly
// balances of both (TSaldoContabilTCE). Datasets handed out stay owned here.
#pragma once
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>
#include <memory>
#include <string>

#include "ClientDataSet_U.h"
#include "DateUtils_U.h"
#include "Progresso_U.h"
#include "SQL_U.h"
#include "SaldoCtbTipado_U.h"
#include "UlmoMaps_U.h"

namespace nUlmoPR {

// Loads balances (through the host's balance process, by its typed call) and charts for a key
// (company, system, period); a second load with the same key does nothing. Catches nothing.
// The charts cover the period: each account under the mapping valid on its last day; a month's
// balances under the mapping valid on the month's last day, the opening balance under the one
// valid on the period's first day (TUlmoSQLs).
// REQUIRES for CarregarSaldoContabil: a connection is open.
class TSaldoContabilTCE {
 public:
  TSaldoContabilTCE() = default;
  ~TSaldoContabilTCE();
  TSaldoContabilTCE(const TSaldoContabilTCE&) = delete;
  TSaldoContabilTCE& operator=(const TSaldoContabilTCE&) = delete;

  int CodigoEmpresa = 0;
  int CodigoSistema = 0;
  nFramework::TDateTime DataInicial = 0;
  nFramework::TDateTime DataFinal = 0;
  int PlanoEstatal = 0;

  void CarregarSaldoContabil();

  // Without loading; nullptr before the first load.
  nFramework::TClientDataSet* PlanoTCE() const { return curPlanoTCE.get(); }
  nFramework::TClientDataSet* SaldoTCE() const { return curSaldoTCE.get(); }
  nFramework::TClientDataSet* PlanoCtbEstatal() const { return FCurPlanoCtbEstatal.get(); }
  nFramework::TClientDataSet* SaldoBalancetePlanoCtbEstatal() const { return FCurSaldoBalancetePlanoEstatal.get(); }
  // How many complete loads ran (a load is what a run pays for once).
  int Carregamentos() const { return FCarregamentos; }

 private:
  // The mapped court chart or the state chart under a validity condition on the mapping "T".
  std::unique_ptr<nFramework::TSQLDataSet> ConsultarPlanoTCE(const std::string& AVigencia) const;
  std::unique_ptr<nFramework::TSQLDataSet> ConsultarPlanoEstatal(const std::string& AVigencia) const;
  // One chart per month of balance rows (by its DATASALDO), indexed by CONTACTB.
  using TPlanosMes = std::map<nFramework::TDateTime, std::unique_ptr<nFramework::TSQLDataSet>>;
  void DiasDoMes(nFramework::TDateTime ADataSaldo, nFramework::TDateTime& AInicio, nFramework::TDateTime& AFim) const;
  // The chart row of the account for the month of ADataSaldo, positioned; nullptr when the
  // account has no mapping valid in that month.
  nFramework::TClientDataSet* LinhaDoMes(TPlanosMes& APlanos, bool AEstatal, nFramework::TDateTime ADataSaldo,
                                         int64_t AConta);
  // Whether no mapping of the company starts or ends strictly inside the period.
  bool MapeamentoSemCorteNoPeriodo() const;
  void CarregarSaldos();
  void CarregarPlanoTCE();
  void CarregarPlanosEstatais();
  void GerarSaldoTCE();
  void GerarSaldoBalanceteEstatal();
  void CompletarContasSuperiores(const std::string& AClassif, const nFramework::TVariant& ANatureza,
                                 const nFramework::TVariant& ASuperavit);

  int FCodigoEmpresaOld = 0;
  int FCodigoSistemaOld = 0;
  nFramework::TDateTime FDataInicialOld = 0;
  nFramework::TDateTime FDataFinalOld = 0;
  int FCarregamentos = 0;

  bool FCarregado = false;
  bool FMesesIguais = false;  // every month under the period's mapping (MapeamentoSemCorteNoPeriodo)
  // The company's monthly balances by account, in month order.
  std::unordered_map<int64_t, std::vector<nUlmoSaldoCtb::TLinhaSaldoCtb>> FSaldosPorConta;
  std::unique_ptr<nFramework::TSQLDataSet> curPlanoTCE;
  std::unique_ptr<nFramework::TSQLDataSet> FCurPlanoCtbEstatal;
  std::unique_ptr<nFramework::TSQLDataSet> FCurBalancetePlanoCtbEstatal;
  std::unique_ptr<nFramework::TClientDataSet> curSaldoTCE;
  std::unique_ptr<nFramework::TClientDataSet> FCurSaldoBalancetePlanoEstatal;
  nUlmoMaps::TMapPlanoTCE FMapPlanoTCE;
  nUlmoMaps::TMapPlanoCtbEstatal FMapPlanoCtbEstatal;
  nUlmoMaps::TMapBalancetePlanoCtbEstatal FMapBalancetePlanoCtbEstatal;
};

// The run's parameters and its loader. Each accessor loads on first use, then hands out the
// loader's dataset: the caller may move its index, range and cursor, and does not free it.
class TUlmoArqPRControleDados {
 public:
  int CodigoEmpresa() const { return FCodigoEmpresa; }
  void SetCodigoEmpresa(int AValor) { FCodigoEmpresa = FSaldo.CodigoEmpresa = AValor; }
  int CodigoSistema() const { return FCodigoSistema; }
  void SetCodigoSistema(int AValor) { FCodigoSistema = FSaldo.CodigoSistema = AValor; }
  nFramework::TDateTime DataInicial() const { return FDataInicial; }
  void SetDataInicial(nFramework::TDateTime AValor) { FDataInicial = FSaldo.DataInicial = AValor; }
  nFramework::TDateTime DataFinal() const { return FDataFinal; }
  void SetDataFinal(nFramework::TDateTime AValor) { FDataFinal = FSaldo.DataFinal = AValor; }
  int PlanoEstatal() const { return FPlanoEstatal; }
  void SetPlanoEstatal(int AValor) { FPlanoEstatal = FSaldo.PlanoEstatal = AValor; }

  int IdPessoa = 0;
  int IdPessoaEntidade = 0;
  int TipoMovimentoCtb = 0;
  std::string PastaDestino;
  nFramework::TnFraProgresso* Progresso = nullptr;  // not owned

  nFramework::TClientDataSet& curPlanoTCE();
  nFramework::TClientDataSet& curSaldoTCE();
  nFramework::TClientDataSet& curPlanoCtbEstatal();
  nFramework::TClientDataSet& curSaldoBalancetePlanoCtbEstatal();

  TSaldoContabilTCE& SaldoContabil() { return FSaldo; }

 private:
  int FCodigoEmpresa = 0;
  int FCodigoSistema = 0;
  nFramework::TDateTime FDataInicial = 0;
  nFramework::TDateTime FDataFinal = 0;
  int FPlanoEstatal = 0;
  TSaldoContabilTCE FSaldo;
};

}  // namespace nUlmoPR
