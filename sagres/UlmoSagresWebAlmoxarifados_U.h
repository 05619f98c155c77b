// TUlmoSagresWebAlmoxarifados: the exec:Almoxarifado of the stores account, when it has balances in the month.
#pragma once
#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebAlmoxarifados : public TUlmoSagresWebRegistro {
 public:
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
};

}  // namespace nUlmoSagres
