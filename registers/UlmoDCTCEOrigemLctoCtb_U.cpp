#include "UlmoDCTCEOrigemLctoCtb_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMTCEOrigemLctoCtb_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCTCEOrigemLctoCtb::TUlmoDCTCEOrigemLctoCtb() {
  DeclararTCEOrigemLctoCtb(*this);
  SetCadCons("TUlmoDMTCEOrigemLctoCtb");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCTCEOrigemLctoCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                               const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCTCEOrigemLctoCtb::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCTCEOrigemLctoCtb>()};

}  // namespace nUlmo
