// TUlmoDPTCESagresPatrimonio: the TCE-SE asset grid "Patrimônio": one calculation rule per
// fixed asset type and entry kind ("P" asset value, "D" depreciation) of a company, stored in
// TCESESAGRESPATRIMONIO.
#pragma once
#include <string>
#include <vector>

#include "UlmoDPTCESagresGrid_U.h"

namespace nUlmo {

// The asset types and the entry kinds, in grid order.
const std::vector<TItemSagres>& ItensPatrimonio();
const std::vector<TItemSagres>& ItensTipoLancamento();

class TUlmoDPTCESagresPatrimonio : public TUlmoDPTCESagresRegraGrid {
  N_CLASSE(TUlmoDPTCESagresPatrimonio)
 public:
  TUlmoDPTCESagresPatrimonio();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  void ConfigurarCxGrid() override;
  void CarregarDados() override;
  std::string GetSQLDelete() override;
  std::string GetSQLInsert() override;
};

}  // namespace nUlmo
