// TUlmoDCPatBemTipoDetalhamentoBem: the lookup of the asset detail types of the TCE-PR asset classification.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCPatBemTipoDetalhamentoBem : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCPatBemTipoDetalhamentoBem)
 public:
  TUlmoDCPatBemTipoDetalhamentoBem();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "IDTIPODETALHAMENTOBEM"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
