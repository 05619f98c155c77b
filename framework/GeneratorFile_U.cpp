#include "GeneratorFile_U.h"

#include <fmt/format.h>

#include <algorithm>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"
#include "Variant_U.h"

namespace nFramework {

namespace {

// A number split for rendering: sign, whole digits and exactly `decimals` fraction digits.
struct TNumberText {
  bool Negative = false;
  std::string Whole;
  std::string Fraction;
};

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

TNumberText FromInt64(int64_t value, int decimals) {
  TNumberText n;
  n.Negative = value < 0;
  uint64_t magnitude = n.Negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  n.Whole = std::to_string(magnitude);
  n.Fraction.assign(decimals, '0');
  return n;
}

TNumberText FromCurrency(Currency value, int decimals, bool roundValue) {
  int kept = std::min(decimals, 4);
  if (roundValue) {
    value = value.Round(kept);
  } else {
    int64_t unit = 1;
    for (int k = kept; k < 4; ++k) unit *= 10;
    value = Currency::FromRaw(value.Raw() / unit * unit);
  }
  TNumberText n;
  n.Negative = value.Raw() < 0;
  uint64_t magnitude = n.Negative ? 0 - static_cast<uint64_t>(value.Raw()) : static_cast<uint64_t>(value.Raw());
  n.Whole = std::to_string(magnitude / Currency::Scale);
  std::string fraction = fmt::format("{:04}", magnitude % Currency::Scale);
  n.Fraction = fraction.substr(0, kept);
  n.Fraction.append(decimals - kept, '0');
  return n;
}

// Text given to a number field: whole digits stay as they are (a 20-digit code fits no
// Currency); anything else must read as a decimal number.
TNumberText FromText(std::string_view raw, int decimals, bool roundValue, const std::string& fieldName) {
  std::string text = Trim(raw);
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (AllDigits(digits)) {
    TNumberText n;
    size_t firstNonZero = digits.find_first_not_of('0');
    n.Whole = firstNonZero == std::string_view::npos ? "0" : std::string(digits.substr(firstNonZero));
    n.Negative = negative && n.Whole != "0";
    n.Fraction.assign(decimals, '0');
    return n;
  }
  try {
    return FromCurrency(Currency::FromString(text), decimals, roundValue);
  } catch (const EConvertError&) {
    throw EFileError(fmt::format("o valor \"{}\" não é um número válido para o campo {}", CitarValor(text), fieldName));
  }
}

std::string Assemble(const TNumberText& n, const std::string& decimalSeparator, bool thousandSeparator) {
  std::string whole = n.Whole;
  if (thousandSeparator) {
    char group = decimalSeparator == "." ? ',' : '.';
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(static_cast<size_t>(i), 1, group);
  }
  std::string r = n.Negative ? "-" + whole : whole;
  if (!n.Fraction.empty()) r += decimalSeparator + n.Fraction;
  return r;
}

TDateTime DateFromText(std::string_view raw, const std::string& fieldName) {
  std::string text = Trim(raw);
  if (auto iso = TryISOToDateTime(text)) return *iso;
  TDateTime value;
  if (TryStrToDate(text, value)) return value;
  throw EFileError(fmt::format("o valor \"{}\" não é uma data válida para o campo {}", CitarValor(text), fieldName));
}

// Capitals of ASCII and of the Latin-1 letters à..þ (UTF-8 C3 A0..C3 BE, except ÷).
std::string ToUpper(std::string text) {
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'a' && c <= 'z') {
      text[i] = static_cast<char>(c - 32);
    } else if (c == 0xC3 && i + 1 < text.size()) {
      auto d = static_cast<unsigned char>(text[i + 1]);
      if (d >= 0xA0 && d <= 0xBE && d != 0xB7) text[i + 1] = static_cast<char>(d - 0x20);
      ++i;
    }
  }
  return text;
}

size_t CharCount(std::string_view bytes, TEncoding encoding) {
  return encoding == TEncoding::Windows1252 ? bytes.size() : Utf8Length(bytes);
}

std::string LeftChars(std::string_view bytes, size_t chars, TEncoding encoding) {
  return encoding == TEncoding::Windows1252 ? std::string(bytes.substr(0, chars)) : Utf8Left(bytes, chars);
}

}  // namespace

TColuna::TColuna(TFieldLayout layout) : FLayout(std::move(layout)) {
  if (FLayout.Width < 0) throw EInternalError("largura negativa no campo " + FLayout.Name);
}

