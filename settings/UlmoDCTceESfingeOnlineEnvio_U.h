// TUlmoDCTceESfingeOnlineEnvio: the lookup of the e-Sfinge online batches sent.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCTceESfingeOnlineEnvio : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCTceESfingeOnlineEnvio)
 public:
  TUlmoDCTceESfingeOnlineEnvio();
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;COMPETENCIA;SEQ"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
