#include "FormatUtils_U.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "DecimalText_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

TFormatSettings FormatSettings;

namespace {

bool IsQuote(char c) { return c == '"' || c == '\''; }

// Splits a number pattern at the ";" that stand outside quotes.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

// What a section asks of the number.
struct TNumberLayout {
  bool Thousands = false;
  int IntPlaceholders = 0;
  int MinIntDigits = 0;
  int MaxDecimals = 0;
  int MinDecimals = 0;
};

TNumberLayout ScanSection(std::string_view section) {
  TNumberLayout l;
  bool afterPoint = false;
  int firstZero = -1;
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (IsQuote(c)) {
      quote = c;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++l.MaxDecimals;
        if (c == '0') l.MinDecimals = l.MaxDecimals;
      } else {
        if (c == '0' && firstZero < 0) firstZero = l.IntPlaceholders;
        ++l.IntPlaceholders;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      l.Thousands = true;
    }
  }
  if (firstZero >= 0) l.MinIntDigits = l.IntPlaceholders - firstZero;
  return l;
}

std::string RenderSection(std::string_view section, const TNumberLayout& l, const TDecimalText& d, bool minus,
                          const TFormatSettings& settings) {
  std::string intDigits = d.IntDigits;
  if (static_cast<int>(intDigits.size()) < l.MinIntDigits)
    intDigits.insert(0, static_cast<size_t>(l.MinIntDigits) - intDigits.size(), '0');
  std::string fracDigits = d.FracDigits;
  if (static_cast<int>(fracDigits.size()) < l.MinDecimals)
    fracDigits.append(static_cast<size_t>(l.MinDecimals) - fracDigits.size(), '0');

  std::string out = minus ? "-" : "";
  const int len = static_cast<int>(intDigits.size());
  auto emitInt = [&](int j) {
    out += intDigits[static_cast<size_t>(j)];
    int remaining = len - 1 - j;
    if (l.Thousands && remaining > 0 && remaining % 3 == 0) out += settings.ThousandSeparator;
  };
  // The integer digits stand right-aligned under the placeholders; digits beyond them
  // all go where the first placeholder is.
  const int extra = len - l.IntPlaceholders;
  int intSeen = 0, fracSeen = 0;
  bool afterPoint = false;
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        out += c;
      continue;
    }
    if (IsQuote(c)) {
      quote = c;
    } else if ((c == '0' || c == '#') && !afterPoint) {
      int k = intSeen++;
      if (k == 0 && extra > 0) {
        for (int j = 0; j <= extra; ++j) emitInt(j);
      } else if (k + extra >= 0) {
        emitInt(k + extra);
      }
    } else if (c == '0' || c == '#') {
      if (fracSeen < static_cast<int>(fracDigits.size())) out += fracDigits[static_cast<size_t>(fracSeen)];
      ++fracSeen;
    } else if (c == '.') {
      if (afterPoint) continue;
      afterPoint = true;
      if (l.IntPlaceholders == 0)  // ".00": the integer digits still show
        for (int j = 0; j < len; ++j) emitInt(j);
      if (!fracDigits.empty()) out += settings.DecimalSeparator;
    } else if (c != ',') {
      out += c;
    }
  }
  return out;
}

std::string FormatDecimal(std::string_view pattern, const TDecimalText& value, const TFormatSettings& settings) {
  auto sections = SplitSections(pattern);
  auto usable = [&](size_t i) { return i < sections.size() && !sections[i].empty(); };
  size_t index = 0;
  bool minus = false;
  if (value.IsZero()) {
    index = usable(2) ? 2 : 0;
  } else if (value.Negative) {
    if (usable(1))
      index = 1;
    else
      minus = true;
  }
  TNumberLayout layout = ScanSection(sections[index]);
  TDecimalText rounded = value.Rounded(layout.MaxDecimals);
  if (rounded.IsZero() && !value.IsZero()) {
    index = usable(2) ? 2 : 0;
    minus = false;
    layout = ScanSection(sections[index]);
    rounded = TDecimalText{};
  }
  rounded.Negative = false;
  return RenderSection(sections[index], layout, rounded, minus, settings);
}

std::string Pad(int value, size_t width) {
  std::string s = std::to_string(value);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

}  // namespace

const TFormatSettings FormatSettingsTela{',', '.', "dd/mm/yyyy"};

std::string FormatFloat(std::string_view pattern, double value) { return FormatFloat(pattern, value, FormatSettings); }

std::string FormatFloat(std::string_view pattern, Currency value) { return FormatFloat(pattern, value, FormatSettings); }

