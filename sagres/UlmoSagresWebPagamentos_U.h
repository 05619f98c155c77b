// TUlmoSagresWebPagamentos: one exec:Pagamento per payment of a payable in the month whose invoice has a configured CFOP.
#pragma once
#include <memory>

#include "UlmoSagresWebRegistro_U.h"

namespace nUlmoSagres {

// The columns a row is read from.
struct TnMapPagamentos {
  nFramework::TField* NUMERODUPLICATAENT = nullptr;
  nFramework::TField* DATAPGTO = nullptr;
  nFramework::TField* VALORPAGO = nullptr;
  nFramework::TField* NATUREZAPGTO = nullptr;
  nFramework::TField* INSCRFEDERAL = nullptr;
  nFramework::TField* NOMEPESSOA = nullptr;
  nFramework::TField* DATAEMISSAO = nullptr;
  nFramework::TField* NUMERONF = nullptr;
  nFramework::TField* SERIENF = nullptr;
  void Mapear(nFramework::TClientDataSet& ACds) {
    NUMERODUPLICATAENT = &ACds.FieldByName("NUMERODUPLICATAENT");
    DATAPGTO = &ACds.FieldByName("DATAPGTO");
    VALORPAGO = &ACds.FieldByName("VALORPAGO");
    NATUREZAPGTO = &ACds.FieldByName("NATUREZAPGTO");
    INSCRFEDERAL = &ACds.FieldByName("INSCRFEDERAL");
    NOMEPESSOA = &ACds.FieldByName("NOMEPESSOA");
    DATAEMISSAO = &ACds.FieldByName("DATAEMISSAO");
    NUMERONF = &ACds.FieldByName("NUMERONF");
    SERIENF = &ACds.FieldByName("SERIENF");
  }
};

class TUlmoSagresWebPagamentos : public TUlmoSagresWebRegistro {
 public:
  void Executar() override;
 private:
  std::unique_ptr<nFramework::TSQLDataSet> FCdsPagamentos;
  std::unique_ptr<TnMapPagamentos> FMapPagamentos;
};

}  // namespace nUlmoSagres
