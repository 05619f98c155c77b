#include "Periodo_U.h"

#include <algorithm>

#include "Exceptions_U.h"

namespace nFramework {

std::unique_ptr<TClientDataSet> GerarDataPeriodo(TDateTime inicio, TDateTime fim, int tipo) {
  if (tipo != 3) throw EInternalError("tipo de período não suportado: " + std::to_string(tipo));
  inicio = DateOf(inicio);
  fim = DateOf(fim);
  if (fim < inicio) throw Exception("A data final do período é anterior à data inicial!");
  auto ds = std::make_unique<TClientDataSet>();
  ds->AddFieldDef("DATAINICIAL", TFieldType::ftDate);
  ds->AddFieldDef("DATAFINAL", TFieldType::ftDate);
  ds->CreateDataSet();
  for (TDateTime mes = StartOfTheMonth(inicio); mes <= fim; mes = IncMonth(mes)) {
    ds->Append();
    ds->Fields(0).SetAsDateTime(std::max(mes, inicio));
    ds->Fields(1).SetAsDateTime(std::min(EndOfTheMonth(mes), fim));
    ds->Post();
  }
  ds->First();
  return ds;
}

}  // namespace nFramework
