// TUlmoDCTCESistemaEmpresa: the lookup of the company links; it shows the court system, the
// company being the caller's.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCTCESistemaEmpresa : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCTCESistemaEmpresa)
 public:
  TUlmoDCTCESistemaEmpresa();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOEMPRESA"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
