#include "UlmoEsfingeOnlineEnviarInfoContabil_U.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "Clock_U.h"
#include "ControleMensagem_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "HTTP_U.h"
#include "SQL_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

namespace {

const char* const MsgSemPerfil =
    "Para envio de Registros Contábeis, é necessário no TCE/SC ter o perfil e-Sfinge Online Registros Contábeis. "
    "Esta empresa, não possui cadastro com este perfil. Solicite ao usuário ADM UG Estadual que cadastre um usuário "
    "com este perfil.";

std::unique_ptr<TnHTTP> NovoHTTP(const std::string& AToken) {
  auto http = std::make_unique<TnHTTP>();
  http->AddToHeader("AUTH_TOKEN", AToken);
  http->SetSSLV3();
  http->SetContentType("application/json; charset=utf-8");
  return http;
}

// The text of a key of a JSON object reply; nothing when the reply is not an object or
// lacks the key.
bool LerChave(const std::string& AResposta, const char* AChave, std::string& AValor) {
  auto json = nlohmann::json::parse(AResposta, nullptr, false);
  if (json.is_discarded() || !json.is_object() || !json.contains(AChave) || json[AChave].is_null()) return false;
  const auto& v = json[AChave];
  AValor = v.is_string() ? v.get<std::string>() : v.dump();
  return true;
}

}  // namespace

std::shared_ptr<IEnviarInfoContabil> TUlmoEsfingeOnlineEnviarInfoContabil::New() {
  return std::make_shared<TUlmoEsfingeOnlineEnviarInfoContabil>();
}

IEnviarInfoContabil& TUlmoEsfingeOnlineEnviarInfoContabil::Config(const TRecConfig& AConfig) {
  FConfig = AConfig;
  return *this;
}

IEnviarInfoContabil& TUlmoEsfingeOnlineEnviarInfoContabil::DataSets(TClientDataSet& ACdsContaCtb,
                                                                     TClientDataSet& ACdsLctoCtb) {
  FCdsContaCtb = &ACdsContaCtb;
  FCdsLctoCtb = &ACdsLctoCtb;
  return *this;
}

IEnviarInfoContabil& TUlmoEsfingeOnlineEnviarInfoContabil::MsgTree(std::shared_ptr<ITreeMessager> AMsgTree) {
  FMsgTreeLista = std::move(AMsgTree);
  ControleMensagem().SetFraListaMensagemTree(FMsgTreeLista);
  ControleMensagem().Clear();
  if (FMsgTreeLista) FMsgTreeLista->Clear();
  return *this;
}

IEnviarInfoContabil& TUlmoEsfingeOnlineEnviarInfoContabil::Progresso(TnFraProgresso& AProgresso) {
  FProgresso = &AProgresso;
  return *this;
}

void TUlmoEsfingeOnlineEnviarInfoContabil::Mostrar(const std::string& ATexto) {
  if (FProgresso) FProgresso->MostrarTexto(ATexto);
}

void TUlmoEsfingeOnlineEnviarInfoContabil::Enviar() {
  if (!FCdsContaCtb || !FCdsLctoCtb) throw EInternalError("envio e-Sfinge online sem datasets");
  if (FProgresso) {
    FProgresso->SetEhCircular(true);
    FProgresso->MostrarTexto("Realizando envio dos dados, aguarde...");
  }
  try {
    Mostrar("Gerando Token...");
    FToken = Factory()->GerarToken()->Config(FConfig).Token();

    FListaEnvioLote.clear();
    Mostrar("Carregando dados para envio...");
    Factory()->GerarDadosEnvio()->Config(FConfig).DataSets(*FCdsContaCtb, *FCdsLctoCtb).Lista(FListaEnvioLote).Executar();

    // One key for the whole run, replaced by each start reply.
    std::string chavePacote;
    for (const TEnvioLote& lote : FListaEnvioLote) EnviarLote(lote, chavePacote);
  } catch (const std::exception& e) {
    ControleMensagem().AddErro(e.what());
  }
  FListaEnvioLote.clear();
  if (FProgresso) {
    FProgresso->SetEhCircular(false);
    FProgresso->Hide();
  }
}

void TUlmoEsfingeOnlineEnviarInfoContabil::GravarCopia(const std::string& AJson) {
  std::string base = PegarDirTemp() + "JsonEnvioEsfingeOnline_" + FormatDateTime("yymmddhhnnsszzz", Now());
  // Two packages within the same millisecond must not overwrite each other's copy.
  std::string caminho = base + ".txt";
  for (int i = 2; std::filesystem::exists(caminho); ++i) caminho = base + "_" + std::to_string(i) + ".txt";
  GravarArquivo(caminho, AJson);
}

void TUlmoEsfingeOnlineEnviarInfoContabil::EnviarLote(const TEnvioLote& ALote, std::string& AChavePacote) {
  const std::string anoMes = std::to_string(ALote.FAnoMes);
  Mostrar("Enviando Lote " + anoMes + "...");
  const std::string json = ObjectToJsonString(ALote);
  GravarCopia(json);

  // Start.
  try {
    std::string resposta = NovoHTTP(FToken)->Get(TUlmoEsfingeFuncoes::GetUrlIniciarEnvio(ALote.FAnoMes));
    // Without a key of its own the package would go out under the previous package's key.
    if (!LerChave(resposta, "chavePacote", AChavePacote))
      throw Exception("O e-Sfinge não retornou a chave do pacote.");
  } catch (...) {
    std::string d = TUlmoEsfingeFuncoes::TratarErroRequest();
    if (d.find("UNAUTHORIZED") != std::string::npos) throw Exception(MsgSemPerfil);
    throw Exception("Erro ao iniciar o envio. " + d);
  }

  // Partial send and finish; a failure of either cancels the partial send.
  std::string respostaFinal;
  try {
    NovoHTTP(FToken)->Post(TUlmoEsfingeFuncoes::GetUrlEnviarParcial(AChavePacote), "[" + json + "]");
    TFinalizaEnvioJson fim{AChavePacote, static_cast<int>(ALote.FContasContabeis.size()),
                           static_cast<int>(ALote.FLancamentosContabeis.size())};
    try {
      respostaFinal = NovoHTTP(FToken)->Post(TUlmoEsfingeFuncoes::GetUrlFinalizarEnvio(), ObjectToJsonString(fim));
    } catch (...) {
      throw Exception("Erro ao finalizar o envio parcial. " + TUlmoEsfingeFuncoes::TratarErroRequest());
    }
    ControleMensagem().AddConfirmacao("Lote " + anoMes + ": Envio parcial realizado com sucesso.");
  } catch (...) {
    std::string erro = TUlmoEsfingeFuncoes::TratarErroRequest();
    try {
      NovoHTTP(FToken)->Post(TUlmoEsfingeFuncoes::GetUrlCancelarEnvioParcial(AChavePacote), "");
      ControleMensagem().AddAviso("Lote " + anoMes + ": Envio parcial cancelado.");
    } catch (...) {
    }
    throw Exception("Lote " + anoMes + ": Erro ao realizar envio parcial. " + erro);
  }

  // Receipt.
  std::string codigoRegistro;
  if (!LerChave(respostaFinal, "codigoRegistroInformacao", codigoRegistro)) return;
  try {
    TRecDadosEnvio dados;
    dados.CodigoEmpresa = FConfig.CodigoEmpresa;
    dados.Competencia = TUlmoEsfingeFuncoes::ConverterAnoMesParaData(ALote.FAnoMes);
    dados.Seq = TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(dados.CodigoEmpresa, dados.Competencia);
    dados.DataEnvio = PegarDataServidor();
    dados.Status = TnStatusEnvio::tsFinalizado;
    dados.ChavePacote = AChavePacote;
    dados.CodigoRegistroInformacao = codigoRegistro;
    Factory()->LoteEnviado()->Config(FConfig).Dados(dados).Gravar();
  } catch (const std::exception& e) {
    throw Exception("Erro ao gravar o recibo: " + std::string(e.what()));
  }
}

}  // namespace nUlmoEsfingeOnline
