// Readings of process parameters that the court processes share: the dates of a period, each
// refused with its own message, and the lists of entry origins typed in a parameter.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "DateUtils_U.h"

namespace nFramework {
class TnDMPowerParam;
}

namespace nUlmo {

inline constexpr const char* kDataInicialInvalida = "Data inicial inválida!";
inline constexpr const char* kDataFinalInvalida = "Data final inválida!";
inline constexpr const char* kDataFinalAnterior = "A Data Final não pode ser anterior à Data Inicial";
inline constexpr const char* kEmpresaInvalida = "Empresa inválida!";

struct TPeriodoParametros {
  nFramework::TDateTime Inicio = 0;
  nFramework::TDateTime Fim = 0;
};

// The date typed in a parameter (blanks around it ignored); EnParam at that parameter with
// AMensagem when it is empty, not a date ("31/02/2024") or of a year before 1900 or after 2100.
nFramework::TDateTime LerDataParametro(const nFramework::TnDMPowerParam& AProcesso, std::string_view AAlias,
                                       const std::string& AMensagem);

// The period of two date parameters: "Data inicial inválida!" at the first, "Data final
// inválida!" at the second, then AMensagemOrdem at the second when it comes before the first
// (the same day passes).
TPeriodoParametros LerPeriodoParametros(const nFramework::TnDMPowerParam& AProcesso, std::string_view AAliasInicial,
                                        std::string_view AAliasFinal,
                                        const std::string& AMensagemOrdem = kDataFinalAnterior);

// The company typed in a parameter: a whole number from 1 to 32767 (the host's company codes)
// naming a company of the host table EMPRESA; EnParam at that parameter with AMensagem otherwise.
// REQUIRES: a connection.
int LerEmpresaParametro(const nFramework::TnDMPowerParam& AProcesso, std::string_view AAlias = "pCodigoEmpresa",
                        const std::string& AMensagem = kEmpresaInvalida);

// The origins of a typed list such as "'ZZ'", "'ZZ','10'" or "ZZ; 10": items separated by commas
// or semicolons, blanks and one pair of single quotes around each removed; empty items dropped.
std::vector<std::string> ItensOrigem(std::string_view ALista);
// Whether the origin, without its blanks, is a whole item of the list: "1" is not in "'10'".
// An empty origin never is.
bool OrigemNaLista(std::string_view AOrigem, const std::vector<std::string>& AItens);

}  // namespace nUlmo
