// A value of any kind that a field, a parameter or a lookup can hold, Null included.
// Conversions follow the platform: Null reads as 0, "" or false where a default is asked for.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Currency_U.h"
#include "DateUtils_U.h"

namespace nFramework {

enum class TVarKind { Null, Integer, Float, Currency, String, Date, Boolean, Array };

class TVariant {
 public:
  TVariant() = default;
  TVariant(std::nullptr_t) {}
  TVariant(int v) : FKind(TVarKind::Integer), FInt(v) {}
  TVariant(long v) : FKind(TVarKind::Integer), FInt(v) {}
  TVariant(long long v) : FKind(TVarKind::Integer), FInt(v) {}
  TVariant(unsigned v) : FKind(TVarKind::Integer), FInt(v) {}
  TVariant(double v) : FKind(TVarKind::Float), FFloat(v) {}
  TVariant(Currency v) : FKind(TVarKind::Currency), FInt(v.Raw()) {}
  TVariant(bool v) : FKind(TVarKind::Boolean), FInt(v ? 1 : 0) {}
  TVariant(const char* v) : FKind(TVarKind::String), FStr(v) {}
  TVariant(std::string v) : FKind(TVarKind::String), FStr(std::move(v)) {}
  TVariant(std::string_view v) : FKind(TVarKind::String), FStr(v) {}
  static TVariant FromDate(TDateTime v) {
    TVariant r;
    r.FKind = TVarKind::Date;
    r.FFloat = v;
    return r;
  }
  static TVariant FromArray(std::vector<TVariant> items);

  TVarKind Kind() const { return FKind; }
  bool IsNull() const { return FKind == TVarKind::Null; }
  bool IsArray() const { return FKind == TVarKind::Array; }
  size_t Count() const;                        // items of an array; 0 otherwise
  const TVariant& operator[](size_t i) const;  // item of an array

  // Strict conversions: raise EConvertError when the value has no such form (Null gives 0/""/false).
  int64_t AsInt64() const;
  int AsInteger() const { return static_cast<int>(AsInt64()); }
  double AsFloat() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  // Text form: integers in decimal, floats shortest round-trip with a point, dates dd/mm/yyyy.
  std::string AsString() const;

  bool operator==(const TVariant& other) const;

 private:
  TVarKind FKind = TVarKind::Null;
  int64_t FInt = 0;
  double FFloat = 0;
  std::string FStr;
  std::shared_ptr<const std::vector<TVariant>> FItems;
};

inline const TVariant Null{};

bool VarIsNull(const TVariant& v);
// The value as an integer, or the default when it is Null or has no integer form.
int VarToIntDef(const TVariant& v, int def);
int64_t VarToInt64Def(const TVariant& v, int64_t def);
double VarToFloatDef(const TVariant& v, double def);
std::string VarToStr(const TVariant& v);  // Null gives ""

// Whole-text integer conversions of the platform.
bool TryStrToInt64(std::string_view text, int64_t& out);
int StrToIntDef(std::string_view text, int def);
int StrToInt(std::string_view text);  // raises EConvertError
bool TryStrToFloat(std::string_view text, double& out);  // accepts '.' or ','

}  // namespace nFramework
