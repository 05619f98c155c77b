#include "UlmoLancamentoContabilWS_U.h"

namespace nUlmoEsfingeXML {

IXMLEnviarTypeLancamento NewEnviarLancamento() {
  auto doc = NovoDocumento("enviar");
  return TXMLEnviarTypeLancamento(doc, doc->document_element());
}

}  // namespace nUlmoEsfingeXML
