#include "UlmoEsfingeOnlineCancelarLote_U.h"

#include "Classes_U.h"
#include "ControleMensagem_U.h"
#include "FormatUtils_U.h"
#include "HTTP_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

std::shared_ptr<ICancelarLote> TUlmoEsfingeOnlineCancelarLote::New() {
  return std::make_shared<TUlmoEsfingeOnlineCancelarLote>();
}

ICancelarLote& TUlmoEsfingeOnlineCancelarLote::Config(const TRecConfig& AConfig) {
  FConfig = AConfig;
  return *this;
}

ICancelarLote& TUlmoEsfingeOnlineCancelarLote::Dados(const TRecDadosEnvio& ADados) {
  FDadosLote = ADados;
  return *this;
}

void TUlmoEsfingeOnlineCancelarLote::Executar() {
  std::string d = "(Data: " + DateToStr(FDadosLote.Competencia) + " - Seq: " + std::to_string(FDadosLote.Seq) +
                  " - Recibo: " + FDadosLote.CodigoRegistroInformacao + ")";
  // The court cancels by receipt code only; without one the call could only fail.
  if (Trim(FDadosLote.CodigoRegistroInformacao).empty()) {
    ControleMensagem().AddErro("Erro ao cancelar o lote " + d +
                               ": o lote não tem recibo de fechamento; procure-o no e-Sfinge pela chave do pacote " +
                               FDadosLote.ChavePacote + ".");
    return;
  }
  // Where the call stood when it failed: the message must not call a cancelled lot open.
  enum { Login, Pedido, Cancelado } etapa = Login;
  try {
    FToken = Factory()->GerarToken()->Config(FConfig).Token();
    auto http = TUlmoEsfingeFuncoes::NovoHTTP("do e-Sfinge ao cancelamento do lote");
    http->AddToHeader("AUTH_TOKEN", FToken);
    TCancelarEnvioJson corpo{FDadosLote.CodigoRegistroInformacao, ""};
    etapa = Pedido;
    http->Post(TUlmoEsfingeFuncoes::GetUrlCancelarLote(FConfig.CodigoUnidadeGestora), ObjectToJsonString(corpo));
    etapa = Cancelado;
    FDadosLote.Status = TnStatusEnvio::tsCancelado;
    Factory()->LoteEnviado()->Config(FConfig).Dados(FDadosLote).AtualizarStatus();
    ControleMensagem().AddConfirmacao("Lote cancelado com sucesso " + d + ".");
  } catch (...) {
    std::string erro = "Erro ao cancelar o lote " + d + ": ";
    if (etapa == Cancelado)
      erro += "o lote foi cancelado no e-Sfinge, mas a nova situação não foi gravada e a consulta ainda o mostra "
              "como finalizado. ";
    erro += TUlmoEsfingeFuncoes::TratarErroRequest();
    if (etapa == Pedido && TUlmoEsfingeFuncoes::RespostaPerdida())
      erro += " O pedido pode ter chegado ao e-Sfinge: confira lá se o lote foi cancelado; a consulta continua a "
              "mostrá-lo como finalizado.";
    ControleMensagem().AddErro(erro);
  }
}

}  // namespace nUlmoEsfingeOnline
