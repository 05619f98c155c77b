// TUlmoEsfingeFuncoes: the e-Sfinge online client's shared functions: endpoint addresses,
// months as YYYYMM, the next receipt sequence, account classifications and the user message
// for a failed request.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "DateUtils_U.h"
#include "HTTP_U.h"

namespace nUlmoEsfingeOnline {

// Installation keys of the online client's timeouts, in seconds. The defaults let a package of
// 12 MB through an upload link of about 128 kbit/s, with the court's processing on top.
inline constexpr char ChaveTimeoutConexaoOnline[] = "esfinge.online_timeout_conexao";
inline constexpr char ChaveTimeoutLeituraOnline[] = "esfinge.online_timeout_leitura";  // the whole call
inline constexpr long PadraoTimeoutConexaoOnline = 30;
inline constexpr long PadraoTimeoutLeituraOnline = 900;

class TUlmoEsfingeFuncoes {
 public:
  // The configured override, else the court's testing host (internal use or homologation) or
  // its production host; always followed by "/esfingeonline".
  static std::string GetUrlBase();
  static std::string GetUrlToken();
  static std::string GetUrlIniciarEnvio(int AAnoMes);
  static std::string GetUrlEnviarParcial(const std::string& AChavePacote);
  static std::string GetUrlFinalizarEnvio();
  static std::string GetUrlCancelarEnvioParcial(const std::string& AChavePacote);
  static std::string GetUrlCancelarLote(const std::string& ACodigoUG);

  // A new client for one request of the online API: TLS, JSON content type, the installation's
  // connect and whole-call timeouts and its extra trusted authorities.
  static std::unique_ptr<nFramework::TnHTTP> NovoHTTP();

  // A query value as it is when it is URL-safe; blanks, accents and reserved characters are
  // percent-encoded, so a vendor name with a blank still makes a valid address.
  static std::string ValorUrl(const std::string& AValor);

  static int GetAnoMes(nFramework::TDateTime AData);
  // The first day of the month; raises EConvertError for a number that is not a YYYYMM.
  static nFramework::TDateTime ConverterAnoMesParaData(int AAnoMes);
  // REQUIRES: a connection is open.
  static int GetProximoSeqTceEsfingeOnlineEnvio(int ACodigoEmpresa, nFramework::TDateTime ACompet);
  static bool TemRegistroCfgEmpresaTce(int ACodigoEmpresa);
  // Drops trailing levels made only of zeros: "1.2.0.00" gives "1.2".
  static std::string LimparClassificacaoConta(const std::string& AClassif);

  // REQUIRES: called inside a catch block; the message for the exception being handled.
  static std::string TratarErroRequest();
  static std::string TratarErro(int ACodigoErro, const std::string& AMensagemErro,
                                const std::string& AMensagemExcecao = {});
  static std::string TratarMensagemErroJson(const std::string& AMsgJson);
};

}  // namespace nUlmoEsfingeOnline
