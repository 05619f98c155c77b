// TUlmoSagresWebPagamentos: one exec:Pagamento per payment of a payable in the month whose invoice
// has a configured CFOP, read row by row: the month's payments are never all in memory.
#pragma once
#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebPagamentos : public TUlmoSagresWebRegistro {
 public:
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
};

}  // namespace nUlmoSagres
