#include "UlmoSagresWebConfiguracao_U.h"

#include <memory>

namespace nUlmoSagres {

namespace {
std::unique_ptr<TUlmoSagresWebConfiguracao> gInstancia;
}

TUlmoSagresWebConfiguracao& TUlmoSagresWebConfiguracao::Instance() {
  if (!gInstancia) gInstancia = std::make_unique<TUlmoSagresWebConfiguracao>();
  return *gInstancia;
}

void TUlmoSagresWebConfiguracao::Destruir() { gInstancia.reset(); }

}  // namespace nUlmoSagres
