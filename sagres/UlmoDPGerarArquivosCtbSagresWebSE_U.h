// TUlmoDPGerarArquivosCtbSagresWebSE: exports a company's period to TCE-SE as one zipped SAGRES
// Web document "ExecucaoEmpresas" per calendar month, each in a folder "yyyy_mm" under the
// target folder. Each month's document streams into its archive's entry, and the archive is
// put in place when the month is complete. A failed month is an error under its node, and the
// next month goes on. The work-area variant is the same process without selection keys.
#pragma once
#include <string>

#include "PowerParam_U.h"
#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

class TUlmoDPGerarArquivosCtbSagresWebSE : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtbSagresWebSE)
 public:
  TUlmoDPGerarArquivosCtbSagresWebSE();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  void DataModuleCreate() override;
  // Dates, company, unit, stores account, folder, and the company's link to a TCE-SE system,
  // checked into the run's request.
  void ValidarDado() override;
  // REQUIRES: ValidarDado passed; a connection is open.
  void Executar() override;

  const TRequisicaoSagres& Requisicao() const { return FRequisicao; }

 protected:
  TRequisicaoSagres MontarRequisicao();

  TRequisicaoSagres FRequisicao;
  nFramework::TnMsgNode* FMsgTreeNodeItem = nullptr;
};

class TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho : public TUlmoDPGerarArquivosCtbSagresWebSE {
  N_CLASSE(TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoSagres
