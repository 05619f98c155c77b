// The factory of the e-Sfinge online services: every service is created through it.
#pragma once
#include <memory>

#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineFactory : public IFactory {
 public:
  static std::shared_ptr<IFactory> New();
  std::shared_ptr<IEnviarInfoContabil> EnviarInfoContabil() override;
  std::shared_ptr<IGerarToken> GerarToken() override;
  std::shared_ptr<IGerarDadosEnvio> GerarDadosEnvio() override;
  std::shared_ptr<ILoteEnviado> LoteEnviado() override;
  std::shared_ptr<ICancelarLote> CancelarLote() override;
};

std::shared_ptr<IFactory> Factory();

}  // namespace nUlmoEsfingeOnline
