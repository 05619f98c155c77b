#include "UlmoXMLNode_U.h"

#include <charconv>
#include <sstream>

#include "Exceptions_U.h"

namespace nUlmoEsfingeXML {

std::string TXMLNodeBinding::Xml() const {
  std::ostringstream out;
  FNode.print(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node TXMLNodeBinding::Filho(std::string_view aNome) const {
  std::string nome(aNome);
  pugi::xml_node c = FNode.child(nome.c_str());
  return c ? c : FNode.append_child(nome.c_str());
}

std::string TXMLNodeBinding::LerTexto(std::string_view aNome) const { return Filho(aNome).text().get(); }

int TXMLNodeBinding::LerInteiro(std::string_view aNome) const {
  std::string t = LerTexto(aNome);
  int v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || p != t.data() + t.size())
    throw nFramework::EConvertError("'" + t + "' não é um valor inteiro válido");
  return v;
}

void TXMLNodeBinding::GravarTexto(std::string_view aNome, std::string_view aValor) const {
  Filho(aNome).text().set(std::string(aValor).c_str());
}

void TXMLNodeBinding::GravarInteiro(std::string_view aNome, int aValor) const {
  GravarTexto(aNome, std::to_string(aValor));
}

std::shared_ptr<pugi::xml_document> NovoDocumento(std::string_view aRaiz) {
  auto doc = std::make_shared<pugi::xml_document>();
  doc->append_child(std::string(aRaiz).c_str());
  return doc;
}

}  // namespace nUlmoEsfingeXML
