// TUlmoSagresWebGerador: the collector of a month's document. It owns the eight record
// collectors and runs them in the document's order, each handing its rows to the writer.
#pragma once
#include <memory>
#include <vector>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebGerador : public TUlmoSagresWebRegistro {
 public:
  // Adds the eight collectors: accounts rendered, payments, withholdings, revenues, expenses,
  // bank accounts, assets, stores.
  TUlmoSagresWebGerador();
  void Add(std::unique_ptr<TUlmoSagresWebRegistro> ARegistro);
  // Takes the collector out of the list and frees it.
  void Remove(TUlmoSagresWebRegistro* ARegistro);
  size_t Count() const { return FLstRegistros.size(); }
  TUlmoSagresWebRegistro* Registro(size_t AIndex) const { return FLstRegistros.at(AIndex).get(); }
  // Runs each collector over the month; the first failure stops the walk and propagates.
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override;
  // The month's whole document rendered into `saida`, which is left for its owner to commit.
  void GerarDocumento(const TMesSagres& mes, nFramework::IOutputSink& saida);

 private:
  std::vector<std::unique_ptr<TUlmoSagresWebRegistro>> FLstRegistros;
};

}  // namespace nUlmoSagres
