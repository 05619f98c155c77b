// TnHTTP: the framework's HTTP client, one object per request. Headers and the TLS mode are
// set before the call; Post and Get return the reply body as UTF-8 text. A reply with an error
// status raises EIdHTTPProtocolException carrying the status and the body; a request that never
// got a reply (refused, timed out, cut, too large, bad certificate) or never went out (plain
// http to another machine, a header value with a line break) raises EnHTTPError.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Exceptions_U.h"

namespace nFramework {

// The server answered with a status of 400 or more.
class EIdHTTPProtocolException : public Exception {
 public:
  EIdHTTPProtocolException(int aErrorCode, std::string aErrorMessage, const std::string& aMessage)
      : Exception(aMessage), FErrorCode(aErrorCode), FErrorMessage(std::move(aErrorMessage)) {}
  int ErrorCode() const { return FErrorCode; }
  // The reply body.
  const std::string& ErrorMessage() const { return FErrorMessage; }

 private:
  int FErrorCode;
  std::string FErrorMessage;
};

// Largest reply body read, after decompression. A court's reply is far smaller (a rejection of
// every entry of a large package is a few MB); this bounds what a broken or hostile server,
// or a compressed bomb, can make the program hold.
inline constexpr size_t MaxCorpoResposta = 32u << 20;

// The request did not reach an answer.
class EnHTTPError : public Exception {
 public:
  explicit EnHTTPError(const std::string& aMensagem, bool aPodeTerChegado = false)
      : Exception(aMensagem), FPodeTerChegado(aPodeTerChegado) {}
  // Whether the server may have received the request and acted on it: the request went out
  // and its reply was lost (time-out, connection dropped, reply cut or refused for its size).
  bool PodeTerChegado() const { return FPodeTerChegado; }

 private:
  bool FPodeTerChegado;
};

// A reply's text as UTF-8: kept as it came when it is valid UTF-8, whatever charset the server
// declared; else read as Windows-1252 (Latin-1 for the five bytes that code page leaves
// undefined), the charset a court's older servers answer in even when they declare UTF-8.
std::string TextoRespostaUtf8(std::string aCorpo);

// Whether the text holds a line break, a tab or any other control character (ASCII 0-31, 127).
bool TemCaractereControle(std::string_view aTexto);
// Raises EnHTTPError naming the header when a header name or value holds a line break or any
// other control character: it would end the header and let the value write headers of its own.
void VerificarCabecalho(std::string_view aNome, std::string_view aValor);

class TnHTTP {
 public:
  TnHTTP();
  TnHTTP(const TnHTTP&) = delete;
  TnHTTP& operator=(const TnHTTP&) = delete;

  // TLS for https addresses. The peer's certificate and host name are always verified.
  void SetSSLV3();
  // Raises EnHTTPError (VerificarCabecalho) for a name or value with a control character.
  void AddToHeader(std::string_view aNome, std::string_view aValor);
  void SetContentType(std::string_view aContentType) { FContentType = aContentType; }
  // Timeouts in milliseconds: to connect, and for the whole call (connecting, sending the
  // body and reading the reply).
  void SetConnectTimeout(long aMs) { FConnectTimeout = aMs; }
  void SetTimeoutTotal(long aMs) { FTimeoutTotal = aMs; }
  // A PEM file of certificate authorities trusted besides the system's (empty: none).
  void SetCaExtra(std::string aArquivo) { FCaExtra = std::move(aArquivo); }
  // How messages about the reply name it, after the word "Resposta": "do e-Sfinge ao login"
  // gives "Resposta do e-Sfinge ao login recusada: ...". By default "de " and the address.
  void SetNomeResposta(std::string aNome) { FNomeResposta = std::move(aNome); }
  // The largest reply body read (MaxCorpoResposta unless told).
  void SetMaxResposta(size_t aBytes) { FMaxResposta = aBytes; }

  std::string Post(const std::string& aUrl, std::string_view aCorpo);
  std::string Get(const std::string& aUrl);

  // The status of the last reply (0 before any).
  int ResponseCode() const { return FResponseCode; }

 private:
  std::string Executar(const std::string& aMetodo, const std::string& aUrl, std::string_view aCorpo);

  std::vector<std::pair<std::string, std::string>> FHeaders;
  std::string FContentType;
  bool FSSL = false;
  long FConnectTimeout = 15000;
  long FTimeoutTotal = 75000;
  std::string FCaExtra;
  std::string FNomeResposta;
  size_t FMaxResposta = MaxCorpoResposta;
  int FResponseCode = 0;
};

}  // namespace nFramework
