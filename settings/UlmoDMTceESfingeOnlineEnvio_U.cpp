#include "UlmoDMTceESfingeOnlineEnvio_U.h"

#include "ClassRegistry_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararTceESfingeOnlineEnvio(TnDMClientDataSet& ADM) {
  ADM.SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.COMPETENCIA,t_t.SEQ,t_t.DATAENVIO,t_t.STATUS,t_t.CHAVEPACOTE,"
      "t_t.CODIGOREGISTROINFORMACAO from TCEESFINGEONLINEENVIO t_t ORDER BY "
      "T_T.CODIGOEMPRESA,T_T.COMPETENCIA,T_T.SEQ");
  ADM.SetOrdem("CODIGOEMPRESA,COMPETENCIA,SEQ");
  ADM.AddCampo({.Nome = "CODIGOEMPRESA",
                .Tipo = TFieldType::ftSmallint,
                .Hint = "Informe o código da empresa",
                .Dicionario = "CODIGOEMPRESA",
                .Minimo = 1,
                .Maximo = 32767,
                .MensagemFaixa = "Código da empresa inválido!",
                .Visivel = false,
                .LinkCadastro = "TirnDMEmpresa",
                .LinkConsulta = "TirnDCEmpresa",
                .LinkTabela = "EMPRESA"});
  ADM.AddCampo({.Nome = "COMPETENCIA", .Tipo = TFieldType::ftDate, .Hint = "Competência de mês e ano", .Dicionario = "DICDATAMESANO"});
  ADM.AddCampo({.Nome = "SEQ", .Tipo = TFieldType::ftInteger, .Dicionario = "SEQ"});
  ADM.AddCampo({.Nome = "DATAENVIO", .Tipo = TFieldType::ftDate, .Hint = "Data", .Dicionario = "DICDATA"});
  ADM.AddCampo({.Nome = "STATUS", .Tipo = TFieldType::ftSmallint});
  ADM.AddCampo({.Nome = "CHAVEPACOTE", .Tipo = TFieldType::ftString, .Tamanho = 300});
  ADM.AddCampo({.Nome = "CODIGOREGISTROINFORMACAO", .Tipo = TFieldType::ftString, .Tamanho = 300});
}

TUlmoDMTceESfingeOnlineEnvio::TUlmoDMTceESfingeOnlineEnvio() {
  DeclararTceESfingeOnlineEnvio(*this);
  SetCaption("Cadastro Envio Lote e-Sfinge Online");
  SetCadCons("TUlmoDCTceESfingeOnlineEnvio");
}

void TUlmoDMTceESfingeOnlineEnvio::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMTceESfingeOnlineEnvio>()};

}  // namespace nUlmo
