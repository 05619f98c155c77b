// TUlmoEsfingeOnlineToken: logs in to the e-Sfinge online API and keeps the key as the
// company's last token (CFGEMPRESATCE.TOKENESFINGE).
#pragma once
#include <memory>
#include <string>

#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineToken : public IGerarToken {
 public:
  static std::shared_ptr<IGerarToken> New();
  IGerarToken& Config(const TRecConfig& AConfig) override;
  // REQUIRES: a connection is open. Raises "Erro ao gerar o token. " + detail when the
  // login fails; a storage failure is rolled back and raised as it is.
  std::string Token() override;

 private:
  void Gravar();
  TRecConfig FConfig;
  std::string FToken;
};

}  // namespace nUlmoEsfingeOnline
