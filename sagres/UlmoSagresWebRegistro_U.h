// TUlmoSagresWebRegistro: a record writer of the SAGRES Web document. It appends its elements to
// the root it is given and reads the company and month from the configuration singleton.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "Currency_U.h"
#include "DateUtils_U.h"
#include "SQL_U.h"
#include "UlmoSagresWebExecEmpBinding_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebRegistro {
 public:
  virtual ~TUlmoSagresWebRegistro() = default;
  // REQUIRES: ListaExecucaoEmpresas is set; a connection is open. Raises on any failure and
  // leaves the records already appended in place.
  virtual void Executar() = 0;

  TXMLListaExecucaoEmpresas_t ListaExecucaoEmpresas;

  // Value rules of the document.
  static std::string Moeda(nFramework::Currency AValor);                      // "0.00", always a point
  static std::string Data(nFramework::TDateTime AData);         // yyyy-mm-dd
  static std::string Preencher(std::string_view s, int n);      // zeros on the left, never cut
  static std::string Cortar(std::string_view s, size_t n);      // the first n characters

 protected:
  // Opens ACds with ASQL the first time and re-opens it with the new values later.
  static void AbrirDataSet(std::unique_ptr<nFramework::TSQLDataSet>& ACds, const char* ASQL,
                           const nFramework::TValores& AValores);
  // The month's amount of the rule of AItem ("Receita 04"); false when the item is left out. A
  // rule that is not a valid formula, or whose result is not a finite number, is left out with
  // a warning naming the item and the rule, under the month's node of the message controller.
  static bool ValorDaRegra(const std::string& AItem, const std::string& AFormula, nFramework::Currency& AValor);
};

}  // namespace nUlmoSagres
