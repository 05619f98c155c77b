// TUlmoDCTipoMovimCtb: the lookup of a court system's movement types.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCTipoMovimCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCTipoMovimCtb)
 public:
  TUlmoDCTipoMovimCtb();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOTIPOMOVIMCTB"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
