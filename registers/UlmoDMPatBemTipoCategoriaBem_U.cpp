#include "UlmoDMPatBemTipoCategoriaBem_U.h"

#include "ClassRegistry_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararPatBemTipoCategoriaBem(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.IDTIPOCATEGORIABEM,t_t.DESCRTIPOCATEGORIABEM from PATBEMTIPOCATEGORIABEM t_t ORDER BY "
      "T_T.IDTIPOCATEGORIABEM");
  ADM.SetCaption("Tipo Categoria Bem");
  ADM.AddCampo({.Nome = "IDTIPOCATEGORIABEM", .Tipo = TFieldType::ftSmallint, .Label = "Categoria do Bem"});
  ADM.AddCampo({.Nome = "DESCRTIPOCATEGORIABEM", .Tipo = TFieldType::ftString, .Tamanho = 200, .Label = "Descrição"});
}

TUlmoDMPatBemTipoCategoriaBem::TUlmoDMPatBemTipoCategoriaBem() {
  DeclararPatBemTipoCategoriaBem(*this);
  SetCadCons("TUlmoDCPatBemTipoCategoriaBem");
}

void TUlmoDMPatBemTipoCategoriaBem::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                     const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMPatBemTipoCategoriaBem::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMPatBemTipoCategoriaBem>()};

}  // namespace nUlmo
