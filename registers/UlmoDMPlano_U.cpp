#include "UlmoDMPlano_U.h"

#include "ClassRegistry_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

namespace {
const std::string kPR = "EXTERNO(\"VALIDARUFTCE\" , [CODIGOSISTEMATCE, \"PR\"])";
const std::string kNaoPR = "NOT(" + kPR + ")";
}  // namespace

void DeclararCamposPlano(TnDMClientDataSet& ADM) {
  ADM.SetOrdem("CodigoSistemaTCE, ContaTCE");
  ADM.SetCaption("Plano de Contas TCE");
  ADM.AddCampo(CampoSistemaTCE());
  ADM.AddCampo({.Nome = "CONTATCE",
                .Tipo = TFieldType::ftLargeint,
                .Label = "Código da Conta",
                .Hint = "Informe um código para a conta",
                .Obrigatorio = true,
                .Minimo = 1,
                .Maximo = 9999999999,
                .MensagemFaixa = "Conta TCE inválida!",
                .AutoIncrementar = true});
  ADM.AddCampo({.Nome = "TIPOCONTA",
                .Tipo = TFieldType::ftSmallint,
                .Label = "Tipo Conta",
                .Obrigatorio = true,
                .Lista = "Analítica=2;Sintética=1"});
  ADM.AddCampo({.Nome = "CLASSIFCONTA",
                .Tipo = TFieldType::ftString,
                .Tamanho = 30,
                .Label = "Classificação",
                .Obrigatorio = true});
  ADM.AddCampo({.Nome = "DESCRCONTA",
                .Tipo = TFieldType::ftString,
                .Tamanho = 250,
                .Label = "Descrição",
                .Hint = "Descrição da conta",
                .Obrigatorio = true});
  ADM.AddCampo({.Nome = "NATUREZAINFORMACAO",
                .Tipo = TFieldType::ftString,
                .Tamanho = 1,
                .Grupo = "Informações Adicionais - TCE/PR",
                .Padrao = "O",
                .Lista = "Orçamentária=O;Controle=C;Patrimonial=P",
                .ExpressaoHabilitado = kPR,
                .ExpressaoObrigatorio = kPR,
                .ExpressaoLimpar = kNaoPR});
  ADM.AddCampo({.Nome = "INDSUPERAVIT",
                .Tipo = TFieldType::ftString,
                .Tamanho = 1,
                .Padrao = "F",
                .Lista = "Financeiro=F;Patrimonial=P;Mista/Híbrida=X;Outros Controles=O",
                .ExpressaoHabilitado = kPR,
                .ExpressaoObrigatorio = kPR,
                .ExpressaoLimpar = kNaoPR});
  ADM.AddCampo({.Nome = "TIPOCONTROLECONTA",
                .Tipo = TFieldType::ftString,
                .Tamanho = 1,
                .Padrao = "O",
                .Lista = "Obrigatória=O;Facultativa=F;Obrigatória - TCE/PR=T;Próprio da Entidade=P",
                .ExpressaoHabilitado = kPR,
                .ExpressaoObrigatorio = kPR,
                .ExpressaoLimpar = kNaoPR});
}

TUlmoDMPlano::TUlmoDMPlano() {
  SetCommandText(
      "Select t_t.CODIGOSISTEMATCE,t_t.CONTATCE,t_t.TIPOCONTA,t_t.CLASSIFCONTA,t_t.DESCRCONTA,t_t.NATUREZAINFORMACAO,"
      "t_t.INDSUPERAVIT,t_t.TIPOCONTROLECONTA from TCEPLANO t_t ORDER BY T_T.CODIGOSISTEMATCE,T_T.CONTATCE");
  DeclararCamposPlano(*this);
  SetCadCons("TUlmoDCPlano");
  SetPodeAlterarChave(false);
}

void TUlmoDMPlano::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute, const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMPlano::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

void TUlmoDMPlanoAreaTrabalho::DataModuleCreate() {
  TUlmoDMPlano::DataModuleCreate();
  SetTipoForm(ntfAreaTrabalho);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMPlano>(), nClasse<TUlmoDMPlanoAreaTrabalho>()};

}  // namespace nUlmo
