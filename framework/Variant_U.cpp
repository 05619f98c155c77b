#include "Variant_U.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

std::string_view TrimView(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

std::string FloatToText(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

}  // namespace

bool TryStrToInt64(std::string_view text, int64_t& out) {
  text = TrimView(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto res = std::from_chars(text.data(), text.data() + text.size(), out);
  return res.ec == std::errc() && res.ptr == text.data() + text.size();
}

int StrToIntDef(std::string_view text, int def) {
  int64_t v;
  if (!TryStrToInt64(text, v) || v < INT32_MIN || v > INT32_MAX) return def;
  return static_cast<int>(v);
}

int StrToInt(std::string_view text) {
  int64_t v;
  if (!TryStrToInt64(text, v) || v < INT32_MIN || v > INT32_MAX)
    throw EConvertError("'" + CitarValor(text) + "' não é um valor inteiro válido");
  return static_cast<int>(v);
}

bool TryStrToFloat(std::string_view text, double& out) {
  std::string t(TrimView(text));
  if (t.empty()) return false;
  for (auto& c : t)
    if (c == ',') c = '.';
  if (t.front() == '+') t.erase(0, 1);
  auto res = std::from_chars(t.data(), t.data() + t.size(), out);
  return res.ec == std::errc() && res.ptr == t.data() + t.size();
}

TVariant TVariant::FromArray(std::vector<TVariant> items) {
  TVariant r;
  r.FKind = TVarKind::Array;
  r.FItems = std::make_shared<const std::vector<TVariant>>(std::move(items));
  return r;
}

size_t TVariant::Count() const { return FItems ? FItems->size() : 0; }

const TVariant& TVariant::operator[](size_t i) const {
  if (!FItems || i >= FItems->size()) throw EInternalError("índice fora do vetor de valores");
  return (*FItems)[i];
}

int64_t TVariant::AsInt64() const {
  switch (FKind) {
    case TVarKind::Null: return 0;
    case TVarKind::Integer:
    case TVarKind::Boolean: return FInt;
    case TVarKind::Currency: return Currency::FromRaw(FInt).Round(0).Raw() / Currency::Scale;
    case TVarKind::Float:
    case TVarKind::Date: return static_cast<int64_t>(std::llround(FFloat));
    case TVarKind::String: {
      int64_t v;
      if (TryStrToInt64(FStr, v)) return v;
      // A decimal text rounds; one beyond the 64-bit range is no integer at all.
      double d;
      if (TryStrToFloat(FStr, d) && std::isfinite(d) && std::fabs(d) < 9.2e18)
        return static_cast<int64_t>(std::llround(d));
      throw EConvertError("'" + CitarValor(FStr) + "' não é um valor inteiro válido");
    }
    case TVarKind::Array: break;
  }
  throw EConvertError("Vetor de valores não pode ser convertido em número");
}

double TVariant::AsFloat() const {
  switch (FKind) {
    case TVarKind::Null: return 0;
    case TVarKind::Integer:
    case TVarKind::Boolean: return static_cast<double>(FInt);
    case TVarKind::Currency: return Currency::FromRaw(FInt).ToDouble();
    case TVarKind::Float:
    case TVarKind::Date: return FFloat;
    case TVarKind::String: {
      double d;
      if (TryStrToFloat(FStr, d)) return d;
      throw EConvertError("'" + CitarValor(FStr) + "' não é um valor numérico válido");
    }
    case TVarKind::Array: break;
  }
  throw EConvertError("Vetor de valores não pode ser convertido em número");
}

Currency TVariant::AsCurrency() const {
  switch (FKind) {
    case TVarKind::Currency: return Currency::FromRaw(FInt);
    case TVarKind::Integer:
    case TVarKind::Boolean:
      if (FInt > INT64_MAX / Currency::Scale || FInt < -(INT64_MAX / Currency::Scale))
        throw EConvertError("O valor " + std::to_string(FInt) + " está fora da faixa dos valores monetários");
      return Currency::FromInt(FInt);
    case TVarKind::String: return FStr.empty() ? Currency() : Currency::FromString(FStr);
    default: return Currency::FromDouble(AsFloat());
  }
}

TDateTime TVariant::AsDateTime() const {
  switch (FKind) {
    case TVarKind::Null: return 0;
    case TVarKind::Date:
    case TVarKind::Float: return FFloat;
    case TVarKind::Integer: return static_cast<double>(FInt);
    case TVarKind::String: {
      if (auto d = TryISOToDateTime(FStr)) return *d;
      // dd/mm/yyyy, as the panel writes it
      if (FStr.size() == 10 && FStr[2] == '/' && FStr[5] == '/') {
        int d = StrToIntDef(FStr.substr(0, 2), 0), m = StrToIntDef(FStr.substr(3, 2), 0), y = StrToIntDef(FStr.substr(6), 0);
        if (auto v = TryEncodeDate(y, m, d)) return *v;
      }
      throw EConvertError("'" + CitarValor(FStr) + "' não é uma data válida");
    }
    default: break;
  }
  throw EConvertError("Valor não pode ser convertido em data");
}

bool TVariant::AsBoolean() const {
  switch (FKind) {
    case TVarKind::Null: return false;
    case TVarKind::Boolean:
    case TVarKind::Integer:
    case TVarKind::Currency: return FInt != 0;
    case TVarKind::Float:
    case TVarKind::Date: return FFloat != 0;
    case TVarKind::String:
      if (FStr == "True" || FStr == "true" || FStr == "TRUE" || FStr == "1") return true;
      if (FStr == "False" || FStr == "false" || FStr == "FALSE" || FStr == "0" || FStr.empty()) return false;
      throw EConvertError("'" + CitarValor(FStr) + "' não é um valor lógico válido");
    case TVarKind::Array: break;
  }
  throw EConvertError("Vetor de valores não pode ser convertido em lógico");
}

std::string TVariant::AsString() const {
  switch (FKind) {
    case TVarKind::Null: return "";
    case TVarKind::Integer: return std::to_string(FInt);
    case TVarKind::Boolean: return FInt ? "True" : "False";
    case TVarKind::Currency: return Currency::FromRaw(FInt).ToString();
    case TVarKind::Float: return FloatToText(FFloat);
    case TVarKind::String: return FStr;
    case TVarKind::Date: {
      int y, m, d;
      DecodeDate(FFloat, y, m, d);
      char buf[32];
      std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d, m, y);
      std::string s = buf;
      int h, mi, se, ms;
      DecodeTime(FFloat, h, mi, se, ms);
      if (h || mi || se) {
        std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", h, mi, se);
        s += buf;
      }
      return s;
    }
    case TVarKind::Array: break;
  }
  throw EConvertError("Vetor de valores não pode ser convertido em texto");
}

bool TVariant::operator==(const TVariant& o) const {
  if (FKind == TVarKind::Null || o.FKind == TVarKind::Null) return FKind == o.FKind;
  if (FKind == TVarKind::String && o.FKind == TVarKind::String) return FStr == o.FStr;
  if (FKind == TVarKind::Array || o.FKind == TVarKind::Array) {
    if (FKind != o.FKind || Count() != o.Count()) return false;
    for (size_t i = 0; i < Count(); ++i)
      if (!((*this)[i] == o[i])) return false;
    return true;
  }
  if (FKind == TVarKind::String || o.FKind == TVarKind::String) return AsString() == o.AsString();
  return AsFloat() == o.AsFloat();
}

bool VarIsNull(const TVariant& v) { return v.IsNull(); }

int VarToIntDef(const TVariant& v, int def) {
  if (v.IsNull() || v.IsArray()) return def;
  if (v.Kind() == TVarKind::String) return StrToIntDef(v.AsString(), def);
  try {
    return v.AsInteger();
  } catch (const EConvertError&) {
    return def;
  }
}

int64_t VarToInt64Def(const TVariant& v, int64_t def) {
  if (v.IsNull() || v.IsArray()) return def;
  if (v.Kind() == TVarKind::String) {
    int64_t r;
    return TryStrToInt64(v.AsString(), r) ? r : def;
  }
  try {
    return v.AsInt64();
  } catch (const EConvertError&) {
    return def;
  }
}

double VarToFloatDef(const TVariant& v, double def) {
  if (v.IsNull() || v.IsArray()) return def;
  try {
    return v.AsFloat();
  } catch (const EConvertError&) {
    return def;
  }
}

std::string VarToStr(const TVariant& v) { return v.IsNull() ? std::string() : v.AsString(); }

}  // namespace nFramework
