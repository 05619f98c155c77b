#include "UlmoDMTipoContaCtb_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararTipoContaCtb(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.CODIGOTIPOCONTATCE,t_t.DESCRTIPOCONTATCE,t_t.BANCARIA from TCETIPOCONTACTB t_t "
      "ORDER BY t_t.CodigoSistemaTCE,t_t. CodigoTipoContaTCE");
  ADM.SetCaption("Tipo de Contas Contábeis");
  ADM.SetOrdem("CodigoSistemaTCE, CodigoTipoContaTCE");
  ADM.AddCampo(CampoSistemaTCE());
  ADM.AddCampo({.Nome = "CODIGOTIPOCONTATCE",
                .Tipo = TFieldType::ftSmallint,
                .Obrigatorio = true,
                .Minimo = 1,
                .Maximo = 9999,
                .MensagemFaixa = "Código do tipo da conta inválido!",
                .AutoIncrementar = true});
  ADM.AddCampo({.Nome = "DESCRTIPOCONTATCE",
                .Tipo = TFieldType::ftString,
                .Tamanho = 100,
                .Label = "Descrição",
                .Obrigatorio = true});
  ADM.AddCampo({.Nome = "BANCARIA",
                .Tipo = TFieldType::ftString,
                .Tamanho = 1,
                .Label = "Bancária",
                .Obrigatorio = true,
                .Lista = "Não=0;Sim=1"});
}

TUlmoDMTipoContaCtb::TUlmoDMTipoContaCtb() {
  DeclararTipoContaCtb(*this);
  SetCadCons("TUlmoDCTipoContaCtb");
  SetPodeAlterarChave(false);
}

void TUlmoDMTipoContaCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                           const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMTipoContaCtb::ValidarDado() {
  // Nothing of this register is kept for PR, so its refusal speaks before any field's check.
  RecusarSistemaPR(nClientDataSet().FieldByName("CODIGOSISTEMATCE").AsInteger());
  TnDMClientDataSet::ValidarDado();
}

void TUlmoDMTipoContaCtb::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

void TUlmoDMTipoContaCtbAreaTrabalho::DataModuleCreate() {
  TUlmoDMTipoContaCtb::DataModuleCreate();
  SetTipoForm(ntfAreaTrabalho);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMTipoContaCtb>(), nClasse<TUlmoDMTipoContaCtbAreaTrabalho>()};

}  // namespace nUlmo
