// How a fake court's call misbehaves, as a broken court or network would, shared by the fake
// SOAP and online courts. Erro500 and Erro401 answer without doing the call (each court with
// its own body); the others do the call and then spoil its reply: Atraso sends it after a
// delay, Queda drops the connection halfway through its body, Malformada answers 200 with an
// HTML page instead, Latin1 sends it in Latin-1, declared UTF-8. Tests only.
#pragma once
#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace nFramework {

enum class TSabotagem { Erro500, Erro401, Atraso, Queda, Malformada, Latin1 };

inline const char* NomeSabotagem(TSabotagem aSabotagem) {
  switch (aSabotagem) {
    case TSabotagem::Erro500: return "500";
    case TSabotagem::Erro401: return "401";
    case TSabotagem::Atraso: return "tempo esgotado";
    case TSabotagem::Queda: return "conexão caída";
    case TSabotagem::Malformada: return "resposta malformada";
    case TSabotagem::Latin1: return "Latin-1 declarado UTF-8";
  }
  return "?";
}

// UTF-8 text to Latin-1 bytes (the fakes' texts hold nothing beyond Latin-1).
inline std::string TextoLatin1(const std::string& aTexto) {
  std::string r;
  for (size_t i = 0; i < aTexto.size(); ++i) {
    const auto b = static_cast<unsigned char>(aTexto[i]);
    if (b >= 0xC0 && b < 0xE0 && i + 1 < aTexto.size())
      r += static_cast<char>(((b & 0x1F) << 6) | (static_cast<unsigned char>(aTexto[++i]) & 0x3F));
    else
      r += static_cast<char>(b);
  }
  return r;
}

// Spoils the reply aCorpo of a call that was done, answering it into aRes with aTipo (the
// reply's content type). Erro500 and Erro401 are the caller's to answer.
inline void EstragarResposta(httplib::Response& aRes, TSabotagem aSabotagem, const std::string& aCorpo,
                             const std::string& aTipo, int aAtrasoMs) {
  switch (aSabotagem) {
    case TSabotagem::Erro500:
    case TSabotagem::Erro401: break;
    case TSabotagem::Atraso:
      std::this_thread::sleep_for(std::chrono::milliseconds(aAtrasoMs));
      aRes.set_content(aCorpo, aTipo);
      break;
    case TSabotagem::Queda: {
      auto metade = std::make_shared<std::string>(aCorpo.substr(0, aCorpo.size() / 2));
      aRes.body.clear();
      aRes.set_content_provider(aCorpo.size(), aTipo, [metade](size_t, size_t, httplib::DataSink& aSink) {
        aSink.write(metade->data(), metade->size());
        return false;  // the server closes the connection
      });
      break;
    }
    case TSabotagem::Malformada:
      aRes.status = 200;
      aRes.set_content("<html><body><h1>Serviço temporariamente indisponível</h1></body></html>", "text/html");
      break;
    case TSabotagem::Latin1: aRes.set_content(TextoLatin1(aCorpo), aTipo); break;
  }
}

}  // namespace nFramework
