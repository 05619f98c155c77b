#include "UlmoDCTceESfingeOnlineEnvio_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMTceESfingeOnlineEnvio_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCTceESfingeOnlineEnvio::TUlmoDCTceESfingeOnlineEnvio() {
  DeclararTceESfingeOnlineEnvio(*this);
  SetCaption("Consulta Envio Lote e-Sfinge Online");
  SetCadCons("TUlmoDMTceESfingeOnlineEnvio");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCTceESfingeOnlineEnvio::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCTceESfingeOnlineEnvio>()};

}  // namespace nUlmo
