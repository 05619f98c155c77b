// TUlmoDPGerarArquivosCtb: exports one company's accounting for a period as the four TCE-SC
// fixed-width files (LancamentoContabil, MovimentoContabil, AplicacaoFinanceira, ContaContabil)
// into a folder the user names. The process is the panel and the run: the request it builds
// goes to the collector (ColetaSC_U), whose rows the writer (EscritorSC_U) renders into the
// file set. The work-area variant is the same process without selection keys.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "Classes_U.h"
#include "ColetaSC_U.h"
#include "PowerParam_U.h"

namespace nUlmoSC {

class TUlmoDPGerarArquivosCtb : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtb)
 public:
  TUlmoDPGerarArquivosCtb();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  void DataModuleCreate() override;
  // The panel turned into the run's request: dates, company, court system, options, folder.
  void ValidarDado() override;
  // Builds the request again, gathers the data and writes the four files as one set.
  // REQUIRES: the parameters are set; a connection is open.
  void Executar() override;

  int GetSeqCompet(int ACompet);
  void SetSeqCompet(int ACompet, int ASeq);
  nFramework::TClientDataSet& cdsSeq() { return *FcdsSeq; }

 private:
  TRequisicaoSC MontarRequisicao();

  TRequisicaoSC FRequisicao;
  nFramework::TClientDataSet* FcdsSeq = nullptr;
};

class TUlmoDPGerarArquivosCtbAreaTrabalho : public TUlmoDPGerarArquivosCtb {
  N_CLASSE(TUlmoDPGerarArquivosCtbAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoSC
