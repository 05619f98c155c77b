#include "HTTP_U.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "Encoding_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"
#include "SegurancaHTTP_U.h"

namespace nFramework {

namespace {

void IniciarCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TCurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct TSListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

std::string TextoStatus(long aStatus) {
  switch (aStatus) {
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 409: return "Conflict";
    case 422: return "Unprocessable Entity";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "";
  }
}

bool EhControle(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7F;
}

}  // namespace

std::string TextoRespostaUtf8(std::string aCorpo) {
  try {
    ValidarUtf8(aCorpo);
    return aCorpo;
  } catch (const EFileError&) {
  }
  // Windows-1252 leaves five bytes undefined; Latin-1 reads them as C1 controls.
  auto indefinido = [](unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; };
  std::string r;
  r.reserve(aCorpo.size() + aCorpo.size() / 4);
  size_t ini = 0;
  for (size_t i = 0; i <= aCorpo.size(); ++i) {
    if (i < aCorpo.size() && !indefinido(static_cast<unsigned char>(aCorpo[i]))) continue;
    r += Windows1252ToUtf8(std::string_view(aCorpo).substr(ini, i - ini));
    if (i < aCorpo.size()) {
      r += static_cast<char>(0xC2);
      r += aCorpo[i];
    }
    ini = i + 1;
  }
  return r;
}

bool TemCaractereControle(std::string_view aTexto) {
  for (char c : aTexto)
    if (EhControle(c)) return true;
  return false;
}

void VerificarCabecalho(std::string_view aNome, std::string_view aValor) {
  bool nomeValido = !aNome.empty() && !TemCaractereControle(aNome);
  for (char c : aNome) nomeValido = nomeValido && c != ':' && c != ' ';
  if (!nomeValido) throw EnHTTPError("Nome de cabeçalho HTTP inválido: " + CitarValor(aNome) + ".");
  if (TemCaractereControle(aValor))
    throw EnHTTPError("O valor do cabeçalho HTTP \"" + std::string(aNome) +
                      "\" contém uma quebra de linha ou outro caractere de controle e não foi enviado.");
}

TnHTTP::TnHTTP() { IniciarCurl(); }

void TnHTTP::SetSSLV3() { FSSL = true; }

void TnHTTP::AddToHeader(std::string_view aNome, std::string_view aValor) {
  VerificarCabecalho(aNome, aValor);
  FHeaders.emplace_back(std::string(aNome), std::string(aValor));
}

std::string TnHTTP::Post(const std::string& aUrl, std::string_view aCorpo) { return Executar("POST", aUrl, aCorpo); }

std::string TnHTTP::Get(const std::string& aUrl) { return Executar("GET", aUrl, {}); }

std::string TnHTTP::Executar(const std::string& aMetodo, const std::string& aUrl, std::string_view aCorpo) {
  VerificarEnderecoSeguro(aUrl);
  std::unique_ptr<CURL, TCurlDeleter> curl(curl_easy_init());
  if (!curl) throw EnHTTPError("Não foi possível iniciar a conexão HTTP.");
  CURL* c = curl.get();

  std::unique_ptr<curl_slist, TSListDeleter> headers;
  auto addHeader = [&headers](const std::string& linha) {
    curl_slist* nova = curl_slist_append(headers.get(), linha.c_str());
    if (!nova) throw EnHTTPError("Não foi possível montar o cabeçalho HTTP.");
    headers.release();
    headers.reset(nova);
  };
  for (const auto& [nome, valor] : FHeaders) addHeader(nome + ": " + valor);
  if (!FContentType.empty()) addHeader("Content-Type: " + FContentType);
  // An empty Expect keeps curl from waiting for a "100 Continue" on larger bodies.
  addHeader("Expect:");

  TCorpoLimitado corpo;
  corpo.Max = FMaxResposta;
  char erro[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(c, CURLOPT_URL, aUrl.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  ReceberCorpoLimitado(c, corpo);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, erro);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, FConnectTimeout);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, FTimeoutTotal);
  curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  ConfigurarCaExtra(c, FCaExtra);
  if (FSSL) curl_easy_setopt(c, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  if (aMetodo == "POST") {
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(aCorpo.size()));
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, aCorpo.data());
  } else {
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  }

  CURLcode rc = curl_easy_perform(c);
  if (rc != CURLE_OK) FalharCurl(c, rc, erro, aUrl, FTimeoutTotal, corpo, FNomeResposta);
  std::string resposta = TextoRespostaUtf8(std::move(corpo.Texto));
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  FResponseCode = static_cast<int>(status);
  if (status >= 400) {
    std::string texto = "HTTP/1.1 " + std::to_string(status);
    std::string razao = TextoStatus(status);
    if (!razao.empty()) texto += " " + razao;
    throw EIdHTTPProtocolException(FResponseCode, resposta, texto);
  }
  return resposta;
}

}  // namespace nFramework
