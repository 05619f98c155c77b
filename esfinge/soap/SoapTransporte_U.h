// The HTTP POST of a SOAP envelope (libcurl, one handle per call): UTF-8 body, text/xml,
// gzip/deflate replies decoded, TLS peer and host verified (plus the installation's extra
// authorities), connect and whole-call timeouts from the installation, and never plain http
// to another machine.
#pragma once
#include <string>

namespace nUlmoEsfingeSoap {

struct TRespostaHTTP {
  long Status = 0;
  std::string Corpo;
};

// Posts and returns the status and reply body. A failure below HTTP (name resolution,
// connection, TLS, time-out) or a refused address raises EnHTTPError with a Portuguese text.
TRespostaHTTP PostarHTTP(const std::string& aUrl, const std::string& aEnvelope);

// The error an HTTP error status becomes: "Usuário ou Senha Inválidos!" for rejected
// credentials, else "Problema ao enviar mensagem SOAP!" + CR LF + the reply body.
[[noreturn]] void TratarErroHTTP(const std::string& aCorpo);

// PostarHTTP, the error status turned into TratarErroHTTP's error; the reply text otherwise.
std::string PostarSOAP(const std::string& aUrl, const std::string& aEnvelope);

}  // namespace nUlmoEsfingeSoap
