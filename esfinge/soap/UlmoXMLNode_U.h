// Shared base of the e-Sfinge data bindings: a node of a pugixml document whose typed
// children are created on first access, so a document shows its elements in the order in
// which they were first read or written. The document is held by a counted reference, so a
// node handle stays valid while any handle of its document lives.
#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace nUlmoEsfingeXML {

class TXMLNodeBinding {
 public:
  TXMLNodeBinding() = default;
  TXMLNodeBinding(std::shared_ptr<pugi::xml_document> aDocumento, pugi::xml_node aNode)
      : FDocumento(std::move(aDocumento)), FNode(aNode) {}

  pugi::xml_node Node() const { return FNode; }
  const std::shared_ptr<pugi::xml_document>& Documento() const { return FDocumento; }
  // The element's own text, without declaration, indentation or namespace declaration.
  std::string Xml() const;

 protected:
  // The child of that name, appended after the existing children when missing.
  pugi::xml_node Filho(std::string_view aNome) const;
  std::string LerTexto(std::string_view aNome) const;
  // Raises EConvertError when the text is not a whole number.
  int LerInteiro(std::string_view aNome) const;
  void GravarTexto(std::string_view aNome, std::string_view aValor) const;
  void GravarInteiro(std::string_view aNome, int aValor) const;

  std::shared_ptr<pugi::xml_document> FDocumento;
  mutable pugi::xml_node FNode;  // a handle: appending changes the document, not the handle
};

// A new XML 1.0 document whose root element (no namespace) has that name.
std::shared_ptr<pugi::xml_document> NovoDocumento(std::string_view aRaiz);

// The repeated children of one name under a node: Add, Insert, Items, Count.
template <class TItem>
class TXMLNodeCollection {
 public:
  TXMLNodeCollection(std::shared_ptr<pugi::xml_document> aDocumento, pugi::xml_node aPai, std::string aNome)
      : FDocumento(std::move(aDocumento)), FPai(aPai), FNome(std::move(aNome)) {}

  int Count() const {
    int n = 0;
    for (auto c = FPai.child(FNome.c_str()); c; c = c.next_sibling(FNome.c_str())) ++n;
    return n;
  }
  TItem Items(int aIndex) const {
    int n = 0;
    for (auto c = FPai.child(FNome.c_str()); c; c = c.next_sibling(FNome.c_str()))
      if (n++ == aIndex) return TItem(FDocumento, c);
    throw std::out_of_range("índice de lista fora dos limites (" + std::to_string(aIndex) + ")");
  }
  TItem operator[](int aIndex) const { return Items(aIndex); }
  TItem Add() const { return TItem(FDocumento, FPai.append_child(FNome.c_str())); }
  // Before the item now at aIndex; at the end when aIndex is the count.
  TItem Insert(int aIndex) const {
    if (aIndex == Count()) return Add();
    return TItem(FDocumento, FPai.insert_child_before(FNome.c_str(), Items(aIndex).Node()));
  }

 private:
  std::shared_ptr<pugi::xml_document> FDocumento;
  mutable pugi::xml_node FPai;
  std::string FNome;
};

}  // namespace nUlmoEsfingeXML
