// TUlmoSagresWebGerador: owns the eight record writers and runs them in the document's order.
#pragma once
#include <memory>
#include <vector>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebGerador : public TUlmoSagresWebRegistro {
 public:
  // Adds the eight writers: accounts rendered, payments, withholdings, revenues, expenses, bank
  // accounts, assets, stores.
  TUlmoSagresWebGerador();
  void Add(std::unique_ptr<TUlmoSagresWebRegistro> ARegistro);
  // Takes the writer out of the list and frees it.
  void Remove(TUlmoSagresWebRegistro* ARegistro);
  size_t Count() const { return FLstRegistros.size(); }
  TUlmoSagresWebRegistro* Registro(size_t AIndex) const { return FLstRegistros.at(AIndex).get(); }
  // Hands each writer this root and runs it; the first failure stops the walk and propagates.
  void Executar() override;

 private:
  std::vector<std::unique_ptr<TUlmoSagresWebRegistro>> FLstRegistros;
};

}  // namespace nUlmoSagres
