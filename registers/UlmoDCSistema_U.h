// TUlmoDCSistema: the lookup of the court systems, for picking a system in other registers,
// parameter panels and the selection.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCSistema : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCSistema)
 public:
  TUlmoDCSistema();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
