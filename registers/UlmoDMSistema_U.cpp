#include "UlmoDMSistema_U.h"

#include <utility>

#include "ClassRegistry_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararSistema(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.DESCRSISTEMATCE,t_t.SIGLAESTADO,t_t.MASCPLANOTCE from TCESISTEMA t_t ORDER BY "
      "t_t.CodigoSistemaTCE");
  ADM.SetCaption("Sistema");
  ADM.SetOrdem("CodigoSistemaTCE");
  ADM.AddCampo({.Nome = "CODIGOSISTEMATCE",
                .Tipo = TFieldType::ftSmallint,
                .Obrigatorio = true,
                .Minimo = 1,
                .Maximo = 9999,
                .MensagemFaixa = "Código do sistema inválido!",
                .AutoIncrementar = true});
  ADM.AddCampo({.Nome = "DESCRSISTEMATCE",
                .Tipo = TFieldType::ftString,
                .Tamanho = 100,
                .Label = "Nome Sistema",
                .Hint = "Descrição do sistema",
                .Obrigatorio = true});
  ADM.AddCampo({.Nome = "SIGLAESTADO",
                .Tipo = TFieldType::ftString,
                .Tamanho = 2,
                .Hint = "Informe o estado",
                .Dicionario = "SIGLAESTADO",
                .Obrigatorio = true,
                .LinkTabela = "ESTADO"});
  ADM.AddCampo({.Nome = "MASCPLANOTCE",
                .Tipo = TFieldType::ftString,
                .Tamanho = 30,
                .Label = "Máscara Plano",
                .Hint = "Informe a máscara do plano TCE",
                .Obrigatorio = true});
}

TnCampoDef CampoSistemaTCE() {
  return {.Nome = "CODIGOSISTEMATCE",
          .Tipo = TFieldType::ftSmallint,
          .Dicionario = "CODIGOSISTEMATCE",
          .Obrigatorio = true,
          .LinkCadastro = "TUlmoDMSistema",
          .LinkConsulta = "TUlmoDCSistema",
          .LinkTabela = "TCESISTEMA"};
}

TUlmoDMSistema::TUlmoDMSistema() {
  DeclararSistema(*this);
  SetCadCons("TUlmoDCSistema");
  SetPodeAlterarChave(false);
}

void TUlmoDMSistema::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                      const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMSistema::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

void TUlmoDMSistemaAreaTrabalho::DataModuleCreate() {
  TUlmoDMSistema::DataModuleCreate();
  SetTipoForm(ntfAreaTrabalho);
  static constexpr std::pair<const char*, const char*> detalhes[] = {
      {"TUlmoDMPlanoAreaTrabalho", "Plano de Contas"},       {"TUlmoDMTipoContaCtbAreaTrabalho", "Tipo Contas"},
      {"TUlmoDMTipoMovimCtbAreaTrabalho", "Tipo Movimento"}, {"TUlmoDMTCEOrigemLctoCtbAreaTrabalho", "Origem"},
      {"TUlmoDMTCESistemaEmpresa", "Cadastro Empresa"},
  };
  for (const auto& [classe, caption] : detalhes)
    AddInfoDetalhe(classe, "CODIGOSISTEMATCE", "CODIGOSISTEMATCE", "", caption, "", true, false, true);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMSistema>(), nClasse<TUlmoDMSistemaAreaTrabalho>()};

}  // namespace nUlmo
