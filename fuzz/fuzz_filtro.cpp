// Dataset filters: the --marcar, --desmarcar and --definir expressions typed on the command
// line and the filters the processes build, over a grid with every kind of field and nulls.
#include <string>

#include "ClientDataSet_U.h"
#include "Fuzz_U.h"

using namespace nFramework;

namespace {

std::unique_ptr<TClientDataSet> NovaGrade() {
  auto ds = std::make_unique<TClientDataSet>();
  ds->AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 30);
  ds->AddFieldDef("CODIGO", TFieldType::ftInteger);
  ds->AddFieldDef("CHAVE", TFieldType::ftLargeint);
  ds->AddFieldDef("VALOR", TFieldType::ftFloat);
  ds->AddFieldDef("SALDO", TFieldType::ftCurrency);
  ds->AddFieldDef("DATA", TFieldType::ftDate);
  ds->AddFieldDef("ENVIO", TFieldType::ftDateTime);
  ds->AddFieldDef("ATIVO", TFieldType::ftBoolean);
  ds->AddFieldDef("SELECIONADO", TFieldType::ftSmallint);
  ds->CreateDataSet();
  ds->AppendRecord({"1.1.1.01", 1, 202401, 1234.5, Currency::FromString("1234.5"), EncodeDate(2024, 1, 31),
                    EncodeDate(2024, 2, 1) + 0.5, true, 1});
  ds->AppendRecord({"2.1", 2, 202403, -0.01, Currency::FromString("-0.01"), EncodeDate(1900, 1, 1), Null, false, 0});
  ds->AppendRecord({Null, Null, Null, Null, Null, Null, Null, Null, Null});
  ds->AppendRecord({"Ação 'x' %_", -7, 9007199254740993LL, 1e308, Currency::FromRaw(INT64_MAX), EncodeDate(2100, 12, 31),
                    EncodeDate(2100, 12, 31), true, 1});
  return ds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  static const auto grade = NovaGrade();
  const std::string filtro = nFuzz::Texto(aDados, aTamanho);
  TClientDataSet& ds = *grade;
  ds.SetFiltered(false);
  ds.SetFilter("CODIGO = 1");
  ds.SetFiltered(true);
  if (!nFuzz::Aceita([&] { ds.SetFilter(filtro); })) {
    if (ds.Filter() != "CODIGO = 1" || ds.RecordCount() != 1) nFuzz::Falha("um filtro recusado deixa o anterior", filtro);
    return 0;
  }
  int vistas = 0;
  for (ds.First(); !ds.Eof(); ds.Next()) ++vistas;
  if (vistas != ds.RecordCount() || vistas > 4) nFuzz::Falha("o filtro mostra linhas da grade", filtro);
  return 0;
}