std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return FormatDecimal(pattern, TDecimalText::FromDouble(value), settings);
}

std::string FormatFloat(std::string_view pattern, Currency value, const TFormatSettings& settings) {
  return FormatDecimal(pattern, TDecimalText::FromCurrency(value), settings);
}

std::string FloatToStr(double value) { return FloatToStr(value, FormatSettings); }

std::string FloatToStr(double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  constexpr int Precision = 15;
  TDecimalText d = TDecimalText::FromDouble(value);
  if (d.IsZero()) return "0";
  // Decimal exponent of the first significant digit.
  int exponent = d.IntDigits.empty()
                     ? -static_cast<int>(d.FracDigits.find_first_not_of('0')) - 1
                     : static_cast<int>(d.IntDigits.size()) - 1;
  std::string sign = d.Negative ? "-" : "";
  if (exponent >= Precision || exponent < -5) {
    std::string digits = d.IntDigits + d.FracDigits;
    digits.erase(0, digits.find_first_not_of('0'));
    TDecimalText m;
    m.IntDigits = digits.substr(0, 1);
    m.FracDigits = digits.substr(1);
    m = m.Rounded(Precision - 1);
    if (m.IntDigits.size() > 1) {  // 9.99... rounded up to 10
      m.IntDigits = "1";
      m.FracDigits.clear();
      ++exponent;
    }
    std::string text = m.ToString();
    if (auto p = text.find('.'); p != std::string::npos) text[p] = settings.DecimalSeparator;
    return sign + text + "E" + std::to_string(exponent);
  }
  TDecimalText r = d.Rounded(Precision - 1 - exponent);
  r.Negative = false;
  std::string text = r.ToString();
  if (auto p = text.find('.'); p != std::string::npos) text[p] = settings.DecimalSeparator;
  return sign + text;
}

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  std::string out;
  bool afterHour = false;
  size_t i = 0;
  auto run = [&](char lower, size_t max) {
    size_t n = 0;
    while (i + n < pattern.size() && n < max && std::tolower(static_cast<unsigned char>(pattern[i + n])) == lower) ++n;
    i += n;
    return n;
  };
  while (i < pattern.size()) {
    char c = pattern[i];
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (IsQuote(c)) {
      size_t close = pattern.find(c, i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      out += pattern.substr(i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    switch (lower) {
      case 'y':
        out += run('y', 4) <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
        afterHour = false;
        break;
      case 'm': {
        size_t n = run('m', 2);
        out += Pad(afterHour ? minute : month, n);
        afterHour = false;
        break;
      }
      case 'd':
        out += Pad(day, run('d', 2));
        afterHour = false;
        break;
      case 'h':
        out += Pad(hour, run('h', 2));
        afterHour = true;
        break;
      case 'n':
        out += Pad(minute, run('n', 2));
        afterHour = false;
        break;
      case 's':
        out += Pad(second, run('s', 2));
        afterHour = false;
        break;
      case 'z':
        out += Pad(msec, run('z', 3) == 3 ? 3 : 1);
        afterHour = false;
        break;
      default:
        out += c;
        ++i;
    }
  }
  return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime(FormatSettings.ShortDateFormat, value); }

bool TryStrToDate(std::string_view text, TDateTime& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  size_t pos = 0;
  auto number = [&](size_t minDigits, size_t maxDigits, int& out) {
    size_t start = pos;
    out = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9')
      out = out * 10 + (text[pos++] - '0');
    return pos - start >= minDigits;
  };
  auto slash = [&] { return pos < text.size() && text[pos++] == '/'; };
  int day, month, year;
  if (!number(1, 2, day) || !slash() || !number(1, 2, month) || !slash() || !number(4, 4, year) ||
      pos != text.size())
    return false;
  auto date = TryEncodeDate(year, month, day);
  if (!date) return false;
  value = *date;
  return true;
}

bool TryStrToDateParametro(std::string_view text, TDateTime& value) {
  TDateTime data;
  if (!TryStrToDate(text, data)) return false;
  int ano = YearOf(data);
  if (ano < kAnoMinimoParametro || ano > kAnoMaximoParametro) return false;
  value = data;
  return true;
}

TDateTime StrToDate(std::string_view text) {
  TDateTime value;
  if (!TryStrToDate(text, value)) throw EConvertError("'" + CitarValor(text) + "' não é uma data válida");
  return value;
}

TDateTime StrToDateDef(std::string_view text, TDateTime def) {
  TDateTime value;
  return TryStrToDate(text, value) ? value : def;
}

}  // namespace nFramework
