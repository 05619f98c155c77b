#include "UlmoDCTipoContaCtb_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMTipoContaCtb_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCTipoContaCtb::TUlmoDCTipoContaCtb() {
  DeclararTipoContaCtb(*this);
  SetCadCons("TUlmoDMTipoContaCtb");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCTipoContaCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                           const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCTipoContaCtb::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCTipoContaCtb>()};

}  // namespace nUlmo
