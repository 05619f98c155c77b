#include "UlmoEsfingeOnlineEnviarInfoContabil_U.h"

#include <algorithm>
#include <filesystem>

#include "Classes_U.h"
#include "ClientDataSet_U.h"
#include "Clock_U.h"
#include "ControleMensagem_U.h"
#include "DateUtils_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "HTTP_U.h"
#include "SQL_U.h"
#include "UlmoEsfingeOnlineCopias_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

namespace {

const char* const MsgSemPerfil =
    "Para envio de Registros Contábeis, é necessário no TCE/SC ter o perfil e-Sfinge Online Registros Contábeis. "
    "Esta empresa, não possui cadastro com este perfil. Solicite ao usuário ADM UG Estadual que cadastre um usuário "
    "com este perfil.";

std::unique_ptr<TnHTTP> NovoHTTP(const std::string& AToken, const std::string& ANomeResposta) {
  auto http = TUlmoEsfingeFuncoes::NovoHTTP(ANomeResposta);
  http->AddToHeader("AUTH_TOKEN", AToken);
  return http;
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
    // The packages first: with nothing to send there is no login, which would replace the
    // company's stored token for nothing.
    Mostrar("Carregando dados para envio...");
    FDados = Factory()->GerarDadosEnvio();
    FDados->Config(FConfig).DataSets(*FCdsContaCtb, *FCdsLctoCtb).Executar();
    VerificarLotes();

    // A run that cannot keep its copies safely sends nothing, and does not log in for it.
    PastaCopias();
    DiasCopias();

    Mostrar("Gerando Token...");
    FToken = Factory()->GerarToken()->Config(FConfig).Token();

    // One key for the whole run, replaced by each start reply.
    std::string chavePacote;
    // One month's package in memory at a time.
    for (int anoMes : FDados->Meses()) EnviarLote(FDados->Lote(anoMes), chavePacote);
  } catch (const std::exception& e) {
    ControleMensagem().AddErro(e.what());
  }
  FDados.reset();
  if (FProgresso) {
    FProgresso->SetEhCircular(false);
    FProgresso->Hide();
  }
}

void TUlmoEsfingeOnlineEnviarInfoContabil::VerificarLotes() {
  // The months a run can send: those of the period up to the current one.
  const TDateTime primeiro = StartOfTheMonth(FConfig.CompetenciaInicial);
  const TDateTime ultimo = StartOfTheMonth(std::min(FConfig.CompetenciaFinal, Now()));
  auto mes = [](TDateTime d) { return FormatDateTime("mm/yyyy", d); };
  const std::string meses = "de " + mes(primeiro) + " a " + mes(ultimo);

  // Entries marked outside those months go in no package.
  int marcados = 0;
  std::vector<std::string> fora;
  TField* data = FCdsLctoCtb->FindField("DATALANCAMENTO");
  TField* seq = FCdsLctoCtb->FindField("NUMEROSEQUENCIAL");
  FCdsLctoCtb->ForEach([&](TClientDataSet&) {
    ++marcados;
    const TDateTime d = data && !data->IsNull() ? StartOfTheMonth(data->AsDateTime()) : 0;
    if (d < primeiro || d > ultimo) fora.push_back(seq ? seq->AsString() : std::to_string(marcados));
  });

  if (FDados->Meses().empty()) {
    if (marcados == 0 && FCdsContaCtb->IsEmpty()) throw Exception("Nenhum registro marcado para envio.");
    if (marcados == 0)
      throw Exception("Nenhum lançamento marcado para envio. O e-Sfinge online recebe as contas marcadas junto com os "
                      "lançamentos de cada mês: marque os lançamentos dos meses a enviar.");
    if (primeiro > ultimo)
      throw Exception("Nenhum mês a enviar: o período começa em " + mes(primeiro) + ", depois do mês atual (" +
                      mes(StartOfTheMonth(Now())) + ").");
    throw Exception("Nenhum mês a enviar: nenhum dos lançamentos marcados é de um mês " + meses +
                    " (os meses do período até o mês atual).");
  }
  if (!fora.empty()) {
    std::string numeros;
    for (size_t i = 0; i < fora.size() && i < 10; ++i) numeros += (i ? ", " : "") + fora[i];
    if (fora.size() > 10) numeros += " e outros " + std::to_string(fora.size() - 10);
    const bool um = fora.size() == 1;
    ControleMensagem().AddAviso(std::to_string(fora.size()) +
                                (um ? " lançamento marcado não é" : " lançamentos marcados não são") + " de um mês " +
                                meses + (um ? " e não vai" : " e não vão") + " no envio (Número Seqüencial " + numeros +
                                ").");
  }
}

std::string TUlmoEsfingeOnlineEnviarInfoContabil::GravarCopia(std::string_view AJson) { return GravarCopiaLote(AJson); }

