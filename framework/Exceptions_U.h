// Exceptions of the framework. The text of an Exception is the message the user sees;
// EInternalError marks a broken invariant (our bug), never a user's mistake.
#pragma once
#include <stdexcept>
#include <string>

namespace nFramework {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A text that is not the number or date it should be.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// What a database failure was, for callers that answer some of them in their own words.
// Conflito: a server refused a write that crossed another user's (serialization or deadlock).
enum class TTipoErroBanco { Outro, ChaveEstrangeira, ChaveDuplicada, CampoVazio, EmUso, SomenteLeitura, Conflito };

// A failure reported by the database driver.
class EDatabaseError : public Exception {
 public:
  explicit EDatabaseError(const std::string& message, TTipoErroBanco tipo = TTipoErroBanco::Outro)
      : Exception(message), FTipo(tipo) {}
  TTipoErroBanco Tipo() const { return FTipo; }

 private:
  TTipoErroBanco FTipo;
};

// Reading or writing a file failed.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// The program's own invariant is broken: a bug, not bad input.
class EInternalError : public Exception {
 public:
  explicit EInternalError(const std::string& message) : Exception("Erro interno: " + message) {}
};

}  // namespace nFramework
