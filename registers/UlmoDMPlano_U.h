// TUlmoDMPlano: the register of a court system's chart of accounts (TCEPLANO). The three
// columns of additional information are TCE-PR's: filled and required for a PR system, emptied
// for any other. The work-area variant is a detail of the court work area's system.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The fields of TCEPLANO (the select is the caller's), shared by the register and its lookup.
void DeclararCamposPlano(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMPlano : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMPlano)
 public:
  TUlmoDMPlano();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CONTATCE"; }
  void DataModuleCreate() override;
};

// The master of the work area supplies the system, so it asks for no selection.
class TUlmoDMPlanoAreaTrabalho : public TUlmoDMPlano {
  N_CLASSE(TUlmoDMPlanoAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
