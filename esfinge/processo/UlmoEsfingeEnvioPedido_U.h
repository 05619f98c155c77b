// What the e-Sfinge send is asked for, read once from its panel.
#pragma once
#include <string>

#include "DateUtils_U.h"

namespace nUlmoEsfinge {

struct TPedidoEnvioEsfinge {
  int CodigoSistema = 0;
  int CodigoEmpresa = 0;
  nFramework::TDateTime CompetInicial = 0;
  nFramework::TDateTime CompetFinal = 0;
  bool EnviarImplantacao = false;        // opening balances implanted in the period
  bool EnviarLancamentoAnoAnterior = false;  // the year's opening, from the balances
  bool SomenteContasComMovimento = false;
  bool ExibirContasSinteticas = false;
  std::string Usuario, Senha, UnidadeGestora;
};

}  // namespace nUlmoEsfinge
