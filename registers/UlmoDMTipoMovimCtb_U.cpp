#include "UlmoDMTipoMovimCtb_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararTipoMovimCtb(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.CODIGOTIPOMOVIMCTB,t_t.DESCRTIPOMOVIM from TCETIPOMOVIMCTB t_t ORDER BY "
      "t_t.CodigoSistemaTCE,t_t. CodigoTipoMovimCtb");
  ADM.SetCaption("Tipo Movimento Contábil");
  ADM.SetOrdem("CodigoSistemaTCE, CodigoTipoMovimCtb");
  ADM.AddCampo(CampoSistemaTCE());
  ADM.AddCampo({.Nome = "CODIGOTIPOMOVIMCTB",
                .Tipo = TFieldType::ftSmallint,
                .Obrigatorio = true,
                .Minimo = 1,
                .Maximo = 9999,
                .MensagemFaixa = "Código do tipo do movimento inválido!",
                .AutoIncrementar = true});
  ADM.AddCampo({.Nome = "DESCRTIPOMOVIM",
                .Tipo = TFieldType::ftString,
                .Tamanho = 100,
                .Label = "Descrição",
                .Obrigatorio = true});
}

TUlmoDMTipoMovimCtb::TUlmoDMTipoMovimCtb() {
  DeclararTipoMovimCtb(*this);
  SetCadCons("TUlmoDCTipoMovimCtb");
  SetPodeAlterarChave(false);
}

void TUlmoDMTipoMovimCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                           const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMTipoMovimCtb::ValidarDado() {
  // Nothing of this register is kept for PR, so its refusal speaks before any field's check.
  RecusarSistemaPR(nClientDataSet().FieldByName("CODIGOSISTEMATCE").AsInteger());
  TnDMClientDataSet::ValidarDado();
}

void TUlmoDMTipoMovimCtb::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

void TUlmoDMTipoMovimCtbAreaTrabalho::DataModuleCreate() {
  TUlmoDMTipoMovimCtb::DataModuleCreate();
  SetTipoForm(ntfAreaTrabalho);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMTipoMovimCtb>(), nClasse<TUlmoDMTipoMovimCtbAreaTrabalho>()};

}  // namespace nUlmo