void TUlmoEsfingeOnlineEnviarInfoContabil::EnviarLote(const TLoteJson& ALote, std::string& AChavePacote) {
  const std::string anoMes = std::to_string(ALote.AnoMes);
  Mostrar("Enviando Lote " + anoMes + "...");
  const std::string copia = GravarCopia(ALote.Json());

  // Start.
  try {
    const std::string nome = "do e-Sfinge ao início do envio";
    std::string resposta = NovoHTTP(FToken, nome)->Get(TUlmoEsfingeFuncoes::GetUrlIniciarEnvio(ALote.AnoMes));
    // Without a key of its own the package would go out under the previous package's key.
    if (!TUlmoEsfingeFuncoes::LerChaveJson(resposta, "chavePacote", AChavePacote, nome))
      throw Exception("O e-Sfinge não retornou a chave do pacote.");
  } catch (...) {
    std::string d = TUlmoEsfingeFuncoes::TratarErroRequest();
    if (d.find("UNAUTHORIZED") != std::string::npos) throw Exception(MsgSemPerfil);
    throw Exception("Erro ao iniciar o envio. " + d);
  }

  // Partial send and finish; a failure of either cancels the partial send. A finish reply
  // without a receipt code is a failed finish: the package could never be listed nor cancelled
  // by its receipt, so it is cancelled now, while its key is at hand.
  std::string codigoRegistro;
  // The court may have finished the package without its receipt reaching us: a finish reply
  // lost, cut or unreadable.
  bool finalizacaoIncerta = false;
  try {
    NovoHTTP(FToken, "do e-Sfinge ao envio parcial")
        ->Post(TUlmoEsfingeFuncoes::GetUrlEnviarParcial(AChavePacote), ALote.Corpo);
    TFinalizaEnvioJson fim{AChavePacote, ALote.QuantidadeContas, ALote.QuantidadeLancamentos};
    const std::string nome = "do e-Sfinge à finalização do envio";
    std::string respostaFinal;
    try {
      respostaFinal = NovoHTTP(FToken, nome)->Post(TUlmoEsfingeFuncoes::GetUrlFinalizarEnvio(), ObjectToJsonString(fim));
    } catch (...) {
      finalizacaoIncerta = TUlmoEsfingeFuncoes::RespostaPerdida();
      throw Exception("Erro ao finalizar o envio parcial. " + TUlmoEsfingeFuncoes::TratarErroRequest());
    }
    finalizacaoIncerta = true;
    bool comRecibo = false;
    try {
      comRecibo = TUlmoEsfingeFuncoes::LerChaveJson(respostaFinal, "codigoRegistroInformacao", codigoRegistro, nome);
    } catch (const Exception& e) {
      throw Exception(std::string("Erro ao finalizar o envio parcial. ") + e.what());
    }
    if (!comRecibo)
      throw Exception("Erro ao finalizar o envio parcial. O e-Sfinge não retornou o recibo de fechamento do pacote " +
                      AChavePacote + ".");
  } catch (...) {
    std::string erro = "Lote " + anoMes + ": Erro ao realizar envio parcial. " + TUlmoEsfingeFuncoes::TratarErroRequest();
    bool cancelado = false;
    try {
      NovoHTTP(FToken, "do e-Sfinge ao cancelamento do envio parcial")
          ->Post(TUlmoEsfingeFuncoes::GetUrlCancelarEnvioParcial(AChavePacote), "");
      ControleMensagem().AddAviso("Lote " + anoMes + ": Envio parcial cancelado.");
      cancelado = true;
    } catch (...) {
    }
    // Not cancelled, the package stays at the court in a state we cannot tell: the user must
    // look it up before sending the month again.
    if (!cancelado)
      erro += " O cancelamento do envio parcial também falhou: o pacote " + AChavePacote +
              (finalizacaoIncerta ? " pode ter ficado aberto ou finalizado no e-Sfinge"
                                  : " pode ter ficado aberto no e-Sfinge") +
              "; confira-o antes de reenviar o mês. Cópia do lote: " + copia + ".";
    throw Exception(erro);
  }

  // Receipt. The month is confirmed only once its receipt is kept.
  try {
    TRecDadosEnvio dados;
    dados.CodigoEmpresa = FConfig.CodigoEmpresa;
    dados.Competencia = TUlmoEsfingeFuncoes::ConverterAnoMesParaData(ALote.AnoMes);
    dados.Seq = TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(dados.CodigoEmpresa, dados.Competencia);
    dados.DataEnvio = PegarDataServidor();
    dados.Status = TnStatusEnvio::tsFinalizado;
    dados.ChavePacote = AChavePacote;
    dados.CodigoRegistroInformacao = codigoRegistro;
    Factory()->LoteEnviado()->Config(FConfig).Dados(dados).Gravar();
  } catch (const std::exception& e) {
    throw Exception("Erro ao gravar o recibo: Lote " + anoMes + ", chave do pacote " + AChavePacote + ", recibo " +
                    codigoRegistro + ": o lote está finalizado no e-Sfinge, mas o recibo não foi gravado. " + e.what());
  }
  ControleMensagem().AddConfirmacao("Lote " + anoMes + ": Envio parcial realizado com sucesso.");
}

}  // namespace nUlmoEsfingeOnline
