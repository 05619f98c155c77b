#include "UlmoRetornoSoap_U.h"

#include <pugixml.hpp>

#include "Exceptions_U.h"

namespace nUlmoEsfingeSoap {

namespace {

int InteiroOuZero(const std::string& aTexto) {
  try {
    size_t usados = 0;
    int v = std::stoi(aTexto, &usados);
    return usados == aTexto.size() ? v : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

std::string PegarMensagem(const std::string& aRetorno) {
  // Ending at the line's last "</mensagem>" would drag in the item messages that follow on a
  // one-line reply.
  const std::string abre = "<mensagem>", fecha = "</mensagem>";
  size_t ini = aRetorno.find(abre);
  if (ini == std::string::npos) return {};
  ini += abre.size();
  size_t fimLinha = aRetorno.find_first_of("\r\n", ini);
  std::string linha = aRetorno.substr(ini, fimLinha == std::string::npos ? std::string::npos : fimLinha - ini);
  size_t fim = linha.find(fecha);
  return fim == std::string::npos ? linha : linha.substr(0, fim);
}

std::vector<TItemRejeitado> LerItensRejeitados(const std::string& aRetorno) {
  // The transport hands UTF-8 text: a declaration naming another charset is not applied again.
  // pugixml parses without recursion, and nothing here walks the tree recursively.
  pugi::xml_document doc;
  pugi::xml_parse_result ok = doc.load_buffer(aRetorno.data(), aRetorno.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!ok) throw nFramework::Exception(ok.description());
  std::vector<TItemRejeitado> r;
  pugi::xpath_node dados = doc.document_element().select_node("//*[local-name() = 'dados']");
  if (!dados) return r;
  for (pugi::xml_node filho : dados.node().children()) {
    if (filho.type() != pugi::node_element) continue;
    pugi::xml_node valor = filho.child("value");
    std::string codigo = valor.child("codigo").text().get();
    if (InteiroOuZero(codigo) <= 0) continue;
    r.push_back({InteiroOuZero(filho.child("key").text().get()), codigo, valor.child("mensagem").text().get()});
  }
  return r;
}

}  // namespace nUlmoEsfingeSoap
