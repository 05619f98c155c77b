#include "UlmoDCPlanoPlEspec_U.h"

#include "ClassRegistry_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDCPlanoPlEspec::TUlmoDCPlanoPlEspec() {
  SetCommandText(
      "select TCEPLANOPLESPEC.CODIGOEMPRESA, TCEPLANOPLESPEC.CONTACTB, cast(PLANOESPEC.CLASSIFCONTA || '  ' || case "
      "PLANOESPEC.TIPOCONTA  WHEN 1 then ' ' WHEN 2 then '.' end || '  ' || PLANOESPEC.DESCRCONTA as varchar(300)) "
      "DESCRCONTA, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE, CONTATCE, TIPONATURSALDO, "
      "CODIGOTIPOCONTATCE, CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA from TCEPLANOPLESPEC join PLANOESPEC on "
      "TCEPLANOPLESPEC.CODIGOEMPRESA = PLANOESPEC.CODIGOEMPRESA and TCEPLANOPLESPEC.CONTACTB = PLANOESPEC.CONTACTB "
      "order by 1 /* CodigoEmpresa*/, 3 /* DESCRCONTA */, 2, 4 /* DataInicioPlano */");
  SetCaption("Plano de Contas Específico TCE");
  SetCadCons("TUlmoDMPlanoPlEspec");
  SetTipoForm(ntfConPersonalizado);
  SetLogChanges(false);
  AddCampo({.Nome = "CODIGOEMPRESA", .Tipo = TFieldType::ftSmallint, .Dicionario = "CODIGOEMPRESA"});
  AddCampo({.Nome = "CONTACTB", .Tipo = TFieldType::ftLargeint, .Dicionario = "CONTACTB"});
  AddCampo({.Nome = "DESCRCONTA", .Tipo = TFieldType::ftString, .Tamanho = 300, .Label = "Classificação / Descrição"});
  AddCampo({.Nome = "DATAINICIOPLANO", .Tipo = TFieldType::ftDate, .Label = "Data Início Plano"});
  AddCampo({.Nome = "DATAFIMPLANO", .Tipo = TFieldType::ftDate, .Label = "Data Fim Plano"});
}

void TUlmoDCPlanoPlEspec::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                           const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDCPlanoPlEspec::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
  SetFormConsulta("TnFrmConGridOrderFixo");
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDCPlanoPlEspec>()};

}  // namespace nUlmo
