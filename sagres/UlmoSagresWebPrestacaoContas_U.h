// TUlmoSagresWebPrestacaoContas: the month's exec:PrestacaoContas (unit, accountant, manager, dates).
#pragma once
#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebPrestacaoContas : public TUlmoSagresWebRegistro {
 public:
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
};

}  // namespace nUlmoSagres
