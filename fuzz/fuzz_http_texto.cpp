// Texts that come from a server or go into a request: a reply body of any charset read as
// UTF-8, header values checked for injected lines, and values quoted in messages.
#include <string>

#include "Encoding_U.h"
#include "Fuzz_U.h"
#include "HTTP_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  const std::string bruto = nFuzz::Texto(aDados, aTamanho);

  const std::string texto = TextoRespostaUtf8(bruto);
  try {
    ValidarUtf8(texto);
  } catch (const EFileError&) {
    nFuzz::Falha("TextoRespostaUtf8 dá UTF-8", bruto);
  }
  if (nFuzz::Aceita([&] { ValidarUtf8(bruto); }) && texto != bruto) nFuzz::Falha("UTF-8 válido fica como veio", bruto);

  // The first line names the header, the rest is its value.
  const size_t quebra = bruto.find('\n');
  const std::string nome = bruto.substr(0, quebra);
  const std::string valor = quebra == std::string::npos ? std::string() : bruto.substr(quebra + 1);
  bool nomeValido = !nome.empty() && !TemCaractereControle(nome) && nome.find_first_of(": ") == std::string::npos;
  bool aceito = true;
  try {
    VerificarCabecalho(nome, valor);
  } catch (const EnHTTPError& e) {
    aceito = false;
    if (!nFuzz::MensagemLimpa(e.what()) && !nomeValido) nFuzz::Falha("a recusa do nome cita-o numa linha", e.what());
  }
  if (aceito != (nomeValido && !TemCaractereControle(valor))) nFuzz::Falha("VerificarCabecalho recusa controles", bruto);

  const std::string citado = CitarValor(bruto);
  if (!nFuzz::MensagemLimpa(citado)) nFuzz::Falha("CitarValor dá uma linha de UTF-8", citado);

  std::string utf8;
  if (nFuzz::Aceita([&] { utf8 = Windows1252ToUtf8(bruto); })) {
    std::string devolta;
    if (!nFuzz::Aceita([&] { devolta = Utf8ToWindows1252(utf8); }) || devolta != bruto)
      nFuzz::Falha("Windows-1252 vai e volta", bruto);
  }
  return 0;
}
