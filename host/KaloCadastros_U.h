// The accounting module's registers and lookups that the court module opens by name: the
// company's chart of accounts (register TKaloDMPlanoEspec, lookup TKaloDCPlanoEspec) and the
// entry origins (lookup TKaloDCOrigemLctoCtb, found also as "KaloDCOrigemLctoCtb").
#pragma once
#include "DMClientDataSet_U.h"

namespace nHost {

class TKaloDMPlanoEspec : public nFramework::TnDMClientDataSet {
  N_CLASSE(TKaloDMPlanoEspec)
 public:
  TKaloDMPlanoEspec();
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;CONTACTB"; }
};

class TKaloDCPlanoEspec : public TKaloDMPlanoEspec {
  N_CLASSE(TKaloDCPlanoEspec)
 public:
  TKaloDCPlanoEspec();
  int PegarTipoObjeto() const override { return 2; }
};

class TKaloDCOrigemLctoCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TKaloDCOrigemLctoCtb)
 public:
  TKaloDCOrigemLctoCtb();
  std::string ChavePrimaria() const override { return "CODIGOORIGLCTOCTB"; }
  int PegarTipoObjeto() const override { return 2; }
};

}  // namespace nHost
