#include "UlmoDMTCEOrigemLctoCtb_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararTCEOrigemLctoCtb(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.CODIGOORIGLCTOCTB,t_t.CODIGOTIPOMOVIMCTB from TCEORIGEMLCTOCTB t_t ORDER BY "
      "t_t.CodigoSistemaTCE,t_t. CodigoOrigLctoCtb");
  ADM.SetCaption("Origem Lançamento");
  ADM.SetOrdem("CodigoSistemaTCE, CodigoOrigLctoCtb");
  ADM.AddCampo(CampoSistemaTCE());
  ADM.AddCampo({.Nome = "CODIGOORIGLCTOCTB",
                .Tipo = TFieldType::ftString,
                .Tamanho = 2,
                .Dicionario = "CODIGOORIGLCTOCTB",
                .Obrigatorio = true,
                .LinkConsulta = "KaloDCOrigemLctoCtb",
                .LinkTabela = "ORIGLCTOCTB"});
  ADM.AddCampo({.Nome = "CODIGOTIPOMOVIMCTB",
                .Tipo = TFieldType::ftSmallint,
                .Dicionario = "CODIGOTIPOMOVIMCTB",
                .Obrigatorio = true,
                .LinkCadastro = "TUlmoDMTipoMovimCtb",
                .LinkConsulta = "TUlmoDCTipoMovimCtb",
                .LinkTabela = "TCETIPOMOVIMCTB",
                .LinkChaves = "CODIGOSISTEMATCE;CODIGOTIPOMOVIMCTB",
                .LinkDirecionaCadastro = false});
}

TUlmoDMTCEOrigemLctoCtb::TUlmoDMTCEOrigemLctoCtb() {
  DeclararTCEOrigemLctoCtb(*this);
  SetCadCons("TUlmoDCTCEOrigemLctoCtb");
  SetPodeAlterarChave(false);
}

void TUlmoDMTCEOrigemLctoCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                               const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMTCEOrigemLctoCtb::ValidarDado() {
  // Nothing of this register is kept for PR, so its refusal speaks before any field's check.
  RecusarSistemaPR(nClientDataSet().FieldByName("CODIGOSISTEMATCE").AsInteger());
  TnDMClientDataSet::ValidarDado();
}

void TUlmoDMTCEOrigemLctoCtb::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

void TUlmoDMTCEOrigemLctoCtbAreaTrabalho::DataModuleCreate() {
  TUlmoDMTCEOrigemLctoCtb::DataModuleCreate();
  SetTipoForm(ntfAreaTrabalho);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMTCEOrigemLctoCtb>(), nClasse<TUlmoDMTCEOrigemLctoCtbAreaTrabalho>()};

}  // namespace nUlmo
