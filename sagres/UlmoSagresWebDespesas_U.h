// TUlmoSagresWebDespesas: one exec:Despesa per expense rule whose formula gives a non-zero amount.
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

// The columns a row is read from.
struct TnMapDespesas {
  nFramework::TField* TIPODESPESA = nullptr;
  nFramework::TField* REGRACALCULOCTB = nullptr;
  void Mapear(nFramework::TClientDataSet& ACds) {
    TIPODESPESA = &ACds.FieldByName("TIPODESPESA");
    REGRACALCULOCTB = &ACds.FieldByName("REGRACALCULOCTB");
  }
};

class TUlmoSagresWebDespesas : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
 private:
  std::unique_ptr<nFramework::TSQLDataSet> FCdsDespesas;
  std::unique_ptr<TnMapDespesas> FMapDespesas;
};

}  // namespace nUlmoSagres
