#include "UlmoDCPatBemTipoCategoriaBem_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMPatBemTipoCategoriaBem_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCPatBemTipoCategoriaBem::TUlmoDCPatBemTipoCategoriaBem() {
  DeclararPatBemTipoCategoriaBem(*this);
  SetCadCons("TUlmoDMPatBemTipoCategoriaBem");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCPatBemTipoCategoriaBem::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                     const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCPatBemTipoCategoriaBem::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCPatBemTipoCategoriaBem>()};

}  // namespace nUlmo
