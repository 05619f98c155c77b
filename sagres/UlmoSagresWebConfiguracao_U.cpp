#include "UlmoSagresWebConfiguracao_U.h"

#include "FormatUtils_U.h"

namespace nUlmoSagres {

std::string TextoCompetencia(nFramework::TDateTime mes) {
  return "Competência: " + nFramework::FormatDateTime("yyyy/mm", mes);
}

}  // namespace nUlmoSagres
