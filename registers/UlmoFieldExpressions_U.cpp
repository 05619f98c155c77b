#include "UlmoFieldExpressions_U.h"

#include "Contexto_U.h"
#include "FieldExpression_U.h"
#include "SQL_U.h"
#include "Utilitarios_U.h"

namespace nUlmo {

using namespace nFramework;

namespace {

TUlmoFieldExpressions* gFieldExpressions = nullptr;

std::string Argumento(const std::vector<std::string>& aArgs, size_t aIndice) {
  return aIndice < aArgs.size() ? aArgs[aIndice] : std::string();
}

std::string Literal(int aValor) { return ValorParaSQL(aValor, TFieldType::ftInteger); }

void Registrar(const std::string& aNome, const std::vector<std::string>& aArgs, const TVariant& aResultado) {
  std::string args;
  for (size_t i = 0; i < aArgs.size(); ++i) args += (i ? "," : "") + aArgs[i];
  std::string resultado;
  try {
    resultado = VarToStr(aResultado);
  } catch (const std::exception&) {
    resultado = "erroConversao";
  }
  LogDebug(aNome + "(" + args + "):" + resultado, nullptr);
}

}  // namespace

TUlmoFieldExpressions::~TUlmoFieldExpressions() { DesRegistrarUtilitarios(this); }

TVariant TUlmoFieldExpressions::ValidarUfTCE(const std::vector<std::string>& AArgs) {
  int sistema = StrToIntDef(Argumento(AArgs, 0), 0);
  std::string uf;
  if (sistema != 0) {
    uf = VarToStr(PegarValorCampo("TCESISTEMA", "SIGLAESTADO", "CODIGOSISTEMATCE = " + Literal(sistema)));
  } else {
    int empresa = StrToIntDef(ExternalVar("gCodigoEmpresaAtiva"), 0);
    uf = VarToStr(PegarValorCampo(
        "TCESISTEMA TCE join TCESISTEMAEMPRESA TCEEMP on TCE.CODIGOSISTEMATCE = TCEEMP.CODIGOSISTEMATCE",
        "TCE.SIGLAESTADO", "TCEEMP.CODIGOEMPRESA = " + Literal(empresa)));
  }
  TVariant resultado(uf == Argumento(AArgs, 1));
  Registrar("VALIDARUFTCE", AArgs, resultado);
  return resultado;
}

TVariant TUlmoFieldExpressions::EhContaTCEBancaria(const std::vector<std::string>& AArgs) {
  std::string condicao = "CODIGOSISTEMATCE = " + Literal(StrToIntDef(Argumento(AArgs, 0), 0)) +
                         " and CODIGOTIPOCONTATCE = " + Literal(StrToIntDef(Argumento(AArgs, 1), 0));
  return TVariant(VarToIntDef(PegarValorCampo("TCETIPOCONTACTB", "BANCARIA", condicao), 0) == 1);
}

TVariant TUlmoFieldExpressions::PegarSistemaTCE(const std::vector<std::string>& AArgs) {
  int resultado = 0;
  // Only a company code reaches the condition, and only a real one costs a query.
  int empresa = StrToIntDef(Argumento(AArgs, 0), 0);
  if (empresa > 0) {
    int sistema =
        VarToIntDef(PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE", "CODIGOEMPRESA = " + Literal(empresa)), 0);
    if (sistema > 0) resultado = sistema;
  }
  Registrar("PEGARSISTEMATCE", AArgs, TVariant(resultado));
  return TVariant(resultado);
}

TUlmoFieldExpressions& FieldExpressions() { return CriarUtilitarios(gFieldExpressions); }

namespace {

struct TRegistroFuncoes {
  TRegistroFuncoes() {
    auto& funcoes = FieldExpressionFunctions();
    funcoes.RegisterFunction("VALIDARUFTCE", [](const auto& a) { return FieldExpressions().ValidarUfTCE(a); });
    funcoes.RegisterFunction("EHCONTATCEBANCARIA",
                             [](const auto& a) { return FieldExpressions().EhContaTCEBancaria(a); });
    funcoes.RegisterFunction("PEGARSISTEMATCE", [](const auto& a) { return FieldExpressions().PegarSistemaTCE(a); });
  }
} gRegistroFuncoes;

}  // namespace

}  // namespace nUlmo
