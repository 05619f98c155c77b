// Court-system functions shared by the registers and the court file processes.
#pragma once
#include <string>

#include "DateUtils_U.h"

namespace nUlmo {

class TUlmoFuncoes {
 public:
  TUlmoFuncoes() = delete;
  // The court system linked to the company; raises when the company is not linked.
  static int GetSistemaTCE(int ACodigoEmpresa);
  // The state ("PR", "SC"...) of a court system, exactly as stored; empty when there is none.
  static std::string GetUFSistema(int ACodigoSistemaTCE);
  // Whether any account of the company is mapped to the court system by a row valid on some
  // day of the period. Without one, a court file would carry no account at all.
  static bool TemContaRelacionada(int ACodigoEmpresa, int ACodigoSistemaTCE, nFramework::TDateTime AInicio,
                                  nFramework::TDateTime AFim);
};

// The error of a court file run that finds no mapped account.
inline constexpr const char* MsgNenhumaContaRelacionada =
    "Nenhuma conta contábil relacionada foi encontrada no período selecionado!";

// The check of the registers that TCE-PR does not use: raises "Esta rotina não é utilizada
// para o TCE/PR. Dados não gravados!" when the court system's state is "PR" (exactly).
void RecusarSistemaPR(int ACodigoSistemaTCE);

}  // namespace nUlmo
