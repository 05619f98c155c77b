// TUlmoDCTipoContaCtb: the lookup of a court system's account types.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCTipoContaCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCTipoContaCtb)
 public:
  TUlmoDCTipoContaCtb();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOTIPOCONTATCE"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
