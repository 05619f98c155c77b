#include "IrnDPAgendaTributaria_U.h"

#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "IrnCadastros_U.h"
#include "Variant_U.h"

namespace nHost {

using namespace nFramework;

namespace {
const TnRegistroUnidade gRegistro{nClasse<TirnDPAgendaTributaria>()};
}  // namespace

TirnDPAgendaTributaria::TirnDPAgendaTributaria() {
  SetCaption("Agenda Tributária");
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Hint = "Informe a empresa"});
  AddParam({.Alias = "pCompetencia", .Caption = "Competência", .Dicionario = "DICDATAMESANO",
            .Hint = "Informe o mês das obrigações"});
}

void TirnDPAgendaTributaria::Executar() {
  TnDMPowerParam::Executar();
  std::string texto = "Agenda Tributária: o calendário de obrigações fiscais é do módulo fiscal da família e abriria";
  int empresa = StrToIntDef(Param("pCodigoEmpresa").Value(), 0);
  if (empresa > 0) texto += " para a empresa " + std::to_string(empresa) + " - " + TirnDCEmpresa::NomeEmpresa(empresa);
  if (std::string competencia = Trim(Param("pCompetencia").Value()); !competencia.empty())
    texto += ", competência " + competencia;
  MsgTree(tmInformacao, texto + ".");
}

}  // namespace nHost
