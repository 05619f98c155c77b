#include "UlmoDMCfgEmpresaTce_U.h"

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"

namespace nUlmo {

using namespace nFramework;

void DeclararCfgEmpresaTce(TnDMClientDataSet& ADM) {
  ADM.SetCaption("Configuração TCE");
  ADM.SetOrdem("CODIGOEMPRESA");
  ADM.AddCampo({.Nome = "CODIGOEMPRESA",
                .Tipo = TFieldType::ftSmallint,
                .Label = "Código Empresa",
                .Hint = "Informe o código da empresa",
                .Dicionario = "CODIGOEMPRESA",
                .Obrigatorio = true,
                .Minimo = 1,
                .Maximo = 32767,
                .MensagemFaixa = "Código da empresa inválido!",
                .LinkCadastro = "TirnDMEmpresa",
                .LinkConsulta = "TirnDCEmpresa",
                .LinkTabela = "EMPRESA",
                .LinkResultado = "NomeEmpresa"});
  ADM.AddCampo({.Nome = "TOKENESFINGE", .Tipo = TFieldType::ftString, .Label = "Token e-Sfinge On-line", .SomenteLeitura = true});
}

TUlmoDMCfgEmpresaTce::TUlmoDMCfgEmpresaTce() {
  SetCommandText(
      "Select t_t.TOKENESFINGE,t_t.CODIGOEMPRESA from CFGEMPRESATCE t_t ORDER BY T_T.CODIGOEMPRESA");
  DeclararCfgEmpresaTce(*this);
  SetCadCons("TUlmoDCCfgEmpresaTce");
}

void TUlmoDMCfgEmpresaTce::ValidarDado() {
  TnDMClientDataSet::ValidarDado();
  // The token is the online login's; a row saved here keeps the stored one (none for a new row).
  TField& token = nClientDataSet().FieldByName("TOKENESFINGE");
  TVariant guardado = PegarValorCampo(
      "CFGEMPRESATCE", "TOKENESFINGE",
      "CODIGOEMPRESA = " + ValorParaSQL(nClientDataSet().FieldByName("CODIGOEMPRESA").Value(), TFieldType::ftSmallint));
  std::string antes = guardado.IsNull() ? "" : VarToStr(guardado);
  if (token.AsString() != antes) throw Exception("O campo \"Token e-Sfinge On-line\" não pode ser alterado!");
}

void TUlmoDMCfgEmpresaTce::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMCfgEmpresaTce>()};

}  // namespace nUlmo
