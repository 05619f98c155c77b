#include "KaloCadastros_U.h"

#include "ClassRegistry_U.h"

namespace nHost {

using namespace nFramework;

namespace {
const TnRegistroUnidade gRegistro{nClasse<TKaloDMPlanoEspec>(), nClasse<TKaloDCPlanoEspec>(),
                                  nClasse<TKaloDCOrigemLctoCtb>()};
}  // namespace

TKaloDMPlanoEspec::TKaloDMPlanoEspec() {
  SetCaption("Plano de Contas Específico");
  SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.CONTACTB,t_t.CLASSIFCONTA,t_t.DESCRCONTA,t_t.TIPOCONTA,t_t.NATURSALDO,"
      "t_t.DATAHORACADAST from PLANOESPEC t_t ORDER BY t_t.CODIGOEMPRESA,t_t.CLASSIFCONTA,t_t.TIPOCONTA,t_t.CONTACTB");
  SetOrdem("CodigoEmpresa, ClassifConta, TipoConta, ContaCtb");
  SetCadCons("TKaloDCPlanoEspec");
  SetPodeAlterarChave(false);
  AddCampo({.Nome = "CODIGOEMPRESA", .Tipo = TFieldType::ftSmallint, .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Minimo = 1, .Maximo = 32767, .MensagemFaixa = "Código da empresa inválido!", .LinkTabela = "EMPRESA"});
  AddCampo({.Nome = "CONTACTB", .Tipo = TFieldType::ftLargeint, .Label = "Conta", .Obrigatorio = true, .Minimo = 1,
            .MensagemFaixa = "Código da conta inválido!", .AutoIncrementar = true});
  AddCampo({.Nome = "CLASSIFCONTA", .Tipo = TFieldType::ftString, .Tamanho = 30, .Label = "Classificação",
            .Obrigatorio = true});
  AddCampo({.Nome = "DESCRCONTA", .Tipo = TFieldType::ftString, .Tamanho = 100, .Label = "Descrição",
            .Obrigatorio = true});
  AddCampo({.Nome = "TIPOCONTA", .Tipo = TFieldType::ftSmallint, .Label = "Tipo", .Obrigatorio = true, .Padrao = "2",
            .Lista = "Sintética=1;Analítica=2"});
  AddCampo({.Nome = "NATURSALDO", .Tipo = TFieldType::ftSmallint, .Label = "Natureza do Saldo",
            .Lista = "Devedora=1;Credora=-1"});
  AddCampo({.Nome = "DATAHORACADAST", .Tipo = TFieldType::ftDateTime, .Label = "Cadastrada em", .SomenteLeitura = true});
}

TKaloDCPlanoEspec::TKaloDCPlanoEspec() {
  SetCaption("Consulta Plano de Contas Específico");
  SetCadCons("TKaloDMPlanoEspec");
  SetLogChanges(false);
}

TKaloDCOrigemLctoCtb::TKaloDCOrigemLctoCtb() {
  SetCaption("Origem de Lançamento Contábil");
  SetCommandText(
      "Select t_t.CODIGOORIGLCTOCTB,t_t.DESCRORIGLCTOCTB from ORIGLCTOCTB t_t ORDER BY t_t.CODIGOORIGLCTOCTB");
  SetLogChanges(false);
  AddCampo({.Nome = "CODIGOORIGLCTOCTB", .Tipo = TFieldType::ftString, .Tamanho = 2, .Label = "Origem",
            .Obrigatorio = true});
  AddCampo({.Nome = "DESCRORIGLCTOCTB", .Tipo = TFieldType::ftString, .Tamanho = 60, .Label = "Descrição",
            .Obrigatorio = true});
}

}  // namespace nHost
