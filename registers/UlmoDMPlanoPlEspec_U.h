// TUlmoDMPlanoPlEspec: the chart-mapping register (TCEPLANOPLESPEC): an account of the
// company's own chart related to an account of its court system's chart for a validity period,
// with the court attributes of the account. The surplus type is state-dependent (the codes 1, 2,
// 3 and 9 are TCE-PR's, the letters N, F, P and X the other courts'); bank data are required for
// bank account types outside PR, the patrimonial identifier inside.
// In the register the user picks the court system; in the work-area variant, whose selection is
// the company alone, the system follows the company's link (PEGARSISTEMATCE).
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDMPlanoPlEspec : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMPlanoPlEspec)
 public:
  TUlmoDMPlanoPlEspec();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE;CodigoEmpresa"; }
  int PegarTipoObjeto() const override { return 1; }
  void AntesConfigurar(void* AForm) override;
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;CONTACTB;DATAINICIOPLANO"; }
  void ValidarDado() override;
  // Frees CODIGOSISTEMATCE from the company's court system, so the user chooses it.
  virtual void LiberarCampoSistemaTCE();
  void DataModuleCreate() override;

  // The change handler of CODIGOTIPOCONTATCE: the bank columns' rules depend on it.
  void nClientDataSetCODIGOTIPOCONTATCEChange(nFramework::TField& Sender);
};

class TUlmoDMPlanoPlEspecAreaTrabalho : public TUlmoDMPlanoPlEspec {
  N_CLASSE(TUlmoDMPlanoPlEspecAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return "CodigoEmpresa"; }
  // Keeps the system forced to the company's.
  void LiberarCampoSistemaTCE() override {}
};

}  // namespace nUlmo
