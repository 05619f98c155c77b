// Court-system functions shared by the registers and the court file processes.
#pragma once
#include <string>

namespace nUlmo {

class TUlmoFuncoes {
 public:
  TUlmoFuncoes() = delete;
  // The court system linked to the company; raises when the company is not linked.
  static int GetSistemaTCE(int ACodigoEmpresa);
  // The state ("PR", "SC"...) of a court system, exactly as stored; empty when there is none.
  static std::string GetUFSistema(int ACodigoSistemaTCE);
};

// The check of the registers that TCE-PR does not use: raises "Esta rotina não é utilizada
// para o TCE/PR. Dados não gravados!" when the court system's state is "PR" (exactly).
void RecusarSistemaPR(int ACodigoSistemaTCE);

}  // namespace nUlmo
