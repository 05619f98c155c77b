// TUlmoSSplash: the module's splash; lists the other modules of the product family.
#pragma once
#include "Projeto_U.h"

class TUlmoSSplash : public nFramework::TnFrmSplashBrivo {
 public:
  std::string_view ClassName() const override { return "TUlmoSSplash"; }
  std::vector<std::string> GetListaSplashItens() const override;
};
