#include "UlmoDireitoUsuario_U.h"

#include "Action_U.h"
#include "PeskPermissoes_U.h"

namespace nUlmo {

using namespace nFramework;

void InstalarDireitoUsuario() {
  FOnGerarPrincActionMods[8] = [](TnActionList& aActionList) { nHost::TPeskPermissoes::PeskDoGerarPrincAction(aActionList); };
}

void DesinstalarDireitoUsuario() { FOnGerarPrincActionMods[8] = nullptr; }

namespace {
// The hook's code lives in this library: left in the framework's table after the library
// unloads, the next rights build (or the table's own destruction) would run unloaded code.
struct TInicializacao {
  TInicializacao() { InstalarDireitoUsuario(); }
  ~TInicializacao() { DesinstalarDireitoUsuario(); }
} gInicializacao;
}  // namespace

}  // namespace nUlmo
