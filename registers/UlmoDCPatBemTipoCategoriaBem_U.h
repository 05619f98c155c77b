// TUlmoDCPatBemTipoCategoriaBem: the lookup of the asset category types of the TCE-PR asset classification.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nUlmo {

class TUlmoDCPatBemTipoCategoriaBem : public nFramework::TnDMClientDataSet {
  N_CLASSE(TUlmoDCPatBemTipoCategoriaBem)
 public:
  TUlmoDCPatBemTipoCategoriaBem();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  int PegarTipoObjeto() const override { return 2; }
  std::string ChavePrimaria() const override { return "IDTIPOCATEGORIABEM"; }
  void DataModuleCreate() override;
};

}  // namespace nUlmo
