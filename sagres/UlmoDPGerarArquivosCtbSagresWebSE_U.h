// TUlmoDPGerarArquivosCtbSagresWebSE: exports a company's period to TCE-SE as one zipped SAGRES
// Web document "ExecucaoEmpresas" per calendar month, each in a folder "yyyy_mm" under the
// target folder. A failed month is an error under its node, and the next month goes on.
// The work-area variant is the same process without selection keys.
#pragma once
#include <cstdint>
#include <string>

#include "DateUtils_U.h"
#include "PowerParam_U.h"

namespace nUlmoSagres {

// The court's host in the document's namespace URIs.
inline constexpr const char* kHostSagres = "www.tce.se.gov.br";

class TUlmoDPGerarArquivosCtbSagresWebSE : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtbSagresWebSE)
 public:
  TUlmoDPGerarArquivosCtbSagresWebSE();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  void DataModuleCreate() override;
  // Dates, company, unit, stores account, folder, and the company's link to a TCE-SE system.
  void ValidarDado() override;
  // REQUIRES: ValidarDado passed; a connection is open.
  void Executar() override;

 protected:
  int FCodigoSistemaTCE = 0;
  nFramework::TDateTime FDataInicial = 0;
  nFramework::TDateTime FDataFinal = 0;
  int FCodigoEmpresa = 0;
  std::string FUnidadeGestora;
  int64_t FContaCtbAlmoxarifado = 0;
  std::string FPastaDestino;
  nFramework::TnMsgNode* FMsgTreeNodeItem = nullptr;
};

class TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho : public TUlmoDPGerarArquivosCtbSagresWebSE {
  N_CLASSE(TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoSagres
