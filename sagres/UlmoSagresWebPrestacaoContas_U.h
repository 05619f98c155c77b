// TUlmoSagresWebPrestacaoContas: writes the month's exec:PrestacaoContas (unit, accountant, manager, dates).
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebPrestacaoContas : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
};

}  // namespace nUlmoSagres
