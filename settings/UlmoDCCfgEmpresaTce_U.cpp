#include "UlmoDCCfgEmpresaTce_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMCfgEmpresaTce_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCCfgEmpresaTce::TUlmoDCCfgEmpresaTce() {
  SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.TOKENESFINGE from CFGEMPRESATCE t_t ORDER BY T_T.CODIGOEMPRESA");
  DeclararCfgEmpresaTce(*this);
  SetCadCons("TUlmoDMCfgEmpresaTce");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCCfgEmpresaTce::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCCfgEmpresaTce>()};

}  // namespace nUlmo
