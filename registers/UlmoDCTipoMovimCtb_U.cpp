#include "UlmoDCTipoMovimCtb_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMTipoMovimCtb_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCTipoMovimCtb::TUlmoDCTipoMovimCtb() {
  DeclararTipoMovimCtb(*this);
  SetCadCons("TUlmoDMTipoMovimCtb");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCTipoMovimCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                           const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCTipoMovimCtb::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCTipoMovimCtb>()};

}  // namespace nUlmo
