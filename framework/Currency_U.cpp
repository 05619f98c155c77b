#include "Currency_U.h"

#include <cmath>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include <fmt/format.h>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

constexpr int64_t MaxRaw = std::numeric_limits<int64_t>::max();

uint64_t Modulo(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

}  // namespace

Currency Currency::FromDouble(double value) {
  // The shortest decimal that reads back as this double is the number that was meant (1.005,
  // 9999999999999.99); scaling the binary value instead loses the cents of large amounts.
  if (!std::isfinite(value) || std::fabs(value) >= 1e16)
    throw EConvertError(fmt::format("O valor {:g} está fora da faixa dos valores monetários", value));
  char texto[400];  // fixed notation of the smallest doubles runs to some 330 characters
  auto [fim, erro] = std::to_chars(texto, texto + sizeof texto, value, std::chars_format::fixed);
  if (erro != std::errc()) throw EInternalError(fmt::format("O valor {:g} não tem representação decimal", value));
  try {
    return FromString(std::string(texto, fim));
  } catch (const EConvertError&) {
    throw EConvertError(fmt::format("O valor {:g} está fora da faixa dos valores monetários", value));
  }
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
