// The e-Sfinge SOAP replies: the court's message and the items a data reply rejects.
#include <string>

#include "Fuzz_U.h"
#include "UlmoRetornoSoap_U.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  const std::string retorno = nFuzz::Texto(aDados, aTamanho);
  const std::string mensagem = nUlmoEsfingeSoap::PegarMensagem(retorno);
  if (mensagem.find_first_of("\r\n") != std::string::npos) nFuzz::Falha("PegarMensagem fica na sua linha", mensagem);
  nFuzz::Aceita([&] {
    for (const auto& item : nUlmoEsfingeSoap::LerItensRejeitados(retorno))
      if (item.Codigo.empty()) nFuzz::Falha("um item rejeitado tem o código do tribunal", retorno);
  });
  return 0;
}
