#include "UlmoSagresWebConfiguracao_U.h"

#include <memory>

#include "FormatUtils_U.h"

namespace nUlmoSagres {

namespace {
std::unique_ptr<TUlmoSagresWebConfiguracao> gInstancia;
}

TUlmoSagresWebConfiguracao& TUlmoSagresWebConfiguracao::Instance() {
  if (!gInstancia) gInstancia = std::make_unique<TUlmoSagresWebConfiguracao>();
  return *gInstancia;
}

void TUlmoSagresWebConfiguracao::Destruir() { gInstancia.reset(); }

std::string TextoCompetencia(nFramework::TDateTime AMes) {
  return "Competência: " + nFramework::FormatDateTime("yyyy/mm", AMes);
}

}  // namespace nUlmoSagres
