// TUlmoDMPatBemTipoCategoriaBem: the register of the asset category types (PATBEMTIPOCATEGORIABEM) that the TCE-PR
// asset classification assigns to assets.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of PATBEMTIPOCATEGORIABEM, shared by the register and its lookup.
void DeclararPatBemTipoCategoriaBem(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMPatBemTipoCategoriaBem : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMPatBemTipoCategoriaBem)
 public:
  TUlmoDMPatBemTipoCategoriaBem();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "IDTIPOCATEGORIABEM"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
