#include "UlmoDCSistema_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCSistema::TUlmoDCSistema() {
  DeclararSistema(*this);
  SetCadCons("TUlmoDMSistema");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCSistema::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                      const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCSistema::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCSistema>()};

}  // namespace nUlmo
