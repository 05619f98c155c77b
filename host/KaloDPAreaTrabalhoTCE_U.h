// TKaloDPAreaTrabalhoTCE: the accounting module's court work area. Its menu entry (module 1)
// heads the work area's category, under which the module's work-area actions name it as their
// container; run, it lists those actions by category and order.
#pragma once
#include <vector>

#include "PowerParam_U.h"

namespace nHost {

class TKaloDPAreaTrabalhoTCE : public nFramework::TnDMPowerParam {
  N_CLASSE(TKaloDPAreaTrabalhoTCE)
 public:
  static constexpr const char* Categoria = "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)";

  TKaloDPAreaTrabalhoTCE();
  void GerarPrincAction(nFramework::TnActionList& aActionList, nFramework::TNotifyEvent aOnExecute,
                        const nFramework::TnPerModulos& aModulos) override;
  // One message per action, under a node per category below the work area's.
  void Executar() override;

  // The actions of the list that name this class as their container, by category and order.
  static std::vector<const nFramework::TnAction*> AcoesDaArea(const nFramework::TnActionList& aActionList);
};

}  // namespace nHost
