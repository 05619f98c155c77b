#include "UlmoEsfingeOnlineFuncoes_U.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <fmt/format.h>
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

std::unique_ptr<TnHTTP> TUlmoEsfingeFuncoes::NovoHTTP(const std::string& ANomeResposta) {
  auto http = std::make_unique<TnHTTP>();
  http->SetNomeResposta(ANomeResposta);
  http->SetSSLV3();
  http->SetContentType("application/json; charset=utf-8");
  http->SetConnectTimeout(SegundosConfigurados(ChaveTimeoutConexaoOnline, PadraoTimeoutConexaoOnline) * 1000);
  http->SetTimeoutTotal(SegundosConfigurados(ChaveTimeoutLeituraOnline, PadraoTimeoutLeituraOnline) * 1000);
  http->SetCaExtra(nConfig().Valor(nUlmoEsfingeSoap::ChaveCaExtra));
  return http;
}

int TUlmoEsfingeFuncoes::ProfundidadeJson(std::string_view ATexto, int ALimite) {
  int nivel = 0, maximo = 0;
  bool emTexto = false;
  for (size_t i = 0; i < ATexto.size(); ++i) {
    const char c = ATexto[i];
    if (emTexto) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        emTexto = false;
    } else if (c == '"') {
      emTexto = true;
    } else if (c == '[' || c == '{') {
      maximo = std::max(maximo, ++nivel);
      if (maximo > ALimite) break;
    } else if (c == ']' || c == '}') {
      --nivel;
    }
  }
  return maximo;
}

nlohmann::json TUlmoEsfingeFuncoes::LerJsonResposta(std::string_view ACorpo, const std::string& ANomeResposta) {
  if (ProfundidadeJson(ACorpo) > MaxProfundidadeJson)
    throw Exception("Resposta " + ANomeResposta + " recusada: passa de " + std::to_string(MaxProfundidadeJson) +
                    " níveis de aninhamento.");
  return nlohmann::json::parse(ACorpo, nullptr, false);
}

bool TUlmoEsfingeFuncoes::LerChaveJson(std::string_view ACorpo, const char* AChave, std::string& AValor,
                                       const std::string& ANomeResposta) {
  auto json = LerJsonResposta(ACorpo, ANomeResposta);
  if (json.is_discarded() || !json.is_object()) return false;
  auto v = json.find(AChave);
  if (v == json.end()) return false;
  std::string texto;
  if (v->is_string()) texto = Trim(v->get<std::string>());
  else if (v->is_number_integer()) texto = v->dump();
  if (texto.empty()) return false;
  AValor = texto;
  return true;
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

void TUlmoEsfingeFuncoes::VerificarParametrosAcesso(TnDMPowerParam& AProcesso) {
  for (const char* alias : {"pUsuario", "pSenha", "pUnidadeGestora"}) {
    // Blanks and controls at the ends are trimmed off before use; inside they stay.
    const TnParamItem& item = AProcesso.Param(alias);
    if (TemCaractereControle(Trim(item.AsString())))
      throw EnParam(item, "O valor de \"" + item.Caption() +
                              "\" não pode ter quebra de linha, tabulação nem outro caractere de controle.");
  }
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

int TUlmoEsfingeFuncoes::GravarComSeqLivre(int codigoEmpresa, TDateTime competencia, int seq,
                                          const std::function<void(int seq)>& gravar) {
  EmTransacao([&] {
    for (int tentativa = 1;; ++tentativa) {
      try {
        EmTransacao([&] { gravar(seq); });
        return;
      } catch (const EDatabaseError& e) {
        if (e.Tipo() != TTipoErroBanco::ChaveDuplicada) throw;
        if (tentativa == MaxTentativasSeqRecibo)
          throw Exception(fmt::format("Outras execuções gravaram {} recibos da empresa {} na competência {} ao mesmo "
                                      "tempo que esta, e nenhum número de sequência ficou livre para o seu. {}",
                                      MaxTentativasSeqRecibo, codigoEmpresa, FormatDateTime("mm/yyyy", competencia),
                                      e.what()));
      }
      seq = std::max(seq + 1, GetProximoSeqTceEsfingeOnlineEnvio(codigoEmpresa, competencia));
    }
  });
  return seq;
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

bool TUlmoEsfingeFuncoes::RespostaPerdida() {
  try {
    throw;
  } catch (const EnHTTPError& e) {
    return e.PodeTerChegado();
  } catch (...) {
    return false;
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
  if (ProfundidadeJson(AMsgJson) > MaxProfundidadeJson)
    return "Resposta de erro do e-Sfinge recusada: passa de " + std::to_string(MaxProfundidadeJson) +
           " níveis de aninhamento.";
  try {
    auto json = nlohmann::json::parse(AMsgJson);
    if (!json.is_object() || !json.contains("mensagem")) return result;
    const auto& msg = json["mensagem"];
    result = CitarValor(msg.is_string() ? msg.get<std::string>() : msg.dump());
    auto texto = [](const nlohmann::json& v) { return v.is_string() ? CitarValor(v.get<std::string>()) : std::string(); };
    if (json.contains("erros") && json["erros"].is_array()) {
      // A refusal may list every entry of a package: the message names the first ones.
      constexpr size_t MaxErrosNaMensagem = 100;
      size_t listados = 0, outros = 0;
      for (const auto& erro : json["erros"]) {
        if (!erro.is_object()) continue;
        if (listados == MaxErrosNaMensagem) {
          ++outros;
          continue;
        }
        ++listados;
        result += " - " + (erro.contains("mensagem") ? texto(erro["mensagem"]) : std::string());
        if (erro.contains("objetoErro") && erro["objetoErro"].is_object()) {
          const auto& obj = erro["objetoErro"];
          std::string conta = obj.contains("codigoContaContabil") ? texto(obj["codigoContaContabil"]) : "";
          if (!Trim(conta).empty()) result += " - Conta contábil: " + conta;
        }
      }
      if (outros > 0) result += " - e outros " + std::to_string(outros) + (outros == 1 ? " erro." : " erros.");
    }
  } catch (const nlohmann::json::exception&) {
    return CitarValor(AMsgJson);
  }
  return result;
}

}  // namespace nUlmoEsfingeOnline
