// TUlmoSagresWebConfiguracao: what the SAGRES record writers read besides the document (the
// company, the month being written, the managing unit, the stores account). One per run.
#pragma once
#include <cstdint>
#include <string>

#include "DateUtils_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebConfiguracao {
 public:
  // The single instance, created on the first call after the last Destruir.
  static TUlmoSagresWebConfiguracao& Instance();
  // Frees the instance; the next Instance starts from zeros.
  static void Destruir();

  int CodigoSistemaTCE = 0;
  nFramework::TDateTime DataInicial = 0;
  nFramework::TDateTime DataFinal = 0;
  int CodigoEmpresa = 0;
  std::string UnidadeGestora;
  int64_t ContaCtbAlmoxarifado = 0;
  std::string PastaDestino;
};

// The heading of a month in the run's messages, "Competência: yyyy/mm"; also the key of its
// node, under which the writers' warnings hang.
std::string TextoCompetencia(nFramework::TDateTime AMes);

}  // namespace nUlmoSagres
