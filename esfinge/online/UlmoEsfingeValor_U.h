// The e-Sfinge amount format, SOAP and online alike: two decimals, a point, no grouping.
#pragma once
#include <string>

#include "Currency_U.h"
#include "FormatUtils_U.h"

namespace nUlmoEsfinge {

inline std::string ValorEsfinge(nFramework::Currency valor) {
  std::string t = nFramework::FormatFloat("0.00", valor);
  if (auto p = t.find(','); p != std::string::npos) t[p] = '.';
  return t;
}

}  // namespace nUlmoEsfinge
