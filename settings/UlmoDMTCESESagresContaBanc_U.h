// TUlmoDMTCESESagresContaBanc: the register of a company's TCE-SE bank accounts
// (TCESESAGRESCONTABANC) and the ledger account of each, read by the SAGRES Web writers. It
// opens for the selected company; the key of a stored account cannot be changed.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDMTCESESagresContaBanc : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMTCESESagresContaBanc)
 public:
  TUlmoDMTCESESagresContaBanc();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoEmpresa"; }
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;CODIGOBANCO;NUMEROAGENCIA;NUMEROCONTA"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
