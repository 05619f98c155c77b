#include "UlmoDCPlano_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMPlano_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCPlano::TUlmoDCPlano() {
  SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.CONTATCE,t_t.TIPOCONTA,t_t.CLASSIFCONTA,cast(t_t.DESCRCONTA || ' | ' || case "
      "t_t.TIPOCONTA  WHEN 1 then 'S' else 'A' end as varchar(300)) DESCRCONTA,t_t.NATUREZAINFORMACAO,"
      "t_t.INDSUPERAVIT,t_t.TIPOCONTROLECONTA from TCEPLANO t_t ORDER BY T_T.CODIGOSISTEMATCE,T_T.CONTATCE");
  DeclararCamposPlano(*this);
  Definicao("DESCRCONTA").Tamanho = 300;  // the description with the kind appended
  SetCadCons("TUlmoDMPlano");
  SetTipoForm(ntfConGrid);
  SetLogChanges(false);
}

void TUlmoDCPlano::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute, const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCPlano::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCPlano>()};

}  // namespace nUlmo
