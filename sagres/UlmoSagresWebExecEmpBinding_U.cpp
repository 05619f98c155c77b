#include "UlmoSagresWebExecEmpBinding_U.h"

#include "Variant_U.h"

namespace nUlmoSagres {

pugi::xml_node TXMLNodeSagres::Filho(const char* AName) const {
  pugi::xml_node c = FNode.child(AName);
  return c ? c : FNode.append_child(AName);
}

std::string TXMLNodeSagres::Texto(const char* AName) const { return Filho(AName).text().get(); }

void TXMLNodeSagres::SetTexto(const char* AName, const std::string& AValue) const {
  Filho(AName).text().set(AValue.c_str());
}

int TXMLNodeSagres::Inteiro(const char* AName) const { return nFramework::StrToInt(Texto(AName)); }

void TXMLNodeSagres::SetInteiro(const char* AName, int AValue) const { Filho(AName).text().set(AValue); }

TXMLListaExecucaoEmpresas_t PegarExecucaoEmpresas(pugi::xml_document& ADocument) {
  pugi::xml_node raiz = ADocument.document_element();
  if (!raiz) raiz = ADocument.append_child("exec:ExecucaoEmpresas");
  return TXMLListaExecucaoEmpresas_t(raiz);
}

}  // namespace nUlmoSagres
