// TUlmoDPTCESagresDespesa: the TCE-SE expense grid "Despesas": one calculation rule per fixed
// expense and cost type of a company, stored in TCESESAGRESDESPESA.
#pragma once
#include <string>
#include <vector>

#include "UlmoDPTCESagresGrid_U.h"

namespace nUlmo {

// The expense and cost types, in grid order.
const std::vector<TItemSagres>& ItensDespesa();

class TUlmoDPTCESagresDespesa : public TUlmoDPTCESagresRegraGrid {
  N_CLASSE(TUlmoDPTCESagresDespesa)
 public:
  TUlmoDPTCESagresDespesa();
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  void CarregarDados() override;
  std::string GetSQLDelete() override;
  std::string GetSQLInsert() override;
};

}  // namespace nUlmo
