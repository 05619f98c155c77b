// TUlmoDMTipoContaCtb: the register of a court system's account types (TCETIPOCONTACTB); a type
// marked "Bancária" makes the bank data of the chart mapping required. TCE-PR has no account
// types: rows of a PR system are refused.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of TCETIPOCONTACTB, shared by the register and its lookup.
void DeclararTipoContaCtb(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMTipoContaCtb : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMTipoContaCtb)
 public:
  TUlmoDMTipoContaCtb();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  int PegarTipoObjeto() const override { return 1; }
  void ValidarDado() override;
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE;CODIGOTIPOCONTATCE"; }
  void DataModuleCreate() override;
};

class TUlmoDMTipoContaCtbAreaTrabalho : public TUlmoDMTipoContaCtb {
  N_CLASSE(TUlmoDMTipoContaCtbAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
