#include "Currency_U.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>

#include <fmt/format.h>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

constexpr int64_t MaxRaw = std::numeric_limits<int64_t>::max();

uint64_t Modulo(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

}  // namespace

Currency Currency::FromDouble(double value) {
  // The shortest text that reads back as the same double is the decimal the value was written
  // as (1.005, 2.675, 9999999999999.99): rounding that text, half away from zero at the fourth
  // decimal, keeps it exact where a scaled binary value would not be.
  if (std::isfinite(value) && std::fabs(value) < 9e14) {
    char buf[400];
    auto [fim, erro] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (erro == std::errc()) {
      const char* p = buf;
      const bool negativo = *p == '-';
      if (negativo) ++p;
      int64_t inteiro = 0, fracao = 0;
      for (; p < fim && *p != '.'; ++p) inteiro = inteiro * 10 + (*p - '0');
      int casas = 0;
      bool acima = false;
      if (p < fim) ++p;
      for (; p < fim; ++p, ++casas) {
        if (casas < 4) fracao = fracao * 10 + (*p - '0');
        else if (casas == 4) acima = *p >= '5';
      }
      for (; casas < 4; ++casas) fracao *= 10;
      int64_t bruto = inteiro * Scale + fracao + (acima ? 1 : 0);
      return FromRaw(negativo ? -bruto : bruto);
    }
  }
  // Larger values, and what is not a number: half away from zero at the fourth decimal; the relative nudge absorbs the binary
  // representation error of values such as 1.005 (stored as 1.00499999...). It stays well below
  // half a unit: past that it would push whole amounts of billions up by a ten-thousandth.
  // The fraction is compared on its own: added to a large amount, the half would round too.
  const double scaled = value * Scale;
  const double a = std::fabs(scaled);
  const double whole = std::floor(a);
  const double eps = std::min(a * 1e-15 + 1e-9, 0.25);
  double r = (a - whole) + eps >= 0.5 ? whole + 1 : whole;
  if (scaled < 0) r = -r;
  // Past the 64 bits (or not a number) the cast has no defined result.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
    throw EConvertError(fmt::format("O valor {:g} está fora da faixa dos valores monetários", value));
  return FromRaw(static_cast<int64_t>(r));
}

Currency Currency::FromString(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t whole = 0;
  int64_t frac = 0;
  int fracDigits = 0;
  bool digits = false;
  bool roundUp = false;
  bool tooLarge = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (whole > MaxRaw / Scale) tooLarge = true;  // keeps reading, to tell a bad text from a large one
    else whole = whole * 10 + (text[i] - '0');
    digits = true;
  }
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      digits = true;
      if (fracDigits < 4) {
        frac = frac * 10 + (text[i] - '0');
        ++fracDigits;
      } else if (fracDigits == 4) {
        roundUp = text[i] >= '5';
        ++fracDigits;
      }
    }
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (!digits || i != text.size()) throw EConvertError("'" + CitarValor(text) + "' não é um valor válido");
  for (int k = std::min(fracDigits, 4); k < 4; ++k) frac *= 10;
  if (tooLarge || whole > MaxRaw / Scale || (whole == MaxRaw / Scale && frac + (roundUp ? 1 : 0) > MaxRaw % Scale))
    throw EConvertError("'" + CitarValor(text) + "' está fora da faixa dos valores monetários");
  int64_t raw = whole * Scale + frac + (roundUp ? 1 : 0);
  return FromRaw(negative ? -raw : raw);
}

Currency Currency::Round(int decimals) const {
  if (decimals >= 4) return *this;
  if (decimals < 0) decimals = 0;
  uint64_t unit = 1;
  for (int k = decimals; k < 4; ++k) unit *= 10;
  const uint64_t a = Modulo(FValue);
  uint64_t r = (a + unit / 2) / unit * unit;
  if (r > static_cast<uint64_t>(MaxRaw)) r -= unit;  // the last step up would leave the range
  return FromRaw(FValue < 0 ? -static_cast<int64_t>(r) : static_cast<int64_t>(r));
}

std::string Currency::ToString() const {
  const uint64_t a = Modulo(FValue);
  std::string s = std::to_string(a / Scale);
  uint64_t frac = a % Scale;
  if (frac != 0) {
    std::string f = std::to_string(frac);
    f.insert(0, 4 - f.size(), '0');
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return FValue < 0 ? "-" + s : s;
}

}  // namespace nFramework
