// TUlmoDMTceESfingeOnlineEnvio: the register of the e-Sfinge online batches sent
// (TCEESFINGEONLINEENVIO), one row per company, month and sequence; the sending process adds
// the rows and marks the cancelled ones.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of TCEESFINGEONLINEENVIO, shared by the register and its lookup.
void DeclararTceESfingeOnlineEnvio(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMTceESfingeOnlineEnvio : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMTceESfingeOnlineEnvio)
 public:
  TUlmoDMTceESfingeOnlineEnvio();
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;COMPETENCIA;SEQ"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
