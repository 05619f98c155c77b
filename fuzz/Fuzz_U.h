// What the fuzz targets share: a call on outside data may refuse it with the system's own
// exception (that is its answer to bad input); any other exception, a broken property, a
// crash, a leak or a hang is a fault that libFuzzer reports and keeps the input of.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Exceptions_U.h"

namespace nFuzz {

inline std::string Texto(const uint8_t* aDados, size_t aTamanho) {
  return std::string(reinterpret_cast<const char*>(aDados), aTamanho);
}

// Runs aChamada; true when it went through, false when it refused the input. An internal
// error is our bug, not a refusal: it escapes, and the uncaught exception aborts the run.
template <class F>
bool Aceita(F&& aChamada) {
  try {
    aChamada();
    return true;
  } catch (const nFramework::EInternalError&) {
    throw;
  } catch (const nFramework::Exception&) {
    return false;
  }
}

// A property the code promises does not hold for this input.
[[noreturn]] inline void Falha(const char* aPropriedade, std::string_view aDetalhe = {}) {
  std::fprintf(stderr, "propriedade violada: %s\n%.*s\n", aPropriedade, static_cast<int>(aDetalhe.size() > 500 ? 500 : aDetalhe.size()),
               aDetalhe.data());
  std::abort();
}

// Whether a message stays on one line and is valid UTF-8, as every message quoting outside
// text must.
bool MensagemLimpa(std::string_view aMensagem);

}  // namespace nFuzz
