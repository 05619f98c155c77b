// TUlmoDMSistema: the register of the court systems (TCESISTEMA): code, name, state and the mask
// of the court chart. Its work-area variant is the master of the accounting module's court work
// area, with the system's chart, account types, movement types, entry origins and linked
// companies as its five details.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of TCESISTEMA, shared by the register and its lookup.
void DeclararSistema(nFramework::TnDMClientDataSet& ADM);
// A CODIGOSISTEMATCE column that names a court system (the court registers' first key field).
nFramework::TnCampoDef CampoSistemaTCE();

class TUlmoDMSistema : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMSistema)
 public:
  TUlmoDMSistema();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE"; }
  void DataModuleCreate() override;
};

class TUlmoDMSistemaAreaTrabalho : public TUlmoDMSistema {
  N_CLASSE(TUlmoDMSistemaAreaTrabalho)
 public:
  void DataModuleCreate() override;
};

}  // namespace nUlmo
