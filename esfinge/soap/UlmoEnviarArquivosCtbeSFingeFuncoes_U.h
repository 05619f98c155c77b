// Addresses of the e-Sfinge SOAP services: the testing base under internal use or
// homologation, the production base otherwise; hosts come from the installation settings.
#pragma once
#include <string>

namespace nUlmoEsfingeSoap {

class TnEnviarArqEsfingeSoapFuncoes {
 public:
  static std::string GetUrlBase();
  static std::string GetURLToken();
  static std::string GetURLSitucaoToken();
  static std::string GetURLIniciarTransferencia();
  static std::string GetURLFinalizarTransferencia();
  static std::string GetURLCancelarTransferencia();
  static std::string GetURLEnviarContasContabeis();
  static std::string GetURLEnviarLancamentos();
};

// Installation keys and their defaults.
inline constexpr char ChaveHostProducao[] = "esfinge.soap_host_producao";
inline constexpr char ChaveHostHomologacao[] = "esfinge.soap_host_homologacao";
// "https" always in use; tests point it at a plain local server.
inline constexpr char ChaveProtocolo[] = "esfinge.soap_protocolo";
inline constexpr char ChaveNamespaceToken[] = "esfinge.soap_ns_token";
inline constexpr char ChaveNamespaceConta[] = "esfinge.soap_ns_conta";
inline constexpr char ChaveNamespaceLancamento[] = "esfinge.soap_ns_lancamento";
inline constexpr char ChaveTimeoutConexao[] = "esfinge.soap_timeout_conexao";  // seconds
inline constexpr char ChaveTimeoutLeitura[] = "esfinge.soap_timeout_leitura";  // seconds, whole call
// A PEM file of certificate authorities that both e-Sfinge clients trust besides the system's.
inline constexpr char ChaveCaExtra[] = "esfinge.ca_extra";

inline constexpr char PadraoHostProducao[] = "esfingews.tce.sc.gov.br";
inline constexpr char PadraoHostHomologacao[] = "esfingewshomologacao.tce.sc.gov.br";
inline constexpr char PadraoNamespaceToken[] = "http://token.ws.esfinge.tce.sc.gov.br/";
inline constexpr char PadraoNamespaceConta[] = "http://contacontabil.ws.esfinge.tce.sc.gov.br/";
inline constexpr char PadraoNamespaceLancamento[] = "http://lancamentocontabil.ws.esfinge.tce.sc.gov.br/";

}  // namespace nUlmoEsfingeSoap
