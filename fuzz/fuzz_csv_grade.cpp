// A grid's CSV as a spreadsheet gives it back to --importar: split into cells and applied to
// a grid of accounts by its key column, through the grid's checks.
#include <string>

#include "Fuzz_U.h"
#include "GradeDados_U.h"
#include "GradeTexto_U.h"

using namespace nFramework;

namespace {

struct TContas {
  TClientDataSet Ds;
  TContas() {
    Ds.Name = "curContas";
    Ds.AddFieldDef("ENVIAR", TFieldType::ftSmallint);
    Ds.AddFieldDef("CODIGO", TFieldType::ftInteger);
    Ds.AddFieldDef("NOME", TFieldType::ftString, 12);
    Ds.AddFieldDef("NATUREZA", TFieldType::ftSmallint);
    Ds.AddFieldDef("VALOR", TFieldType::ftCurrency);
    Ds.AddFieldDef("DATA", TFieldType::ftDate);
    Ds.CreateDataSet();
    Ds.CampoMarca = "ENVIAR";
    Ds.CamposChave = "CODIGO";
    Ds.FieldByName("CODIGO").ReadOnly = true;
    Ds.FieldByName("NATUREZA").ValueList = "Devedor=1;Credor=2";
    Ds.FieldByName("VALOR").DisplayFormat = "#,##0.00";
  }
  void Preencher() {
    Ds.EmptyDataSet();
    Ds.AppendRecord({0, 1001, "Caixa", 1, Currency::FromString("1234.56"), EncodeDate(2024, 1, 31)});
    Ds.AppendRecord({1, 1002, "Bancos", 2, Null, Null});
    Ds.AppendRecord({0, 1003, Null, Null, Currency::FromString("-0.5"), EncodeDate(2100, 12, 31)});
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  static TContas contas;
  const std::string texto = nFuzz::Texto(aDados, aTamanho);
  std::vector<std::vector<std::string>> linhas;
  if (!nFuzz::Aceita([&] { linhas = LerCSV(texto, "plano.csv"); })) return 0;
  contas.Preencher();
  TGradeDados grade(contas.Ds);
  nFuzz::Aceita([&] { grade.Importar(linhas, "plano.csv"); });
  if (contas.Ds.RecordCount() != 3) nFuzz::Falha("uma importação não cria nem apaga linhas", texto);
  return 0;
}
