#include "UlmoDCTCESistemaEmpresa_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMTCESistemaEmpresa_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCTCESistemaEmpresa::TUlmoDCTCESistemaEmpresa() {
  DeclararTCESistemaEmpresa(*this);
  SetCadCons("TUlmoDMTCESistemaEmpresa");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
  Definicao("CODIGOEMPRESA").Visivel = false;
}

void TUlmoDCTCESistemaEmpresa::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCTCESistemaEmpresa::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCTCESistemaEmpresa>()};

}  // namespace nUlmo
