// TUlmoEsfingeOnlineCancelarLote: cancels one finished package at the court by its receipt
// and marks its receipt row cancelled. Reports its confirmation or error through the message
// controller and raises nothing, so the caller goes on with the next package.
#pragma once
#include <memory>
#include <string>

#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineCancelarLote : public ICancelarLote {
 public:
  static std::shared_ptr<ICancelarLote> New();
  ICancelarLote& Config(const TRecConfig& AConfig) override;
  ICancelarLote& Dados(const TRecDadosEnvio& ADados) override;
  // REQUIRES: a connection is open.
  void Executar() override;

 private:
  std::string FToken;
  TRecConfig FConfig;
  TRecDadosEnvio FDadosLote;
};

}  // namespace nUlmoEsfingeOnline