std::string TColuna::Texto() const {
  const TFieldLayout& l = FLayout;
  if (IsEmpty()) return {};
  switch (l.Kind) {
    case TFieldKind::String: {
      std::string text;
      if (auto s = std::get_if<std::string>(&FValue)) text = *s;
      else if (auto i = std::get_if<int64_t>(&FValue)) text = std::to_string(*i);
      else if (auto c = std::get_if<Currency>(&FValue)) text = c->ToString();
      else text = TVariant::FromDate(std::get<TDateValue>(FValue).Value).AsString();
      return l.UpperCase ? ToUpper(std::move(text)) : text;
    }
    case TFieldKind::Numeric:
    case TFieldKind::Currency: {
      bool currency = l.Kind == TFieldKind::Currency;
      bool roundValue = currency ? l.RoundValue : true;
      TNumberText n;
      if (auto s = std::get_if<std::string>(&FValue)) {
        if (Trim(*s).empty()) return {};
        n = FromText(*s, l.Decimals, roundValue, l.Name);
      } else if (auto i = std::get_if<int64_t>(&FValue)) {
        n = FromInt64(*i, l.Decimals);
      } else if (auto c = std::get_if<Currency>(&FValue)) {
        n = FromCurrency(*c, l.Decimals, roundValue);
      } else {
        throw EInternalError("data atribuída ao campo numérico " + l.Name);
      }
      return Assemble(n, l.DecimalSeparator, currency && l.ThousandSeparator);
    }
    case TFieldKind::Date: {
      TDateTime value;
      if (auto s = std::get_if<std::string>(&FValue)) {
        if (Trim(*s).empty()) return {};
        value = DateFromText(*s, l.Name);
      } else if (auto d = std::get_if<TDateValue>(&FValue)) {
        value = d->Value;
      } else if (auto i = std::get_if<int64_t>(&FValue)) {
        value = static_cast<TDateTime>(*i);
      } else {
        throw EInternalError("valor monetário atribuído ao campo de data " + l.Name);
      }
      if (value == 0 && l.EmptyWhenZero) return {};
      return FormatDateTime(l.Format, value);
    }
  }
  return {};
}

TColuna& TRecord::AddField(TFieldLayout layout) { return FFields.emplace_back(std::move(layout)); }

TColuna& TRecord::CreateFieldToString(std::string name, int width, char fill, TJustification justification,
                                      bool truncate, bool upperCase) {
  TFieldLayout l;
  l.Name = std::move(name);
  l.Kind = TFieldKind::String;
  l.Width = width;
  l.Fill = fill;
  l.Justification = justification;
  l.Truncate = truncate;
  l.UpperCase = upperCase;
  return AddField(std::move(l));
}

TColuna& TRecord::CreateFieldToNumeric(std::string name, int width, int decimals, bool zeroFill,
                                       std::string decimalSeparator) {
  TFieldLayout l;
  l.Name = std::move(name);
  l.Kind = TFieldKind::Numeric;
  l.Width = width;
  l.Justification = TJustification::Right;
  l.Truncate = false;
  l.Decimals = decimals;
  l.ZeroFill = zeroFill;
  l.DecimalSeparator = std::move(decimalSeparator);
  return AddField(std::move(l));
}

TColuna& TRecord::CreateFieldToCurrency(std::string name, int width, int decimals, char fill, bool rightJustified,
                                        bool roundValue, std::string decimalSeparator, bool thousandSeparator) {
  TFieldLayout l;
  l.Name = std::move(name);
  l.Kind = TFieldKind::Currency;
  l.Width = width;
  l.Fill = fill;
  l.Justification = rightJustified ? TJustification::Right : TJustification::Left;
  l.Truncate = false;
  l.Decimals = decimals;
  l.ZeroFill = false;
  l.RoundValue = roundValue;
  l.DecimalSeparator = std::move(decimalSeparator);
  l.ThousandSeparator = thousandSeparator;
  return AddField(std::move(l));
}

TColuna& TRecord::CreateFieldToDate(std::string name, std::string format, int width, bool emptyWhenZero) {
  TFieldLayout l;
  l.Name = std::move(name);
  l.Kind = TFieldKind::Date;
  l.Width = width;
  l.Truncate = false;
  l.Format = std::move(format);
  l.EmptyWhenZero = emptyWhenZero;
  return AddField(std::move(l));
}

TColuna* TRecord::FieldByName(std::string_view name) {
  for (auto& f : FFields)
    if (SameText(f.Name(), name)) return &f;
  return nullptr;
}

int TRecord::Width() const {
  int total = 0;
  for (const auto& f : FFields) total += f.Layout().Width;
  return total;
}

void TRecord::ClearValues() {
  for (auto& f : FFields) f.Clear();
}

TRecord& TRecordList::CreateRecord(std::string name) {
  FRecords.push_back(std::make_unique<TRecord>(std::move(name)));
  return *FRecords.back();
}

