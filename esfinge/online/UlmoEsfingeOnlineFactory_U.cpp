#include "UlmoEsfingeOnlineFactory_U.h"

#include "UlmoEsfingeOnlineCancelarLote_U.h"
#include "UlmoEsfingeOnlineEnviarInfoContabil_U.h"
#include "UlmoEsfingeOnlineGerarDadosEnvio_U.h"
#include "UlmoEsfingeOnlineLoteEnviado_U.h"
#include "UlmoEsfingeOnlineToken_U.h"

namespace nUlmoEsfingeOnline {

std::shared_ptr<IFactory> TUlmoEsfingeOnlineFactory::New() { return std::make_shared<TUlmoEsfingeOnlineFactory>(); }

std::shared_ptr<IEnviarInfoContabil> TUlmoEsfingeOnlineFactory::EnviarInfoContabil() {
  return TUlmoEsfingeOnlineEnviarInfoContabil::New();
}
std::shared_ptr<IGerarToken> TUlmoEsfingeOnlineFactory::GerarToken() { return TUlmoEsfingeOnlineToken::New(); }
std::shared_ptr<IGerarDadosEnvio> TUlmoEsfingeOnlineFactory::GerarDadosEnvio() {
  return TUlmoEsfingeOnlineGerarDadosEnvio::New();
}
std::shared_ptr<ILoteEnviado> TUlmoEsfingeOnlineFactory::LoteEnviado() { return TUlmoEsfingeOnlineLoteEnviado::New(); }
std::shared_ptr<ICancelarLote> TUlmoEsfingeOnlineFactory::CancelarLote() { return TUlmoEsfingeOnlineCancelarLote::New(); }

std::shared_ptr<IFactory> Factory() { return TUlmoEsfingeOnlineFactory::New(); }

}  // namespace nUlmoEsfingeOnline
