// TUlmoSagresWebContasBancarias: one exec:ContaBancaria per configured bank account with balances in the month.
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

// The columns a row is read from.
struct TnMapContaBanc {
  nFramework::TField* CODIGOBANCO = nullptr;
  nFramework::TField* NUMEROAGENCIA = nullptr;
  nFramework::TField* NUMEROCONTA = nullptr;
  nFramework::TField* CONTACTB = nullptr;
  void Mapear(nFramework::TClientDataSet& ACds) {
    CODIGOBANCO = &ACds.FieldByName("CODIGOBANCO");
    NUMEROAGENCIA = &ACds.FieldByName("NUMEROAGENCIA");
    NUMEROCONTA = &ACds.FieldByName("NUMEROCONTA");
    CONTACTB = &ACds.FieldByName("CONTACTB");
  }
};

class TUlmoSagresWebContasBancarias : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
 private:
  std::unique_ptr<nFramework::TSQLDataSet> FCdsContaBanc;
  std::unique_ptr<TnMapContaBanc> FMapContaBanc;
};

}  // namespace nUlmoSagres
