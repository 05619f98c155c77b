#include "UlmoJobCadastro_U.h"

#include "Nutil_U.h"

void TUlmoJobCadastro::DepoisConverter(void* ASender) {
  nFramework::TnInserirOuAtualizarJobCadastroPadrao::Executar(ASender);
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
