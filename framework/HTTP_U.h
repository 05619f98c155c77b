// TnHTTP: the framework's HTTP client, one object per request. Headers and the TLS mode are
// set before the call; Post and Get return the reply body. A reply with an error status
// raises EIdHTTPProtocolException carrying the status and the body; a request that never got
// a reply (refused, timed out, bad certificate) or never went out (plain http to another
// machine) raises EnHTTPError.
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

// The request did not reach an answer.
class EnHTTPError : public Exception {
 public:
  using Exception::Exception;
};

class TnHTTP {
 public:
  TnHTTP();
  TnHTTP(const TnHTTP&) = delete;
  TnHTTP& operator=(const TnHTTP&) = delete;

  // TLS for https addresses. The peer's certificate and host name are always verified.
  void SetSSLV3();
  void AddToHeader(std::string_view aNome, std::string_view aValor);
  void SetContentType(std::string_view aContentType) { FContentType = aContentType; }
  // Timeouts in milliseconds: to connect, and for the whole call (connecting, sending the
  // body and reading the reply).
  void SetConnectTimeout(long aMs) { FConnectTimeout = aMs; }
  void SetTimeoutTotal(long aMs) { FTimeoutTotal = aMs; }
  // A PEM file of certificate authorities trusted besides the system's (empty: none).
  void SetCaExtra(std::string aArquivo) { FCaExtra = std::move(aArquivo); }

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
  int FResponseCode = 0;
};

}  // namespace nFramework
