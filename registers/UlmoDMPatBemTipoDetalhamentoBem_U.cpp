#include "UlmoDMPatBemTipoDetalhamentoBem_U.h"

#include "ClassRegistry_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararPatBemTipoDetalhamentoBem(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.IDTIPODETALHAMENTOBEM,t_t.DESCRICAO from PATBEMTIPODETALHAMENTOBEM t_t ORDER BY "
      "T_T.IDTIPODETALHAMENTOBEM");
  ADM.SetCaption("Tipo Detalhamento Bem");
  ADM.AddCampo({.Nome = "IDTIPODETALHAMENTOBEM", .Tipo = TFieldType::ftSmallint, .Label = "Detalhamento do Bem"});
  ADM.AddCampo({.Nome = "DESCRICAO", .Tipo = TFieldType::ftString, .Tamanho = 200, .Label = "Descrição"});
}

TUlmoDMPatBemTipoDetalhamentoBem::TUlmoDMPatBemTipoDetalhamentoBem() {
  DeclararPatBemTipoDetalhamentoBem(*this);
  SetCadCons("TUlmoDCPatBemTipoDetalhamentoBem");
}

void TUlmoDMPatBemTipoDetalhamentoBem::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                        const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMPatBemTipoDetalhamentoBem::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMPatBemTipoDetalhamentoBem>()};

}  // namespace nUlmo
