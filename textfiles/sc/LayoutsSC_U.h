// The four TCE-SC fixed-width records, as data shared by the file process and its tests. A line
// is its fields side by side, no separator; numbers and amounts are never cut, and amounts have
// no sign.
#pragma once
#include "Leiaute_U.h"

namespace nUlmoSC {

const nFramework::TLeiaute& LayoutLancamentoContabil();   // 256 characters
const nFramework::TLeiaute& LayoutMovimentoContabil();    // 94
const nFramework::TLeiaute& LayoutAplicacaoFinanceira();  // 108
const nFramework::TLeiaute& LayoutContaContabil();        // 490

}  // namespace nUlmoSC
