// Dates and numbers typed by a user or read from a file: the parameter panel's dates, the
// integer and decimal conversions, money texts, grid cells as a Brazilian screen writes them
// and a field set from text.
#include <cmath>
#include <cstring>
#include <string>

#include "ClientDataSet_U.h"
#include "DecimalText_U.h"
#include "FormatUtils_U.h"
#include "Fuzz_U.h"
#include "GradeDados_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace {

void Datas(const std::string& aTexto) {
  TDateTime data = 0;
  if (TryStrToDate(aTexto, data)) {
    TDateTime outra = 0;
    if (!nFuzz::Aceita([&] { outra = StrToDate(aTexto); }) || outra != data) nFuzz::Falha("StrToDate lê o que TryStrToDate lê", aTexto);
    const std::string escrita = DateToStr(data);
    if (!TryStrToDate(escrita, outra) || outra != data) nFuzz::Falha("uma data escrita é lida de volta", escrita);
  } else if (nFuzz::Aceita([&] { StrToDate(aTexto); })) {
    nFuzz::Falha("StrToDate recusa o que TryStrToDate recusa", aTexto);
  }
  TDateTime parametro = 0;
  if (TryStrToDateParametro(aTexto, parametro)) {
    const int ano = YearOf(parametro);
    if (ano < kAnoMinimoParametro || ano > kAnoMaximoParametro || !TryStrToDate(aTexto, data) || data != parametro)
      nFuzz::Falha("a data de um parâmetro fica entre 1900 e 2100", aTexto);
  }
}

void Numeros(const std::string& aTexto) {
  int64_t inteiro = 0;
  if (TryStrToInt64(aTexto, inteiro)) {
    int64_t devolta = 0;
    if (!TryStrToInt64(std::to_string(inteiro), devolta) || devolta != inteiro) nFuzz::Falha("um inteiro vai e volta", aTexto);
    double d = 0;
    if (!TryStrToFloat(aTexto, d)) nFuzz::Falha("um inteiro é também um número", aTexto);
  }
  nFuzz::Aceita([&] { StrToInt(aTexto); });
  double d = 0;
  TryStrToFloat(aTexto, d);

  Currency valor;
  if (nFuzz::Aceita([&] { valor = Currency::FromString(aTexto); })) {
    Currency devolta;
    if (!nFuzz::Aceita([&] { devolta = Currency::FromString(valor.ToString()); }) || devolta != valor)
      nFuzz::Falha("um valor em dinheiro vai e volta", aTexto);
  }

  std::string canonico;
  if (nFuzz::Aceita([&] { canonico = NumeroDaGrade(aTexto); }))
    if (!TryStrToFloat(canonico, d)) nFuzz::Falha("o número de uma célula é um número", canonico);
}

// A stored text read as another type (a date column of SQLite, a value of a register).
void Variantes(const std::string& aTexto) {
  const TVariant valor(aTexto);
  nFuzz::Aceita([&] { valor.AsDateTime(); });
  nFuzz::Aceita([&] { valor.AsCurrency(); });
  nFuzz::Aceita([&] { valor.AsFloat(); });
  nFuzz::Aceita([&] { valor.AsInt64(); });
  nFuzz::Aceita([&] { valor.AsBoolean(); });
}

void Campos(const std::string& aTexto) {
  static const auto ds = [] {
    auto r = std::make_unique<TClientDataSet>();
    r->AddFieldDef("I", TFieldType::ftInteger);
    r->AddFieldDef("P", TFieldType::ftSmallint);
    r->AddFieldDef("L", TFieldType::ftLargeint);
    r->AddFieldDef("F", TFieldType::ftFloat);
    r->AddFieldDef("C", TFieldType::ftCurrency);
    r->AddFieldDef("S", TFieldType::ftString, 10);
    r->AddFieldDef("D", TFieldType::ftDate);
    r->AddFieldDef("T", TFieldType::ftDateTime);
    r->AddFieldDef("B", TFieldType::ftBoolean);
    r->CreateDataSet();
    r->Append();
    return r;
  }();
  for (const char* nome : {"I", "P", "L", "F", "C", "S", "D", "T", "B"}) {
    TField& campo = ds->FieldByName(nome);
    if (nFuzz::Aceita([&] { campo.SetAsString(aTexto); })) (void)campo.AsString();
  }
}

void Decimal(const uint8_t* aDados, size_t aTamanho) {
  double d = 0;
  if (aTamanho < sizeof d) return;
  std::memcpy(&d, aDados, sizeof d);
  if (!std::isfinite(d)) return;
  const TDecimalText texto = TDecimalText::FromDouble(d);
  if (texto.ToDouble() != d) nFuzz::Falha("o texto decimal lê de volta o mesmo double", texto.ToString());
  // Within half a ten-thousandth, give or take the nudge that absorbs binary representation error.
  Currency valor;
  if (nFuzz::Aceita([&] { valor = Currency::FromDouble(d); }) &&
      std::fabs(valor.ToDouble() - d) > 0.00005 + 1e-12 + std::fabs(d) * 2e-15)
    nFuzz::Falha("o valor em dinheiro de um double fica a menos de meio décimo de milésimo", texto.ToString());
  const int casas = aTamanho > sizeof d ? static_cast<signed char>(aDados[sizeof d]) : 2;
  (void)texto.Rounded(casas).ToString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  const std::string texto = nFuzz::Texto(aDados, aTamanho);
  Datas(texto);
  Numeros(texto);
  Variantes(texto);
  Campos(texto);
  Decimal(aDados, aTamanho);
  return 0;
}
