// TUlmoDCTCEOrigemLctoCtb: the lookup of the court movement types of the entry origins.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCTCEOrigemLctoCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCTCEOrigemLctoCtb)
 public:
  TUlmoDCTCEOrigemLctoCtb();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOORIGLCTOCTB"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
