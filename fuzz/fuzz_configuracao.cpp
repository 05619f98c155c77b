// ulmo.toml: the installation's configuration file, read at every start.
#include <string>

#include "Configuracao_U.h"
#include "Fuzz_U.h"

using namespace nFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  const std::string texto = nFuzz::Texto(aDados, aTamanho);
  RestaurarConfiguracao();
  const TnConfig antes = nConfig();
  std::string recusa;
  try {
    CarregarConfiguracaoTexto(texto, "ulmo.toml");
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    recusa = e.what();
    if (recusa.find("ulmo.toml") == std::string::npos) nFuzz::Falha("a recusa nomeia o arquivo", recusa);
  }
  if (nConfig().EsperaBloqueioMs < 0) nFuzz::Falha("a espera por um bloqueio não é negativa", texto);
  RestaurarConfiguracao();
  if (nConfig().Banco != antes.Banco || nConfig().Valores != antes.Valores) nFuzz::Falha("RestaurarConfiguracao volta ao padrão");
  return 0;
}
