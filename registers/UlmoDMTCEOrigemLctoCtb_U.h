// TUlmoDMTCEOrigemLctoCtb: the register that gives each origin of accounting entries its court
// movement type, per court system (TCEORIGEMLCTOCTB); the TCE-SC files and e-Sfinge type their
// movements by it. TCE-PR does not use it: rows of a PR system are refused.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of TCEORIGEMLCTOCTB, shared by the register and its lookup.
void DeclararTCEOrigemLctoCtb(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMTCEOrigemLctoCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMTCEOrigemLctoCtb)
 public:
  TUlmoDMTCEOrigemLctoCtb();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  int PegarTipoObjeto() const override { return 1; }
  void ValidarDado() override;
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOORIGLCTOCTB"; }
  void DataModuleCreate() override;
};

class TUlmoDMTCEOrigemLctoCtbAreaTrabalho : public TUlmoDMTCEOrigemLctoCtb {
  N_CLASSE(TUlmoDMTCEOrigemLctoCtbAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
