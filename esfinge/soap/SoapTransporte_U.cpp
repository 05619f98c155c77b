#include "SoapTransporte_U.h"

#include <curl/curl.h>

#include <memory>

#include "Classes_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "HTTP_U.h"
#include "SegurancaHTTP_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"

namespace nUlmoEsfingeSoap {

namespace {

struct TCurlGlobal {
  TCurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

}  // namespace

TRespostaHTTP PostarHTTP(const std::string& aUrl, const std::string& aEnvelope, const std::string& aNomeResposta) {
  static TCurlGlobal global;
  // The envelope carries the user's password.
  nFramework::VerificarEnderecoSeguro(aUrl);
  const long conexao = nFramework::SegundosConfigurados(ChaveTimeoutConexao, 30);
  const long total = nFramework::SegundosConfigurados(ChaveTimeoutLeitura, 300);
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) throw nFramework::Exception("Falha ao iniciar o cliente HTTP");
  struct curl_slist* cabecalhos = nullptr;
  cabecalhos = curl_slist_append(cabecalhos, "Content-Type: text/xml; charset=UTF-8");
  // curl sends "Expect: 100-continue" for large bodies; the program sends no header of its own.
  cabecalhos = curl_slist_append(cabecalhos, "Expect:");
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> lista(cabecalhos, curl_slist_free_all);

  TRespostaHTTP resposta;
  nFramework::TCorpoLimitado corpo;
  char erro[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, aUrl.c_str());
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, aEnvelope.data());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(aEnvelope.size()));
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, lista.get());
  curl_easy_setopt(c, CURLOPT_USERAGENT,
                   "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
                   "Chrome/125.0.0.0 Safari/537.36");
  curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  nFramework::ConfigurarCaExtra(c, nFramework::nConfig().Valor(ChaveCaExtra));
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, conexao);
  // The read time-out bounds the whole call: the court answers only after it has processed
  // the document, so a stalled reply looks like silence, not like a slow stream.
  curl_easy_setopt(c, CURLOPT_TIMEOUT, total);
  nFramework::ReceberCorpoLimitado(c, corpo);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, erro);

  CURLcode rc = curl_easy_perform(c);
  if (rc != CURLE_OK) nFramework::FalharCurl(c, rc, erro, aUrl, total * 1000, corpo, aNomeResposta);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &resposta.Status);
  resposta.Corpo = nFramework::TextoRespostaUtf8(std::move(corpo.Texto));
  return resposta;
}

std::string CortarResposta(const std::string& aTexto) {
  if (aTexto.size() <= MaxRespostaNaMensagem) return aTexto;
  size_t fim = MaxRespostaNaMensagem;
  // Not in the middle of a character: the text is UTF-8.
  while (fim > 0 && (static_cast<unsigned char>(aTexto[fim]) & 0xC0) == 0x80) --fim;
  return aTexto.substr(0, fim) + "… (resposta de " + std::to_string(aTexto.size()) + " bytes, cortada)";
}

void TratarErroHTTP(const std::string& aCorpo, long aStatus) {
  if (aCorpo.find("The security token could not be authenticated or authorized") != std::string::npos)
    throw nFramework::Exception("Usuário ou Senha Inválidos!");
  // Without a body the status is all the court said.
  if (nFramework::Trim(aCorpo).empty() && aStatus > 0)
    throw nFramework::Exception("Problema ao enviar mensagem SOAP!\r\nO e-Sfinge recusou a chamada (HTTP " +
                                std::to_string(aStatus) + ") sem dizer o motivo.");
  throw nFramework::Exception("Problema ao enviar mensagem SOAP!\r\n" + CortarResposta(aCorpo));
}

std::string PostarSOAP(const std::string& aUrl, const std::string& aEnvelope, const std::string& aNomeResposta) {
  TRespostaHTTP r = PostarHTTP(aUrl, aEnvelope, aNomeResposta);
  if (r.Status < 200 || r.Status >= 300) TratarErroHTTP(r.Corpo, r.Status);
  return r.Corpo;
}

}  // namespace nUlmoEsfingeSoap
