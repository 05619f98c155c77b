// The HTTP POST of a SOAP envelope (libcurl, one handle per call): UTF-8 body, text/xml,
// gzip/deflate replies decoded, TLS peer and host verified (plus the installation's extra
// authorities), connect and whole-call timeouts from the installation, never plain http to
// another machine, and a reply of at most MaxCorpoResposta bytes, returned as UTF-8.
#pragma once
#include <string>

namespace nUlmoEsfingeSoap {

struct TRespostaHTTP {
  long Status = 0;
  std::string Corpo;
};

// Posts and returns the status and reply body. A failure below HTTP (name resolution,
// connection, TLS, time-out, a reply cut or too large) or a refused address raises
// EnHTTPError with a Portuguese text; aNomeResposta names the reply in it ("do e-Sfinge ao
// pedido de token"), the address when empty.
TRespostaHTTP PostarHTTP(const std::string& aUrl, const std::string& aEnvelope, const std::string& aNomeResposta = {});

// The error an HTTP error status becomes: "Usuário ou Senha Inválidos!" for rejected
// credentials, else "Problema ao enviar mensagem SOAP!" + CR LF + the reply body (cut as
// CortarResposta does), or for an empty body the status the court answered with.
[[noreturn]] void TratarErroHTTP(const std::string& aCorpo, long aStatus = 0);

// PostarHTTP, the error status turned into TratarErroHTTP's error; the reply text otherwise.
std::string PostarSOAP(const std::string& aUrl, const std::string& aEnvelope, const std::string& aNomeResposta = {});

// Characters of a court's reply kept where a message carries it whole.
inline constexpr size_t MaxRespostaNaMensagem = 2000;
// The reply as a message carries it: whole up to MaxRespostaNaMensagem characters, else its
// beginning and how long it was.
std::string CortarResposta(const std::string& aTexto);

}  // namespace nUlmoEsfingeSoap
