// TUlmoSagresWebReceitas: one exec:Receita per revenue rule whose formula gives a non-zero amount.
#pragma once
#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebReceitas : public TUlmoSagresWebRegistro {
 public:
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
};

}  // namespace nUlmoSagres
