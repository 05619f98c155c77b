// TUlmoDPConsultaSfingeOnlineDadosEnviados: lists the receipts of the e-Sfinge online packages
// sent for a company and a range of months (its run) and cancels at the court the finished
// packages the user ticks (action "Cancelar Lote"). The work-area variant only changes its
// menu contribution and selection keys.
#pragma once
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "PowerParam_U.h"
#include "UlmoEsfingeOnlineRecord_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoDPConsultaSfingeOnlineDadosEnviados : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPConsultaSfingeOnlineDadosEnviados)
 public:
  TUlmoDPConsultaSfingeOnlineDadosEnviados();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CODIGOSISTEMATCE;CODIGOEMPRESA"; }
  std::string GetFormClass() const override { return "TUlmoFPConsultaSfingeOnlineDadosEnviados"; }
  void DataModuleCreate() override;
  // The company and the range of months, each refused at its parameter, and access values
  // that would write HTTP headers of their own.
  void ValidarDado() override;
  // The list run: load errors become one error message, nothing is raised.
  // REQUIRES: a connection is open.
  void Executar() override;
  std::vector<std::string> DataSetsGrade() const override { return {"nClientDataSet"}; }
  // Cancels the ticked finished rows with the access values of the last list run, then
  // reloads the list. With no finished row ticked it says so (an error) and calls nothing.
  void ActCancelarRemessaExecute();

  nFramework::TClientDataSet& nClientDataSet() { return *FnClientDataSet; }
  const TRecConfig& ConfigParam() const { return FConfigParam; }

 private:
  void MostrarProgresso(const std::string& ATexto);
  void Carregar();
  // False, with the error in the messages, when no finished row is ticked; warns of ticked
  // rows already cancelled, which are not sent again.
  bool VerificarMarcados();

  TRecConfig FConfigParam;
  nFramework::TClientDataSet* FnClientDataSet = nullptr;
};

class TUlmoDPConsultaSfingeOnlineDadosEnviadosAreaTrabalho : public TUlmoDPConsultaSfingeOnlineDadosEnviados {
  N_CLASSE(TUlmoDPConsultaSfingeOnlineDadosEnviadosAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoEsfingeOnline
