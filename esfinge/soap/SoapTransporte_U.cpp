#include "SoapTransporte_U.h"

#include <curl/curl.h>

#include <memory>

#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "HTTP_U.h"
#include "SegurancaHTTP_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"

namespace nUlmoEsfingeSoap {

namespace {

size_t Receber(char* aDados, size_t aTamanho, size_t aQtd, void* aDestino) {
  static_cast<std::string*>(aDestino)->append(aDados, aTamanho * aQtd);
  return aTamanho * aQtd;
}

struct TCurlGlobal {
  TCurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

}  // namespace

TRespostaHTTP PostarHTTP(const std::string& aUrl, const std::string& aEnvelope) {
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
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Receber);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &resposta.Corpo);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, erro);

  CURLcode rc = curl_easy_perform(c);
  if (rc != CURLE_OK) throw nFramework::EnHTTPError(nFramework::MensagemFalhaCurl(rc, erro, aUrl, total * 1000));
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &resposta.Status);
  return resposta;
}

void TratarErroHTTP(const std::string& aCorpo) {
  if (aCorpo.find("The security token could not be authenticated or authorized") != std::string::npos)
    throw nFramework::Exception("Usuário ou Senha Inválidos!");
  throw nFramework::Exception("Problema ao enviar mensagem SOAP!\r\n" + aCorpo);
}

std::string PostarSOAP(const std::string& aUrl, const std::string& aEnvelope) {
  TRespostaHTTP r = PostarHTTP(aUrl, aEnvelope);
  if (r.Status < 200 || r.Status >= 300) TratarErroHTTP(r.Corpo);
  return r.Corpo;
}

}  // namespace nUlmoEsfingeSoap
