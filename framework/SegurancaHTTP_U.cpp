#include "SegurancaHTTP_U.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

#include "Classes_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "HTTP_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace {

// A bundle of authorities is a few hundred kilobytes; anything far larger is the wrong file.
constexpr std::uintmax_t MaxArquivoCa = 8u * 1024 * 1024;

struct TUrlDeleter {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

std::string Parte(CURLU* aUrl, CURLUPart aParte) {
  char* v = nullptr;
  if (curl_url_get(aUrl, aParte, &v, 0) != CURLUE_OK || !v) return {};
  std::string r(v);
  curl_free(v);
  return r;
}

std::string Minusculas(std::string aTexto) {
  for (char& c : aTexto) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return aTexto;
}

bool EhLoopback(std::string aHost) {
  aHost = Minusculas(aHost);
  if (aHost == "localhost") return true;
  in_addr v4{};
  if (inet_pton(AF_INET, aHost.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  if (aHost.size() > 2 && aHost.front() == '[' && aHost.back() == ']') aHost = aHost.substr(1, aHost.size() - 2);
  in6_addr v6{};
  return inet_pton(AF_INET6, aHost.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

// The whole file, or false when it cannot be read or is too large to be a bundle.
bool LerArquivo(const std::string& aCaminho, std::string& aConteudo) {
  std::error_code ec;
  auto tamanho = std::filesystem::file_size(aCaminho, ec);
  if (ec || tamanho > MaxArquivoCa) return false;
  std::ifstream in(aCaminho, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  aConteudo = ss.str();
  return static_cast<bool>(in) || in.eof();
}

}  // namespace

void VerificarEnderecoSeguro(const std::string& aUrl) {
  std::unique_ptr<CURLU, TUrlDeleter> url(curl_url());
  if (!url) throw EnHTTPError("Não foi possível analisar o endereço " + CitarValor(aUrl) + ".");
  if (curl_url_set(url.get(), CURLUPART_URL, aUrl.c_str(), 0) != CURLUE_OK)
    throw EnHTTPError("Endereço inválido: " + CitarValor(aUrl) + ".");
  std::string esquema = Minusculas(Parte(url.get(), CURLUPART_SCHEME));
  std::string host = Parte(url.get(), CURLUPART_HOST);
  if (esquema == "https") return;
  if (esquema == "http" && EhLoopback(host)) return;
  throw EnHTTPError("Endereço recusado: " + CitarValor(esquema + "://" + host) +
                    " não usa https://, e a chamada levaria usuário, senha ou token sem criptografia. Use https:// "
                    "(http:// só é aceito para este computador: 127.0.0.1, ::1 ou localhost).");
}

void ConfigurarCaExtra(CURL* aCurl, const std::string& aArquivo) {
  if (Trim(aArquivo).empty()) return;
  std::string extra;
  if (!LerArquivo(aArquivo, extra))
    throw EnHTTPError("Não foi possível ler o arquivo de autoridades certificadoras " + CitarCaminho(aArquivo) +
                      " indicado no ulmo.toml.");
  if (extra.find("-----BEGIN CERTIFICATE-----") == std::string::npos)
    throw EnHTTPError("O arquivo de autoridades certificadoras " + CitarCaminho(aArquivo) +
                      " indicado no ulmo.toml não contém certificados no formato PEM.");
  // A blob replaces curl's default bundle, so the system's authorities go in first: the extra
  // file adds trust, it never takes the public authorities away.
  std::string pem;
  char* padrao = nullptr;
  if (curl_easy_getinfo(aCurl, CURLINFO_CAINFO, &padrao) == CURLE_OK && padrao) {
    std::string sistema;
    if (LerArquivo(padrao, sistema)) pem = sistema + "\n";
  }
  pem += extra;
  curl_blob blob{pem.data(), pem.size(), CURL_BLOB_COPY};
  if (curl_easy_setopt(aCurl, CURLOPT_CAINFO_BLOB, &blob) != CURLE_OK)
    throw EnHTTPError("Não foi possível usar o arquivo de autoridades certificadoras " + CitarCaminho(aArquivo) + ".");
}

std::string MensagemFalhaCurl(CURLcode aCodigo, const char* aDetalhe, const std::string& aUrl, long aTimeoutMs) {
  std::string detalhe = aDetalhe && *aDetalhe ? aDetalhe : curl_easy_strerror(aCodigo);
  LogDebug("curl " + std::to_string(static_cast<int>(aCodigo)) + " em " + aUrl + ": " + detalhe);
  std::string motivo;
  switch (aCodigo) {
    case CURLE_OPERATION_TIMEDOUT: {
      long segundos = (aTimeoutMs + 999) / 1000;
      motivo = "sem resposta completa em " + std::to_string(segundos) + (segundos == 1 ? " segundo" : " segundos") +
               " (tempo limite esgotado; o limite é configurável no ulmo.toml)";
      break;
    }
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      motivo = "servidor não encontrado (confira o endereço e a conexão com a internet)";
      break;
    case CURLE_COULDNT_CONNECT: motivo = "conexão recusada ou servidor inacessível"; break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
      motivo = "o certificado do servidor não foi aceito (emissor não confiável, outro nome ou fora da validade); "
               "confira a data do computador ou a autoridade certificadora extra do ulmo.toml";
      break;
    case CURLE_SSL_CONNECT_ERROR: motivo = "falha ao estabelecer a conexão segura (TLS)"; break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING: motivo = "a conexão caiu antes da resposta"; break;
    case CURLE_PARTIAL_FILE: motivo = "a conexão caiu no meio da resposta, que chegou incompleta"; break;
    default: motivo = "falha de comunicação (código " + std::to_string(static_cast<int>(aCodigo)) + ")"; break;
  }
  return "Falha na comunicação com " + aUrl + ": " + motivo + ".";
}

namespace {

size_t ReceberLimitado(char* aDados, size_t aTamanho, size_t aQtd, void* aDestino) {
  auto* corpo = static_cast<TCorpoLimitado*>(aDestino);
  const size_t n = aTamanho * aQtd;
  if (n > corpo->Max - std::min(corpo->Max, corpo->Texto.size())) {
    corpo->Excedeu = true;
    return 0;  // curl ends the transfer with CURLE_WRITE_ERROR
  }
  corpo->Texto.append(aDados, n);
  return n;
}

std::string TextoLimite(size_t aBytes) {
  constexpr size_t MB = 1u << 20;
  if (aBytes >= MB && aBytes % MB == 0) return std::to_string(aBytes / MB) + " MB";
  return std::to_string(aBytes) + " bytes";
}

}  // namespace

void ReceberCorpoLimitado(CURL* aCurl, TCorpoLimitado& aCorpo) {
  curl_easy_setopt(aCurl, CURLOPT_WRITEFUNCTION, &ReceberLimitado);
  curl_easy_setopt(aCurl, CURLOPT_WRITEDATA, &aCorpo);
  // A declared length past the limit ends the call before the body is read.
  curl_easy_setopt(aCurl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(aCorpo.Max));
}

void FalharCurl(CURL* aCurl, CURLcode aCodigo, const char* aDetalhe, const std::string& aUrl, long aTimeoutMs,
                const TCorpoLimitado& aCorpo, const std::string& aNomeResposta) {
  // Once any of the request went out, the server may have acted on it whatever came back.
  long enviado = 0;
  curl_easy_getinfo(aCurl, CURLINFO_REQUEST_SIZE, &enviado);
  const bool podeTerChegado = enviado > 0;
  if (aCorpo.Excedeu || aCodigo == CURLE_FILESIZE_EXCEEDED) {
    LogDebug("curl " + std::to_string(static_cast<int>(aCodigo)) + " em " + aUrl + ": resposta acima de " +
             std::to_string(aCorpo.Max) + " bytes");
    throw EnHTTPError("Resposta " + (aNomeResposta.empty() ? "de " + aUrl : aNomeResposta) +
                          " recusada: passa de " + TextoLimite(aCorpo.Max) + ", o limite de uma resposta.",
                      podeTerChegado);
  }
  throw EnHTTPError(MensagemFalhaCurl(aCodigo, aDetalhe, aUrl, aTimeoutMs), podeTerChegado);
}

long SegundosConfigurados(const std::string& aChave, long aPadrao) {
  std::string v = Trim(nConfig().Valor(aChave));
  if (v.empty()) return aPadrao;
  bool digitos = v.size() <= 5;
  for (char c : v) digitos = digitos && std::isdigit(static_cast<unsigned char>(c));
  long segundos = digitos ? std::stol(v) : 0;
  if (segundos < 1 || segundos > 86400)
    throw Exception("Configuração inválida: " + aChave + " deve ser um número inteiro de segundos de 1 a 86400, e não \"" +
                    CitarValor(v) + "\".");
  return segundos;
}

}  // namespace nFramework
