// Reading the e-Sfinge SOAP services' replies: the court's message of a reply and the items a
// data reply rejects. Plain functions of the reply's text, so that any text can be tried on them.
#pragma once
#include <string>
#include <vector>

namespace nUlmoEsfingeSoap {

// The court's message: the text of the first "<mensagem>" element, within its line; empty when
// there is none.
std::string PegarMensagem(const std::string& aRetorno);

// An item of a data reply with a code above zero: the item's idRetorno ("key", 0 when not a
// number), the court's code as it came and its message.
struct TItemRejeitado {
  int Chave = 0;
  std::string Codigo;
  std::string Mensagem;
};

// The rejected items of a data reply, in reply order: the children of its first element whose
// local name is "dados", of any namespace. None when it has no "dados". Raises Exception with
// the XML parser's reason when the text is not XML.
std::vector<TItemRejeitado> LerItensRejeitados(const std::string& aRetorno);

}  // namespace nUlmoEsfingeSoap
