// TUlmoDMCfgEmpresaTce: the register of the per-company court settings (CFGEMPRESATCE), whose
// one setting is the last e-Sfinge online token. The token is written by the online login only:
// the register shows it and refuses a change of it.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The fields of CFGEMPRESATCE, shared by the register and its lookup.
void DeclararCfgEmpresaTce(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMCfgEmpresaTce : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMCfgEmpresaTce)
 public:
  TUlmoDMCfgEmpresaTce();
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA"; }
  void ValidarDado() override;
  void DataModuleCreate() override;
};

}  // namespace nUlmo
