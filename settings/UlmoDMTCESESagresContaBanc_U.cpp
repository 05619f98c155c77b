#include "UlmoDMTCESESagresContaBanc_U.h"

#include "ClassRegistry_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

TUlmoDMTCESESagresContaBanc::TUlmoDMTCESESagresContaBanc() {
  SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.CODIGOBANCO,t_t.NUMEROAGENCIA,t_t.NUMEROCONTA,t_t.CONTACTB from "
      "TCESESAGRESCONTABANC t_t ORDER BY t_t.CodigoEmpresa,t_t.CodigoBanco,t_t.NumeroAgencia,t_t.NumeroConta");
  SetCaption("Configuração Contas Bancárias");
  SetOrdem("CodigoEmpresa, CodigoBanco, NumeroAgencia, NumeroConta");
  SetTipoForm(ntfCadGrid);
  SetPodeAlterarChave(false);
  AddCampo({.Nome = "CODIGOEMPRESA",
            .Tipo = TFieldType::ftSmallint,
            .Dicionario = "CODIGOEMPRESA",
            .Obrigatorio = true,
            .Minimo = 1,
            .Maximo = 32767,
            .MensagemFaixa = "Código da empresa inválido!",
            .LinkCadastro = "TirnDMEmpresa",
            .LinkConsulta = "TirnDCEmpresa",
            .LinkTabela = "EMPRESA"});
  AddCampo({.Nome = "CODIGOBANCO",
            .Tipo = TFieldType::ftSmallint,
            .Dicionario = "CODIGOBANCO",
            .Obrigatorio = true,
            .LinkTabela = "BANCO"});
  AddCampo({.Nome = "NUMEROAGENCIA",
            .Tipo = TFieldType::ftInteger,
            .Dicionario = "NUMEROAGENCIA",
            .Obrigatorio = true,
            .LinkTabela = "AGENCIA",
            .LinkChaves = "CODIGOBANCO;NUMEROAGENCIA"});
  AddCampo({.Nome = "NUMEROCONTA",
            .Tipo = TFieldType::ftString,
            .Tamanho = 13,
            .Label = "Número da Conta",
            .Hint = "Informe o número da conta bancária",
            .Obrigatorio = true});
  AddCampo({.Nome = "CONTACTB",
            .Tipo = TFieldType::ftLargeint,
            .Dicionario = "CONTACTB",
            .Obrigatorio = true,
            .LinkTabela = "PLANOESPEC",
            .LinkChaves = "CODIGOEMPRESA;CONTACTB"});
}

void TUlmoDMTCESESagresContaBanc::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                   const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMTCESESagresContaBanc::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMTCESESagresContaBanc>()};

}  // namespace nUlmo
