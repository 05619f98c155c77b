// What every web call of ours obeys, whether it goes through TnHTTP or drives curl itself
// (the SOAP transport): credentials never cross the network over plain http, an installation
// may trust one more certificate authority, timeouts are installation values, and a call that
// got no reply is told in Portuguese (curl's own text only in the debug log).
#pragma once
#include <curl/curl.h>

#include <cstddef>
#include <string>

#include "HTTP_U.h"

namespace nFramework {

// Raises EnHTTPError unless aUrl is https://, or http:// to this machine (127.0.0.0/8, ::1,
// localhost). Every call of ours carries a password or a login token.
void VerificarEnderecoSeguro(const std::string& aUrl);

// Makes the handle trust the PEM certificates of aArquivo besides the system's own; nothing
// when aArquivo is empty. Raises EnHTTPError naming the file when it cannot be read.
void ConfigurarCaExtra(CURL* aCurl, const std::string& aArquivo);

// The user's message for a call that got no reply: what failed, on which address, and for a
// time-out after how many seconds. Logs curl's own description.
std::string MensagemFalhaCurl(CURLcode aCodigo, const char* aDetalhe, const std::string& aUrl, long aTimeoutMs);

// A reply body bounded as it arrives: the handle's write function appends to Texto up to Max
// bytes, then stops the transfer and sets Excedeu.
struct TCorpoLimitado {
  std::string Texto;
  size_t Max = MaxCorpoResposta;
  bool Excedeu = false;
};
void ReceberCorpoLimitado(CURL* aCurl, TCorpoLimitado& aCorpo);

// Raises the EnHTTPError of a failed curl_easy_perform: for a body past its limit "Resposta " +
// aNomeResposta + " recusada: ...", else MensagemFalhaCurl's text; either tells whether the
// request may have reached the server. An empty aNomeResposta names the address.
[[noreturn]] void FalharCurl(CURL* aCurl, CURLcode aCodigo, const char* aDetalhe, const std::string& aUrl,
                             long aTimeoutMs, const TCorpoLimitado& aCorpo, const std::string& aNomeResposta);

// An installation time-out in seconds (aPadrao when the key is unset). Raises Exception for a
// value that is not a whole number from 1 to 86400.
long SegundosConfigurados(const std::string& aChave, long aPadrao);

}  // namespace nFramework
