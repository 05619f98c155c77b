// TUlmoSagresWebRetencoes: one exec:Retencao per tax withheld on an incoming invoice in the month,
// read row by row.
#pragma once
#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebRetencoes : public TUlmoSagresWebRegistro {
 public:
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
};

}  // namespace nUlmoSagres