TRecord* TRecordList::Find(std::string_view name) {
  for (auto& r : FRecords)
    if (SameText(r->Name(), name)) return r.get();
  return nullptr;
}

TGeneratorFile::TGeneratorFile(std::string folder, std::string fileName, std::string separator)
    : FFolder(std::move(folder)), FFileName(std::move(fileName)), FSeparator(std::move(separator)) {}

std::filesystem::path TGeneratorFile::FullPath() const { return CombinarCaminho(CaminhoDeTexto(FFolder), FFileName); }

void TGeneratorFile::Preparar() {
  if (!FSink && Trim(FFileName).empty()) throw EFileError("Nome do arquivo não informado");
  if (FSeparator.find_first_of("\r\n") != std::string::npos)
    throw EInternalError("separador de campos com quebra de linha");
  FLineCount = 0;
  for (size_t i = 0; i < FRecords.Count(); ++i) FRecords[i].FLineCount = 0;
}

void TGeneratorFile::Gerar() {
  Preparar();
  std::string separator = CodificarTexto(FSeparator, FEncoding, "Separador de campos");
  // The own file lives only here: leaving by an exception discards it.
  std::unique_ptr<TAtomicFile> file;
  IOutputSink* out = FSink;
  if (!out) {
    file = std::make_unique<TAtomicFile>(FullPath());
    out = file.get();
  }
  for (size_t i = 0; i < FRecords.Count(); ++i) WriteRecord(FRecords[i], *out, separator);
  out->Commit();
}

void TGeneratorFile::WriteRecord(TRecord& record, IOutputSink& out, const std::string& separator) {
  bool more = true;
  while (more) {
    record.ClearValues();
    bool skip = false;
    if (record.OnFill()) record.OnFill()(record, skip);
    if (!skip) {
      std::string line = RenderLine(record, separator);
      line += "\r\n";
      out.Write(line);
      ++FLineCount;
      ++record.FLineCount;
    }
    more = false;
    if (record.OnNext()) record.OnNext()(record, more);
  }
}

std::string TGeneratorFile::RenderLine(TRecord& record, const std::string& separator) const {
  const bool fixed = FixedWidth();
  std::string line;
  for (size_t i = 0; i < record.FieldCount(); ++i) {
    const TColuna& field = record.Field(i);
    const TFieldLayout& l = field.Layout();
    if (i > 0) line += separator;
    try {
      std::string value = CodificarTexto(field.Texto(), FEncoding);
      if (value.find_first_of("\r\n") != std::string::npos)
        throw EFileError(fmt::format("o valor \"{}\" contém quebra de linha", CitarValor(field.Texto())));
      if (!fixed && value.find(separator) != std::string::npos)
        throw EFileError(fmt::format("o valor \"{}\" contém o separador \"{}\"", CitarValor(field.Texto()), FSeparator));
      const bool number = l.Kind == TFieldKind::Numeric || l.Kind == TFieldKind::Currency;
      const size_t width = static_cast<size_t>(l.Width);
      size_t length = CharCount(value, FEncoding);
      if (width > 0 && length > width) {
        if (l.Kind == TFieldKind::String && l.Truncate) {
          value = LeftChars(value, width, FEncoding);
          length = width;
        } else if (fixed) {
          throw EFileError(fmt::format("o valor \"{}\" não cabe em {} caracteres", CitarValor(field.Texto()), width));
        }
      }
      char fill = l.Fill;
      bool pad = fixed;
      if (l.Kind == TFieldKind::Numeric && l.ZeroFill && !value.empty()) {
        fill = '0';
        pad = true;  // zero-filled digits are part of the number, also between separators
      }
      if (pad && width > length) {
        if (fill == '\0') fill = l.Kind == TFieldKind::Currency && l.Justification == TJustification::Right ? '0' : ' ';
        std::string padding(width - length, fill);
        if (l.Justification == TJustification::Left) {
          value += padding;
        } else if (fill == '0' && number && !value.empty() && value[0] == '-') {
          value.insert(1, padding);  // the sign stays in front of the zeros
        } else {
          value.insert(0, padding);
        }
      }
      line += value;
    } catch (const EInternalError&) {
      throw;
    } catch (const Exception& e) {
      throw EFileError(fmt::format("Arquivo \"{}\", registro {}, linha {}, campo {}: {}", FFileName, record.Name(),
                                   FLineCount + 1, l.Name, e.Message()));
    }
  }
  return line;
}

void TGeneratorFile::Finalizar() {
  for (size_t i = 0; i < FRecords.Count(); ++i) FRecords[i].ClearValues();
}

}  // namespace nFramework
