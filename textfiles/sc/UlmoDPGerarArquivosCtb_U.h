// TUlmoDPGerarArquivosCtb: exports one company's accounting for a period as the four TCE-SC
// fixed-width files (LancamentoContabil, MovimentoContabil, AplicacaoFinanceira, ContaContabil)
// into a folder the user names. The work-area variant is the same process without selection keys.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "Classes_U.h"
#include "Leiaute_U.h"
#include "PowerParam_U.h"
#include "SQL_U.h"

namespace nUlmoSC {

class TUlmoDPGerarArquivosCtb : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtb)
 public:
  TUlmoDPGerarArquivosCtb();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  void DataModuleCreate() override;
  // The dates, the company and the court system of the run (Executar checks them again).
  void ValidarDado() override;
  // REQUIRES: the parameters are set; a connection is open.
  void Executar() override;

  // The company's mapped accounts valid in the period, each under the mapping valid on the
  // period's last day (the ContaContabil rows). Caller owns it.
  std::unique_ptr<nFramework::TClientDataSet> CriarListaContas(int ACodigoEmpresa);
  // Every mapping row valid in part of the period, in the same columns: the entries are read
  // per row, each under the row valid on its date. Caller owns it.
  std::unique_ptr<nFramework::TClientDataSet> CriarListaMapeamentos(int ACodigoEmpresa);
  // The origins of FCodigoSistema with their court movement types. Caller owns it.
  std::unique_ptr<nFramework::TClientDataSet> CriarListaOrigens();
  // Writes one line per row of ACDS in its current order: 1 ContaContabil (the account list),
  // 2 MovimentoContabil (CDSMovimento), 3 AplicacaoFinanceira (cdsFinanceira).
  void GravarLinhas(nFramework::TClientDataSet& ACDS, nFramework::TEscritorLeiaute& AEscritor, int AFormato);
  int GetSeqCompet(int ACompet);
  void SetSeqCompet(int ACompet, int ASeq);

  nFramework::TClientDataSet& CDSMovimento() { return *FCDSMovimento; }
  nFramework::TClientDataSet& cdsFinanceira() { return *FcdsFinanceira; }
  nFramework::TClientDataSet& cdsSeq() { return *FcdsSeq; }

 protected:
  int FCodigoSistema = 0;
  nFramework::TDateTime FCompetInicial = 0;
  nFramework::TDateTime FCompetFinal = 0;
  bool FGerarContaIncAlt = false;

 private:
  struct TExecucao;
  void ValidarParametros(int& AEmpresa);
  std::unique_ptr<nFramework::TClientDataSet> ListaContas(const std::string& ASQL, const nFramework::TValores& AValores);
  // For each month of the period, the mapping each account's movements count under.
  void CarregarMapeamentosMes(TExecucao& AExec);
  void ProcessarSaldosImplantados(TExecucao& AExec);
  void ProcessarConta(TExecucao& AExec);
  void GravarArquivos(TExecucao& AExec);

  nFramework::TClientDataSet* FCDSMovimento = nullptr;
  nFramework::TClientDataSet* FcdsFinanceira = nullptr;
  nFramework::TClientDataSet* FcdsSeq = nullptr;
};

class TUlmoDPGerarArquivosCtbAreaTrabalho : public TUlmoDPGerarArquivosCtb {
  N_CLASSE(TUlmoDPGerarArquivosCtbAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoSC
