#include "UlmoEsfingeOnlineFuncoes_U.h"

#include <cctype>
#include <exception>
#include <nlohmann/json.hpp>

#include "Classes_U.h"
#include "ClientDataSet_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "HTTP_U.h"
#include "Nutil_U.h"
#include "SQL_U.h"
#include "SegurancaHTTP_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"
#include "TextoMensagem_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

namespace {
const char* const HostProducao = "https://esfingeonline.tce.sc.gov.br";
const char* const HostHomologacao = "https://esfingeonlinehomologacao.tce.sc.gov.br";
const char* const EmailSuporte = "suporte.esfinge@tcesc.tc.br";
}  // namespace

std::string TUlmoEsfingeFuncoes::GetUrlBase() {
  std::string base = nConfig().GetUrlEsfingeOnline();
  if (base.empty()) {
    if (EhUsoInterno() || nConfig().GetHomologacao())
      base = nConfig().Valor("esfinge.online_host_homologacao", HostHomologacao);
    else
      base = nConfig().Valor("esfinge.online_host_producao", HostProducao);
  }
  return base + "/esfingeonline";
}

std::string TUlmoEsfingeFuncoes::GetUrlToken() { return GetUrlBase() + "/autenticacao/login"; }

std::string TUlmoEsfingeFuncoes::GetUrlIniciarEnvio(int AAnoMes) {
  return GetUrlBase() + "/v6/registroscontabeis/empresas/iniciarEnvio?anoMes=" + std::to_string(AAnoMes);
}

std::string TUlmoEsfingeFuncoes::GetUrlEnviarParcial(const std::string& AChavePacote) {
  return GetUrlBase() + "/v6/registroscontabeis/empresas/enviarParcial?chavePacote=" + ValorUrl(AChavePacote);
}

std::string TUlmoEsfingeFuncoes::GetUrlFinalizarEnvio() {
  return GetUrlBase() + "/v6/registroscontabeis/empresas/finalizarEnvio";
}

std::string TUlmoEsfingeFuncoes::GetUrlCancelarEnvioParcial(const std::string& AChavePacote) {
  return GetUrlBase() + "/servicosGerais/cancelarEnvioParcial?chavePacote=" + ValorUrl(AChavePacote);
}

std::string TUlmoEsfingeFuncoes::GetUrlCancelarLote(const std::string& ACodigoUG) {
  return GetUrlBase() + "/servicosGerais/cancelarPorCodigoRegistroInformacao?identificadorUnidadeGestora=" + ValorUrl(ACodigoUG);
}

std::unique_ptr<TnHTTP> TUlmoEsfingeFuncoes::NovoHTTP() {
  auto http = std::make_unique<TnHTTP>();
  http->SetSSLV3();
  http->SetContentType("application/json; charset=utf-8");
  http->SetConnectTimeout(SegundosConfigurados(ChaveTimeoutConexaoOnline, PadraoTimeoutConexaoOnline) * 1000);
  http->SetTimeoutTotal(SegundosConfigurados(ChaveTimeoutLeituraOnline, PadraoTimeoutLeituraOnline) * 1000);
  http->SetCaExtra(nConfig().Valor(nUlmoEsfingeSoap::ChaveCaExtra));
  return http;
}

std::string TUlmoEsfingeFuncoes::ValorUrl(const std::string& AValor) {
  static const char* const Hex = "0123456789ABCDEF";
  std::string r;
  for (unsigned char ch : AValor) {
    if (std::isalnum(ch) || ch == '-' || ch == '_' || ch == '.' || ch == '~') {
      r += static_cast<char>(ch);
    } else {
      r += '%';
      r += Hex[ch >> 4];
      r += Hex[ch & 15];
    }
  }
  return r;
}

int TUlmoEsfingeFuncoes::GetAnoMes(TDateTime AData) { return YearOf(AData) * 100 + MonthOf(AData); }

TDateTime TUlmoEsfingeFuncoes::ConverterAnoMesParaData(int AAnoMes) {
  std::string texto = std::to_string(AAnoMes);
  if (texto.size() < 6) throw EConvertError("'" + texto + "' não é um ano e mês válido");
  return EncodeDate(std::stoi(texto.substr(0, 4)), std::stoi(texto.substr(4, 2)), 1);
}

int TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(int ACodigoEmpresa, TDateTime ACompet) {
  std::string condicao = "CODIGOEMPRESA = " + std::to_string(ACodigoEmpresa) + " AND " +
                         "COMPETENCIA   = " + ValorParaSQL(TVariant::FromDate(DateOf(ACompet)), TFieldType::ftDate);
  return static_cast<int>(PegarProximoCodigoInt("TCEESFINGEONLINEENVIO", "SEQ", condicao));
}

bool TUlmoEsfingeFuncoes::TemRegistroCfgEmpresaTce(int ACodigoEmpresa) {
  return PegarTemRegistro("CFGEMPRESATCE", "CODIGOEMPRESA", "CODIGOEMPRESA = " + std::to_string(ACodigoEmpresa));
}

std::string TUlmoEsfingeFuncoes::LimparClassificacaoConta(const std::string& AClassif) {
  std::string result = AClassif;
  std::string work = AClassif;
  while (!Trim(work).empty()) {
    if (work.back() == '0') {
      work.pop_back();
    } else if (work.back() == '.') {
      work.pop_back();
      result = work;
    } else {
      break;
    }
  }
  return result;
}

std::string TUlmoEsfingeFuncoes::TratarErroRequest() {
  try {
    throw;
  } catch (const EIdHTTPProtocolException& e) {
    return TratarErro(e.ErrorCode(), e.ErrorMessage(), e.Message());
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Erro desconhecido.";
  }
}

std::string TUlmoEsfingeFuncoes::TratarErro(int ACodigoErro, const std::string& AMensagemErro,
                                           const std::string& AMensagemExcecao) {
  std::string result;
  if (ACodigoErro != 422) result = TratarMensagemErroJson(AMensagemErro);
  if (result.empty()) {
    switch (ACodigoErro) {
      case 400: return "Exceções de negócio! validar RestricoesCONs";
      case 401: return "Requisição Requer Autenticação!";
      case 422: return "Requisição Mal Formada, Exceções de campos obrigatorios. Contate o suporte!";
      case 500:
        return "Erro de servidor! Entre em contato com suporte técnico " +
               nConfig().Valor("esfinge.email_suporte", EmailSuporte);
      default: return AMensagemExcecao;
    }
  }
  return result;
}

std::string TUlmoEsfingeFuncoes::TratarMensagemErroJson(const std::string& AMsgJson) {
  // The court's words, each quoted on one line and cut: a reply may be a whole HTML page.
  std::string result = CitarValor(AMsgJson);
  if (Trim(AMsgJson).empty()) return {};
  try {
    auto json = nlohmann::json::parse(AMsgJson);
    if (!json.is_object() || !json.contains("mensagem")) return result;
    const auto& msg = json["mensagem"];
    result = CitarValor(msg.is_string() ? msg.get<std::string>() : msg.dump());
    auto texto = [](const nlohmann::json& v) { return v.is_string() ? CitarValor(v.get<std::string>()) : std::string(); };
    if (json.contains("erros") && json["erros"].is_array()) {
      for (const auto& erro : json["erros"]) {
        if (!erro.is_object()) continue;
        result += " - " + (erro.contains("mensagem") ? texto(erro["mensagem"]) : std::string());
        if (erro.contains("objetoErro") && erro["objetoErro"].is_object()) {
          const auto& obj = erro["objetoErro"];
          std::string conta = obj.contains("codigoContaContabil") ? texto(obj["codigoContaContabil"]) : "";
          if (!Trim(conta).empty()) result += " - Conta contábil: " + conta;
        }
      }
    }
  } catch (const nlohmann::json::exception&) {
    return CitarValor(AMsgJson);
  }
  return result;
}

}  // namespace nUlmoEsfingeOnline
