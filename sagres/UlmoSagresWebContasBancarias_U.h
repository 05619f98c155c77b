// TUlmoSagresWebContasBancarias: one exec:ContaBancaria per configured bank account with balances in the month.
#pragma once
#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebContasBancarias : public TUlmoSagresWebRegistro {
 public:
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
};

}  // namespace nUlmoSagres
