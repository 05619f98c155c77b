// Money: a 64-bit count of ten-thousandths, like the platform's currency type.
// Conversions from floating point round half away from zero at the fourth decimal.
#pragma once
#include <cstdint>
#include <compare>
#include <string>

namespace nFramework {

class Currency {
 public:
  static constexpr int64_t Scale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromRaw(int64_t raw) {
    Currency c;
    c.FValue = raw;
    return c;
  }
  // Raises EConvertError for a value past the range (about ±9.2e14) or not a number.
  static Currency FromDouble(double value);
  static constexpr Currency FromInt(int64_t value) { return FromRaw(value * Scale); }
  // Parses "1234.56", "-0,5" (either decimal separator); raises EConvertError otherwise, and
  // for a value past the range.
  static Currency FromString(const std::string& text);

  constexpr int64_t Raw() const { return FValue; }
  double ToDouble() const { return static_cast<double>(FValue) / Scale; }
  // Rounds half away from zero to the given number of decimals (0..4).
  Currency Round(int decimals) const;
  // Plain text with a point and as many decimals as needed ("12.5", "-3", "0.0001").
  std::string ToString() const;

  constexpr Currency operator-() const { return FromRaw(-FValue); }
  constexpr Currency operator+(Currency o) const { return FromRaw(FValue + o.FValue); }
  constexpr Currency operator-(Currency o) const { return FromRaw(FValue - o.FValue); }
  constexpr Currency operator*(int64_t n) const { return FromRaw(FValue * n); }
  Currency& operator+=(Currency o) {
    FValue += o.FValue;
    return *this;
  }
  Currency& operator-=(Currency o) {
    FValue -= o.FValue;
    return *this;
  }
  constexpr auto operator<=>(const Currency&) const = default;
  constexpr bool operator==(const Currency&) const = default;

 private:
  int64_t FValue = 0;
};

}  // namespace nFramework
