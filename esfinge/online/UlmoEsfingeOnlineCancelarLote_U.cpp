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
  try {
    FToken = Factory()->GerarToken()->Config(FConfig).Token();
    auto http = TUlmoEsfingeFuncoes::NovoHTTP();
    http->AddToHeader("AUTH_TOKEN", FToken);
    TCancelarEnvioJson corpo{FDadosLote.CodigoRegistroInformacao, ""};
    http->Post(TUlmoEsfingeFuncoes::GetUrlCancelarLote(FConfig.CodigoUnidadeGestora), ObjectToJsonString(corpo));
    FDadosLote.Status = TnStatusEnvio::tsCancelado;
    Factory()->LoteEnviado()->Config(FConfig).Dados(FDadosLote).AtualizarStatus();
    ControleMensagem().AddConfirmacao("Lote cancelado com sucesso " + d + ".");
  } catch (...) {
    ControleMensagem().AddErro("Erro ao cancelar o lote " + d + ": " + TUlmoEsfingeFuncoes::TratarErroRequest());
  }
}

}  // namespace nUlmoEsfingeOnline
