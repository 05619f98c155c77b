// TUlmoDCPlanoPlEspec: the lookup of the chart mapping; each row shows the company account as
// classification, a blank (synthetic) or a point (analytic), and description, and the rows
// keep that order within a company (the fixed-order consultation form).
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCPlanoPlEspec : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCPlanoPlEspec)
 public:
  TUlmoDCPlanoPlEspec();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;CONTACTB;DATAINICIOPLANO"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
