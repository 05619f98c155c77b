// TUlmoDPEnviarArquivosCtbeSFinge: fills the grids of court accounts and entries of one company
// and period ("nClientDataSetConta", "nClientDataSetLcto"); the user marks rows and sends them
// to the e-Sfinge (SOAP before 2022, online from 2022). The work-area variant has no selection keys.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "PowerParam_U.h"
#include "UlmoEsfingeEnvioPedido_U.h"
#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfinge {

class TUlmoDPEnviarArquivosCtbeSFinge : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPEnviarArquivosCtbeSFinge)
 public:
  TUlmoDPEnviarArquivosCtbeSFinge();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  std::string GetFormClass() const override { return "TUlmoFPEnviarArquivoCtbeSFinge"; }
  void DataModuleCreate() override;
  void ValidarDado() override;
  std::vector<std::string> DataSetsGrade() const override { return {"nClientDataSetConta", "nClientDataSetLcto"}; }
  // REQUIRES: ValidarDado has run; a connection is open. Replaces the rows of both grids.
  void Executar() override;
  // Send the marked rows (Enviar = 1) of both grids; raise "Nenhum registro marcado para envio."
  // when no row is marked, before any call to the court.
  void actEnviarInfExecute(void* Sender);
  void actEnviarInfEsfingeOnlineExecute(void* Sender);

  nFramework::TClientDataSet& nClientDataSetConta() { return *FConta; }
  nFramework::TClientDataSet& nClientDataSetLcto() { return *FLcto; }
  int CodigoSistema() const { return FPedido.CodigoSistema; }
  // The online services' factory; the court's own unless replaced (tests use a fake).
  using TFabricaOnline = std::function<std::shared_ptr<nUlmoEsfingeOnline::IFactory>()>;
  void SetFabricaOnline(TFabricaOnline AFabrica) { FFabrica = std::move(AFabrica); }

 private:
  // Raises when neither grid holds a row (the process has not run).
  void VerificarGrades() const;
  // REQUIRES: both grids show only their marked rows. Raises when neither has one.
  void VerificarMarcados() const;

  TPedidoEnvioEsfinge FPedido;  // built by ValidarDado
  nFramework::TClientDataSet* FConta = nullptr;
  nFramework::TClientDataSet* FLcto = nullptr;
  TFabricaOnline FFabrica;
};

class TUlmoDPEnviarArquivosCtbeSFingeAreaTrabalho : public TUlmoDPEnviarArquivosCtbeSFinge {
  N_CLASSE(TUlmoDPEnviarArquivosCtbeSFingeAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoEsfinge
