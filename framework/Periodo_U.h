// Period splitting: one row per month of a period (DATAINICIAL, DATAFINAL), the first and last
// months cut to the given dates.
#pragma once
#include <memory>

#include "ClientDataSet_U.h"

namespace nFramework {

// tipo 3 = monthly, the only kind the system uses. Raises when the end comes before the start.
std::unique_ptr<TClientDataSet> GerarDataPeriodo(TDateTime inicio, TDateTime fim, int tipo = 3);

}  // namespace nFramework
