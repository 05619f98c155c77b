// The e-Sfinge online replies: success bodies read for a key (login token, package key,
// receipt) and error bodies turned into the user's message.
#include <string>

#include "Fuzz_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

using nUlmoEsfingeOnline::MaxProfundidadeJson;
using nUlmoEsfingeOnline::TUlmoEsfingeFuncoes;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  const std::string corpo = nFuzz::Texto(aDados, aTamanho);

  const int profundidade = TUlmoEsfingeFuncoes::ProfundidadeJson(corpo);
  const bool lido = nFuzz::Aceita([&] { TUlmoEsfingeFuncoes::LerJsonResposta(corpo, "do e-Sfinge ao login"); });
  if (lido != (profundidade <= MaxProfundidadeJson)) nFuzz::Falha("LerJsonResposta recusa só o que passa da profundidade", corpo);

  for (const char* chave : {"token", "chavePacote", "codigoRecibo"}) {
    std::string valor;
    nFuzz::Aceita([&] {
      if (TUlmoEsfingeFuncoes::LerChaveJson(corpo, chave, valor, "do e-Sfinge ao login") && valor.empty())
        nFuzz::Falha("LerChaveJson não dá um valor vazio", corpo);
    });
  }

  // Error bodies become one-line messages, whatever the server sent.
  const std::string mensagem = TUlmoEsfingeFuncoes::TratarMensagemErroJson(corpo);
  if (!nFuzz::MensagemLimpa(mensagem)) nFuzz::Falha("TratarMensagemErroJson dá uma linha de UTF-8", mensagem);
  if (mensagem.size() > 64 * 1024) nFuzz::Falha("TratarMensagemErroJson dá uma mensagem curta", mensagem);
  for (int status : {400, 401, 422, 500}) {
    const std::string m = TUlmoEsfingeFuncoes::TratarErro(status, corpo, "Falha na requisição");
    if (!nFuzz::MensagemLimpa(m)) nFuzz::Falha("TratarErro dá uma linha de UTF-8", m);
  }
  return 0;
}
