#include "DecimalText_U.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "Exceptions_U.h"

namespace nFramework {

namespace {

void Normalize(TDecimalText& d) {
  size_t first = d.IntDigits.find_first_not_of('0');
  d.IntDigits.erase(0, first == std::string::npos ? d.IntDigits.size() : first);
  size_t last = d.FracDigits.find_last_not_of('0');
  d.FracDigits.erase(last == std::string::npos ? 0 : last + 1);
  if (d.IsZero()) d.Negative = false;  // no "-0.00"
}

}  // namespace

TDecimalText TDecimalText::FromDouble(double value) {
  if (!std::isfinite(value)) throw EInternalError("número não finito para formatação decimal");
  // Fixed notation of the smallest subnormal needs about 330 characters.
  char buf[512];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (res.ec != std::errc()) throw EInternalError("falha ao converter número em texto");
  std::string_view text(buf, static_cast<size_t>(res.ptr - buf));
  TDecimalText d;
  if (!text.empty() && text.front() == '-') {
    d.Negative = true;
    text.remove_prefix(1);
  }
  size_t point = text.find('.');
  d.IntDigits = std::string(text.substr(0, point));
  if (point != std::string_view::npos) d.FracDigits = std::string(text.substr(point + 1));
  Normalize(d);
  return d;
}

TDecimalText TDecimalText::FromCurrency(Currency value) {
  TDecimalText d;
  d.Negative = value.Raw() < 0;
  // Unsigned so that the most negative value keeps its magnitude.
  uint64_t magnitude = d.Negative ? 0 - static_cast<uint64_t>(value.Raw()) : static_cast<uint64_t>(value.Raw());
  d.IntDigits = std::to_string(magnitude / Currency::Scale);
  std::string frac = std::to_string(magnitude % Currency::Scale);
  d.FracDigits = std::string(4 - frac.size(), '0') + frac;
  Normalize(d);
  return d;
}

TDecimalText TDecimalText::Rounded(int decimals) const {
  if (decimals < 0) decimals = 0;
  size_t keep = static_cast<size_t>(decimals);
  if (FracDigits.size() <= keep) return *this;
  TDecimalText r = *this;
  bool up = FracDigits[keep] >= '5';
  std::string digits = IntDigits + FracDigits.substr(0, keep);
  if (up) {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0)
      digits.insert(digits.begin(), '1');
    else
      ++digits[i - 1];
  }
  r.IntDigits = digits.substr(0, digits.size() - keep);
  r.FracDigits = digits.substr(digits.size() - keep);
  Normalize(r);
  return r;
}

std::string TDecimalText::ToString() const {
  std::string s = Negative ? "-" : "";
  s += IntDigits.empty() ? "0" : IntDigits;
  if (!FracDigits.empty()) s += "." + FracDigits;
  return s;
}

double TDecimalText::ToDouble() const {
  std::string s = ToString();
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

}  // namespace nFramework
