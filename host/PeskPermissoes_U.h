// TPeskPermissoes: the product family's user-rights generator. A module's rights hook hands it
// the module's action list; it records the right of every action that controls rights, which
// the rights screens then offer to each user.
#pragma once
#include <string>
#include <vector>

#include "Action_U.h"

namespace nHost {

struct TDireitoAcao {
  std::string Acao;  // the action's name: "act" + class
  std::string Caption;
  std::string Categoria;
};

class TPeskPermissoes {
 public:
  // Records (or updates) the right of each action of the list whose rights are controlled;
  // the others are open to every user and get none.
  static void PeskDoGerarPrincAction(nFramework::TnActionList& aActionList);
  // The rights recorded so far, in the order first recorded.
  static const std::vector<TDireitoAcao>& Direitos();
  static void LimparDireitos();
};

}  // namespace nHost
