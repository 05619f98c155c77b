#include "UlmoJobCadastro_U.h"

#include "Nutil_U.h"

void TUlmoJobCadastro::DepoisConverter(void* aSender) {
  nFramework::TnInserirOuAtualizarJobCadastroPadrao::Executar(aSender);
}

namespace {

// Installs the hook on the unit's first initialization only; it is never reset.
struct TInicializacao {
  TInicializacao() {
    static int contador = 0;
    if (contador++ == 0) nFramework::FDepoisConverter = &TUlmoJobCadastro::DepoisConverter;
  }
} gInicializacao;

}  // namespace
