// TUlmoSagresWebRetencoes: one exec:Retencao per tax withheld on an incoming invoice in the month.
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

// The columns a row is read from.
struct TnMapRetencoes {
  nFramework::TField* NUMERONF = nullptr;
  nFramework::TField* DATARETIDO = nullptr;
  nFramework::TField* TIPORETENCAO = nullptr;
  nFramework::TField* VALORRETIDO = nullptr;
  void Mapear(nFramework::TClientDataSet& ACds) {
    NUMERONF = &ACds.FieldByName("NUMERONF");
    DATARETIDO = &ACds.FieldByName("DATARETIDO");
    TIPORETENCAO = &ACds.FieldByName("TIPORETENCAO");
    VALORRETIDO = &ACds.FieldByName("VALORRETIDO");
  }
};

class TUlmoSagresWebRetencoes : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
 private:
  std::unique_ptr<nFramework::TSQLDataSet> FCdsRetencoes;
  std::unique_ptr<TnMapRetencoes> FMapRetencoes;
};

}  // namespace nUlmoSagres
