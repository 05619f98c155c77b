// TUlmoDMTipoMovimCtb: the register of a court system's movement types (TCETIPOMOVIMCTB), which
// the entry origins point at. TCE-PR has no movement types: rows of a PR system are refused.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of TCETIPOMOVIMCTB, shared by the register and its lookup.
void DeclararTipoMovimCtb(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMTipoMovimCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMTipoMovimCtb)
 public:
  TUlmoDMTipoMovimCtb();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  int PegarTipoObjeto() const override { return 1; }
  void ValidarDado() override;
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOTIPOMOVIMCTB"; }
  void DataModuleCreate() override;
};

class TUlmoDMTipoMovimCtbAreaTrabalho : public TUlmoDMTipoMovimCtb {
  N_CLASSE(TUlmoDMTipoMovimCtbAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
