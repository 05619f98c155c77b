// TUlmoSagresWebPatrimonios: one exec:Patrimonio per asset rule whose formula gives a non-zero amount.
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

// The columns a row is read from.
struct TnMapPatrimonios {
  nFramework::TField* TIPOPATRIMONIO = nullptr;
  nFramework::TField* TIPOLANCAMENTO = nullptr;
  nFramework::TField* REGRACALCULOCTB = nullptr;
  void Mapear(nFramework::TClientDataSet& ACds) {
    TIPOPATRIMONIO = &ACds.FieldByName("TIPOPATRIMONIO");
    TIPOLANCAMENTO = &ACds.FieldByName("TIPOLANCAMENTO");
    REGRACALCULOCTB = &ACds.FieldByName("REGRACALCULOCTB");
  }
};

class TUlmoSagresWebPatrimonios : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
 private:
  std::unique_ptr<nFramework::TSQLDataSet> FCdsPatrimonios;
  std::unique_ptr<TnMapPatrimonios> FMapPatrimonios;
};

}  // namespace nUlmoSagres
