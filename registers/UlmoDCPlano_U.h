// TUlmoDCPlano: the lookup of the court chart; its description carries the account kind
// (" | S" synthetic, " | A" analytic) so a picker tells them apart.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCPlano : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCPlano)
 public:
  TUlmoDCPlano();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CONTATCE"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
