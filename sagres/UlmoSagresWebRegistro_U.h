// TUlmoSagresWebRegistro: the collector of one kind of record of the SAGRES Web document. It
// queries the month's data and hands typed rows to the writer as they are read.
#pragma once
#include <memory>
#include <string>

#include "Currency_U.h"
#include "EscritorSagres_U.h"
#include "SQL_U.h"
#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebRegistro {
 public:
  virtual ~TUlmoSagresWebRegistro() = default;
  // REQUIRES: a connection is open. Raises on any failure; the rows already handed over stay
  // written.
  virtual void Executar(const TMesSagres& mes, TEscritorSagres& escritor) = 0;

 protected:
  // Opens ACds with ASQL the first time and re-opens it with the new values later.
  static void AbrirDataSet(std::unique_ptr<nFramework::TSQLDataSet>& ACds, const char* ASQL,
                           const nFramework::TValores& AValores);
  // The month's amount of the rule of AItem ("Receita 04"); false when the item is left out. A
  // rule that is not a valid formula, or whose result is not a finite number, is left out with
  // a warning naming the item and the rule, under the month's node of the message controller.
  static bool ValorDaRegra(const TMesSagres& mes, const std::string& AItem, const std::string& AFormula,
                           nFramework::Currency& AValor);
};

}  // namespace nUlmoSagres
