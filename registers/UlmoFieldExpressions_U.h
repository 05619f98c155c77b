// TUlmoFieldExpressions: the functions the court registers' field expressions call with
// EXTERNO("NAME", [args]): "VALIDARUFTCE", "EHCONTATCEBANCARIA" and "PEGARSISTEMATCE". The unit
// registers them with the expression engine when the library loads; the one instance is
// created on the first call and kept in the framework's utilities registry.
// REQUIRES (every function): a connection is open.
#pragma once
#include <string>
#include <vector>

#include "Variant_U.h"

namespace nUlmo {

class TUlmoFieldExpressions {
 public:
  TUlmoFieldExpressions() = default;
  TUlmoFieldExpressions(const TUlmoFieldExpressions&) = delete;
  TUlmoFieldExpressions& operator=(const TUlmoFieldExpressions&) = delete;
  ~TUlmoFieldExpressions();

  // (system, state): whether the court system's state is exactly the given one. System 0 (or
  // empty) stands for the court system of the active company.
  nFramework::TVariant ValidarUfTCE(const std::vector<std::string>& AArgs);
  // (system, account type): whether the account type is a bank type (BANCARIA "1").
  nFramework::TVariant EhContaTCEBancaria(const std::vector<std::string>& AArgs);
  // (company): the court system linked to the company; 0 when none or not a company code.
  nFramework::TVariant PegarSistemaTCE(const std::vector<std::string>& AArgs);
};

// The instance, created on first use.
TUlmoFieldExpressions& FieldExpressions();

}  // namespace nUlmo
