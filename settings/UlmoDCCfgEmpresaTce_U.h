// TUlmoDCCfgEmpresaTce: the lookup of the per-company court settings (CFGEMPRESATCE).
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCCfgEmpresaTce : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCCfgEmpresaTce)
 public:
  TUlmoDCCfgEmpresaTce();
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
