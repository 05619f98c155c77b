#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"

#include "Configuracao_U.h"
#include "Nutil_U.h"

namespace nUlmoEsfingeSoap {

using nFramework::nConfig;

std::string TnEnviarArqEsfingeSoapFuncoes::GetUrlBase() {
  const auto& c = nConfig();
  bool testes = nFramework::EhUsoInterno() || c.GetHomologacao();
  std::string host = testes ? c.Valor(ChaveHostHomologacao, PadraoHostHomologacao)
                            : c.Valor(ChaveHostProducao, PadraoHostProducao);
  return c.Valor(ChaveProtocolo, "https") + "://" + host + "/esfinge/services";
}

std::string TnEnviarArqEsfingeSoapFuncoes::GetURLToken() { return GetUrlBase() + "/tokenWS"; }
std::string TnEnviarArqEsfingeSoapFuncoes::GetURLSitucaoToken() { return GetUrlBase() + "/tokenWS"; }
std::string TnEnviarArqEsfingeSoapFuncoes::GetURLIniciarTransferencia() { return GetUrlBase() + "/tokenWS"; }
std::string TnEnviarArqEsfingeSoapFuncoes::GetURLFinalizarTransferencia() { return GetUrlBase() + "/tokenWS"; }
std::string TnEnviarArqEsfingeSoapFuncoes::GetURLCancelarTransferencia() { return GetUrlBase() + "/tokenWS"; }
std::string TnEnviarArqEsfingeSoapFuncoes::GetURLEnviarContasContabeis() { return GetUrlBase() + "/contaContabilWS"; }
std::string TnEnviarArqEsfingeSoapFuncoes::GetURLEnviarLancamentos() { return GetUrlBase() + "/lancamentoContabilWS"; }

}  // namespace nUlmoEsfingeSoap
