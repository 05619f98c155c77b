#include "UlmoDCPatBemTipoDetalhamentoBem_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMPatBemTipoDetalhamentoBem_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCPatBemTipoDetalhamentoBem::TUlmoDCPatBemTipoDetalhamentoBem() {
  DeclararPatBemTipoDetalhamentoBem(*this);
  SetCadCons("TUlmoDMPatBemTipoDetalhamentoBem");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCPatBemTipoDetalhamentoBem::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                        const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCPatBemTipoDetalhamentoBem::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCPatBemTipoDetalhamentoBem>()};

}  // namespace nUlmo
