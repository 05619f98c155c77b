#include "UlmoFuncoes_U.h"

#include "Exceptions_U.h"
#include "SQL_U.h"

namespace nUlmo {

using namespace nFramework;

int TUlmoFuncoes::GetSistemaTCE(int ACodigoEmpresa) {
  std::string condicao = "CODIGOEMPRESA = " + ValorParaSQL(ACodigoEmpresa, TFieldType::ftInteger);
  int sistema = VarToIntDef(PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE", condicao), 0);
  if (sistema == 0)
    throw Exception(
        "A empresa selecionada não está vinculada ao Sistema e ao Plano de Contas do TCE. Acesse a rotina Plano de "
        "Contas e informe o código da empresa no campo Cadastro da Empresa.!");
  return sistema;
}

std::string TUlmoFuncoes::GetUFSistema(int ACodigoSistemaTCE) {
  std::string condicao = "CODIGOSISTEMATCE = " + ValorParaSQL(ACodigoSistemaTCE, TFieldType::ftSmallint);
  return VarToStr(PegarValorCampo("TCESISTEMA", "SIGLAESTADO", condicao));
}

bool TUlmoFuncoes::TemContaRelacionada(int ACodigoEmpresa, int ACodigoSistemaTCE, TDateTime AInicio, TDateTime AFim) {
  std::string condicao = "CODIGOEMPRESA = " + ValorParaSQL(ACodigoEmpresa, TFieldType::ftInteger) +
                         " and CODIGOSISTEMATCE = " + ValorParaSQL(ACodigoSistemaTCE, TFieldType::ftInteger) +
                         " and DATAINICIOPLANO <= " + ValorParaSQL(TVariant::FromDate(AFim), TFieldType::ftDate) +
                         " and DATAFIMPLANO >= " + ValorParaSQL(TVariant::FromDate(AInicio), TFieldType::ftDate);
  return !PegarValorCampo("TCEPLANOPLESPEC", "CODIGOEMPRESA", condicao).IsNull();
}

void RecusarSistemaPR(int ACodigoSistemaTCE) {
  if (TUlmoFuncoes::GetUFSistema(ACodigoSistemaTCE) == "PR")
    throw Exception("Esta rotina não é utilizada para o TCE/PR. Dados não gravados!");
}

}  // namespace nUlmo
