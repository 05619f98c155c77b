// TUlmoDPGerarArquivosCtbPR: the parameter panel of the TCE-PR files. Validates the period,
// converts the parameters for the driver (TUlmoArqPRGerarArquivo) and runs it inside a
// read-only transaction. The work-area variant only adds its own menu action.
#pragma once
#include "PowerParam_U.h"

namespace nUlmoPR {

class TUlmoDPGerarArquivosCtbPR : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtbPR)
 public:
  TUlmoDPGerarArquivosCtbPR();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  void DataModuleCreate() override;
  void ValidarDado() override;
  // REQUIRES: a connection is open.
  void Executar() override;
};

class TUlmoDPGerarArquivosCtbPRAreaTrabalho : public TUlmoDPGerarArquivosCtbPR {
  N_CLASSE(TUlmoDPGerarArquivosCtbPRAreaTrabalho)
};

}  // namespace nUlmoPR
