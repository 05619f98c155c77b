#include "UlmoContaContabilWS_U.h"

namespace nUlmoEsfingeXML {

IXMLEnviarTypeContaContabil NewEnviarContaContabil() {
  auto doc = NovoDocumento("enviar");
  return TXMLEnviarTypeContaContabil(doc, doc->document_element());
}

}  // namespace nUlmoEsfingeXML
