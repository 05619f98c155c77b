#include "UlmoDMTCESistemaEmpresa_U.h"

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararTCESistemaEmpresa(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.CODIGOEMPRESA from TCESISTEMAEMPRESA t_t ORDER BY "
      "T_T.CODIGOSISTEMATCE,T_T.CODIGOEMPRESA");
  ADM.SetCaption("Código Sistema TCE Empresa");
  ADM.SetOrdem("CODIGOSISTEMATCE,CODIGOEMPRESA");
  TnCampoDef sistema = CampoSistemaTCE();
  sistema.Hint = "Informe o código do sistema TCE";
  sistema.Obrigatorio = false;  // a key field all the same
  ADM.AddCampo(sistema);
  ADM.AddCampo({.Nome = "CODIGOEMPRESA",
                .Tipo = TFieldType::ftSmallint,
                .Hint = "Informe o código da empresa",
                .Dicionario = "CODIGOEMPRESA",
                .Maximo = 32767,
                .MensagemFaixa = "Código da empresa inválido!",
                .LinkCadastro = "TirnDMEmpresa",
                .LinkConsulta = "TirnDCEmpresa",
                .LinkTabela = "EMPRESA",
                .LinkDirecionaCadastro = false});
}

TUlmoDMTCESistemaEmpresa::TUlmoDMTCESistemaEmpresa() {
  DeclararTCESistemaEmpresa(*this);
  SetCadCons("TUlmoDCTCESistemaEmpresa");
  SetTipoForm(ntfCadGrid);
  Definicao("CODIGOSISTEMATCE").Visivel = false;  // the work area's master gives it
}

void TUlmoDMTCESistemaEmpresa::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMTCESistemaEmpresa::ValidarDado() {
  TnDMClientDataSet::ValidarDado();
  // Every stored row of the company counts, the one being edited included.
  std::string empresa = std::to_string(nClientDataSet().FieldByName("CODIGOEMPRESA").AsInteger());
  if (PegarTemRegistro("TCESISTEMAEMPRESA", "CODIGOEMPRESA", "CODIGOEMPRESA = " + empresa))
    throw Exception("A empresa selecionada já está vinculada a outro sistema do TCE");
}

void TUlmoDMTCESistemaEmpresa::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMTCESistemaEmpresa>()};

}  // namespace nUlmo
