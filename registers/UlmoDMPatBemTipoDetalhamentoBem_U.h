// TUlmoDMPatBemTipoDetalhamentoBem: the register of the asset detail types (PATBEMTIPODETALHAMENTOBEM) that the TCE-PR
// asset classification assigns to assets.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

// The select and fields of PATBEMTIPODETALHAMENTOBEM, shared by the register and its lookup.
void DeclararPatBemTipoDetalhamentoBem(nFramework::TnDMClientDataSet& ADM);

class TUlmoDMPatBemTipoDetalhamentoBem : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDMPatBemTipoDetalhamentoBem)
 public:
  TUlmoDMPatBemTipoDetalhamentoBem();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 1; }
  std::string ChavePrimaria() const override { return "IDTIPODETALHAMENTOBEM"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
