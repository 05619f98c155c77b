// A number held as its decimal digits, so that rounding works on the digits a person reads
// and not on the binary value: 1.005 rounds to 1.01 and 2.675 to 2.68, as in the ledgers.
#pragma once
#include <string>

#include "Currency_U.h"

namespace nFramework {

struct TDecimalText {
  bool Negative = false;
  std::string IntDigits;   // without leading zeros: empty for 0.x
  std::string FracDigits;  // without trailing zeros

  // The shortest text that reads back as the same double.
  // REQUIRES: the value is finite.
  static TDecimalText FromDouble(double value);
  static TDecimalText FromCurrency(Currency value);

  bool IsZero() const { return IntDigits.empty() && FracDigits.empty(); }
  // Half away from zero at `decimals` places (a negative count counts as 0).
  TDecimalText Rounded(int decimals) const;
  double ToDouble() const;
  // Plain text with a point: "-12.5", "0.25", "0".
  std::string ToString() const;
};

}  // namespace nFramework
