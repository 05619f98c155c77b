#include "Currency_U.h"

#include <cmath>
#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

Currency Currency::FromDouble(double value) {
  // The shortest decimal that reads back as this double is the number that was meant (1.005,
  // 9999999999999.99); scaling the binary value instead loses the cents of large amounts.
  if (!std::isfinite(value) || std::fabs(value) >= 922337203685477.0)
    throw EConvertError("Valor fora do alcance da moeda: " + std::to_string(value));
  char texto[400];
  auto [fim, erro] = std::to_chars(texto, texto + sizeof texto, value, std::chars_format::fixed);
  if (erro != std::errc()) throw EInternalError("Valor sem representação decimal: " + std::to_string(value));
  return FromString(std::string(texto, fim));
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
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    whole = whole * 10 + (text[i] - '0');
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
  int64_t raw = whole * Scale + frac + (roundUp ? 1 : 0);
  return FromRaw(negative ? -raw : raw);
}

Currency Currency::Round(int decimals) const {
  if (decimals >= 4) return *this;
  if (decimals < 0) decimals = 0;
  int64_t unit = 1;
  for (int k = decimals; k < 4; ++k) unit *= 10;
  int64_t a = std::llabs(FValue);
  int64_t r = (a + unit / 2) / unit * unit;
  return FromRaw(FValue < 0 ? -r : r);
}

std::string Currency::ToString() const {
  int64_t a = std::llabs(FValue);
  std::string s = std::to_string(a / Scale);
  int64_t frac = a % Scale;
  if (frac != 0) {
    std::string f = std::to_string(frac);
    f.insert(0, 4 - f.size(), '0');
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return FValue < 0 ? "-" + s : s;
}

}  // namespace nFramework
