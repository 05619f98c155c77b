// TUlmoDPTCESESagresReceita: the TCE-SE revenue grid "Receitas": one calculation rule per
// fixed revenue type of a company, stored in TCESESAGRESRECEITA.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "UlmoDPTCESagresGrid_U.h"

namespace nUlmo {

// The revenue types, in grid order.
const std::vector<TItemSagres>& ItensReceita();

class TUlmoDPTCESESagresReceita : public TUlmoDPTCESagresRegraGrid {
  N_CLASSE(TUlmoDPTCESESagresReceita)
 public:
  TUlmoDPTCESESagresReceita();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  void CarregarDados() override;
  std::string GetSQLDelete() override;
  std::string GetSQLInsert() override;
};

}  // namespace nUlmo
