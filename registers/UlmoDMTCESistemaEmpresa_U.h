// TUlmoDMTCESistemaEmpresa: the register that links a company to its court system
// (TCESISTEMAEMPRESA), read by every court run through GetSistemaTCE and by PEGARSISTEMATCE. A
// company has one link: a company already linked is refused, even when its own row is edited;
// a link is changed by deleting it and inserting the new one. It is also the fifth detail of the
// court work area.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of TCESISTEMAEMPRESA, shared by the register and its lookup.
void DeclararTCESistemaEmpresa(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMTCESistemaEmpresa : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMTCESistemaEmpresa)
 public:
  TUlmoDMTCESistemaEmpresa();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 1; }
  void ValidarDado() override;
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOEMPRESA"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
