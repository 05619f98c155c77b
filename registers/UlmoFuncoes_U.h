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

}  // namespace nUlmo
