// TUlmoSagresWebReceitas: one exec:Receita per revenue rule whose formula gives a non-zero amount.
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

// The columns a row is read from.
struct TnMapReceitas {
  nFramework::TField* TIPORECEITA = nullptr;
  nFramework::TField* REGRACALCULOCTB = nullptr;
  void Mapear(nFramework::TClientDataSet& ACds) {
    TIPORECEITA = &ACds.FieldByName("TIPORECEITA");
    REGRACALCULOCTB = &ACds.FieldByName("REGRACALCULOCTB");
  }
};

class TUlmoSagresWebReceitas : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
 private:
  std::unique_ptr<nFramework::TSQLDataSet> FCdsReceitas;
  std::unique_ptr<TnMapReceitas> FMapReceitas;
};

}  // namespace nUlmoSagres
