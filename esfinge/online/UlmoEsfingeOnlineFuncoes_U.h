// TUlmoEsfingeFuncoes: the e-Sfinge online client's shared functions: endpoint addresses,
// months as YYYYMM, the next receipt sequence, account classifications and the user message
// for a failed request.
#pragma once
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "DateUtils_U.h"
#include "HTTP_U.h"
#include "PowerParam_U.h"

namespace nUlmoEsfingeOnline {

// Installation keys of the online client's timeouts, in seconds. The defaults let a package of
// 12 MB through an upload link of about 128 kbit/s, with the court's processing on top.
inline constexpr char ChaveTimeoutConexaoOnline[] = "esfinge.online_timeout_conexao";
inline constexpr char ChaveTimeoutLeituraOnline[] = "esfinge.online_timeout_leitura";  // the whole call
inline constexpr long PadraoTimeoutConexaoOnline = 30;
inline constexpr long PadraoTimeoutLeituraOnline = 900;

// Deepest nesting of arrays and objects read from a reply. The court's replies nest three or
// four levels; nlohmann's dump and comparisons recurse once per level.
inline constexpr int MaxProfundidadeJson = 64;

// How many numbers a receipt tries when other runs keep taking them first.
inline constexpr int MaxTentativasSeqRecibo = 20;

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
  // connect and whole-call timeouts and its extra trusted authorities. ANomeResposta names the
  // call's reply in messages ("do e-Sfinge ao login").
  static std::unique_ptr<nFramework::TnHTTP> NovoHTTP(const std::string& ANomeResposta);

  // The nesting depth of a JSON text (arrays and objects, outside strings), counted without
  // parsing it; counting stops once it passes ALimite.
  static int ProfundidadeJson(std::string_view ATexto, int ALimite = MaxProfundidadeJson);
  // A reply body as JSON: a discarded value when it is not JSON. Raises Exception "Resposta " +
  // ANomeResposta + " recusada: ..." for a body nested deeper than MaxProfundidadeJson.
  static nlohmann::json LerJsonResposta(std::string_view ACorpo, const std::string& ANomeResposta);
  // The text of a key of a JSON object reply when it is a non-blank text or a whole number;
  // false when the reply is not an object, lacks the key or holds anything else there. Raises
  // as LerJsonResposta.
  static bool LerChaveJson(std::string_view ACorpo, const char* AChave, std::string& AValor,
                           const std::string& ANomeResposta);

  // A query value as it is when it is URL-safe; blanks, accents and reserved characters are
  // percent-encoded, so a vendor name with a blank still makes a valid address.
  static std::string ValorUrl(const std::string& AValor);

  // The access values of a process's panel (pUsuario, pSenha, pUnidadeGestora) go into HTTP
  // headers, URLs and the SOAP envelope: raises EnParam at the first with a line break, a tab
  // or another control character, which would write headers of its own.
  static void VerificarParametrosAcesso(nFramework::TnDMPowerParam& AProcesso);

  static int GetAnoMes(nFramework::TDateTime AData);
  // The first day of the month; raises EConvertError for a number that is not a YYYYMM.
  static nFramework::TDateTime ConverterAnoMesParaData(int AAnoMes);
  // REQUIRES: a connection is open.
  static int GetProximoSeqTceEsfingeOnlineEnvio(int ACodigoEmpresa, nFramework::TDateTime ACompet);
  // Stores a receipt of the company's month through `gravar` under `seq`, or, when another run
  // stored one under that number meanwhile (a duplicate key), under the next free number, up to
  // MaxTentativasSeqRecibo times. Each try runs in a savepoint, so a failed one leaves the
  // caller's transaction usable on a server that aborts it otherwise. Returns the number used;
  // any other failure is raised as it is.
  // REQUIRES: a connection is open.
  static int GravarComSeqLivre(int codigoEmpresa, nFramework::TDateTime competencia, int seq,
                               const std::function<void(int seq)>& gravar);
  static bool TemRegistroCfgEmpresaTce(int ACodigoEmpresa);
  // Drops trailing levels made only of zeros: "1.2.0.00" gives "1.2".
  static std::string LimparClassificacaoConta(const std::string& AClassif);

  // REQUIRES: called inside a catch block; the message for the exception being handled.
  static std::string TratarErroRequest();
  // REQUIRES: called inside a catch block; whether the exception being handled is a request
  // that may have reached the court while its reply was lost (EnHTTPError::PodeTerChegado).
  static bool RespostaPerdida();
  static std::string TratarErro(int ACodigoErro, const std::string& AMensagemErro,
                                const std::string& AMensagemExcecao = {});
  // The court's message of an error body; the body itself (quoted and cut) when it is not a JSON
  // object with "mensagem", and a refusal for a body nested deeper than MaxProfundidadeJson.
  static std::string TratarMensagemErroJson(const std::string& AMsgJson);
};

}  // namespace nUlmoEsfingeOnline
