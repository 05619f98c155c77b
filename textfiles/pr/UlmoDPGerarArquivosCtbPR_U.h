// TUlmoDPGerarArquivosCtbPR: the parameter panel of the TCE-PR files. Validates the period,
// turns the parameters into the driver's request (TUlmoArqPRGerarArquivo) once, and runs it
// inside a read-only transaction. The work-area variant only adds its own menu action.
#pragma once
#include <optional>

#include "PowerParam_U.h"
#include "UlmoArqPRGerarArquivo_U.h"

namespace nUlmoPR {

class TUlmoDPGerarArquivosCtbPR : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtbPR)
 public:
  TUlmoDPGerarArquivosCtbPR();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  void DataModuleCreate() override;
  // Checks the panel and builds the run's request from it.
  void ValidarDado() override;
  // REQUIRES: ValidarDado passed; a connection is open.
  void Executar() override;

 private:
  TRequisicaoPR LerRequisicao() const;

  std::optional<TRequisicaoPR> FRequisicao;
};

class TUlmoDPGerarArquivosCtbPRAreaTrabalho : public TUlmoDPGerarArquivosCtbPR {
  N_CLASSE(TUlmoDPGerarArquivosCtbPRAreaTrabalho)
};

}  // namespace nUlmoPR
