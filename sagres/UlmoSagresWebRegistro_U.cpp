#include "UlmoSagresWebRegistro_U.h"

#include "ControleMensagem_U.h"
#include "TextoMensagem_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebRegistro::AbrirDataSet(std::unique_ptr<TSQLDataSet>& ACds, const char* ASQL,
                                          const TValores& AValores) {
  if (!ACds)
    ACds = ExecutarSQL(ASQL, AValores);
  else
    RefreshSQL(*ACds, AValores, true);
}

bool TUlmoSagresWebRegistro::ValorDaRegra(const TMesSagres& mes, const std::string& AItem,
                                          const std::string& AFormula, Currency& AValor) {
  using R = TUlmoSagresWebRegraCalculoCtb::TnResultadoRegra;
  std::string motivo;
  switch (mes.Regras.ValorDaRegra(AFormula, AValor)) {
    case R::Valor: return true;
    case R::SemRegra:
    case R::Zero: return false;
    case R::Invalida: motivo = "é inválida"; break;
    case R::NaoNumerica: motivo = "não resultou em um valor numérico"; break;
  }
  ControleMensagem().AddAviso(AItem + ": a regra de cálculo \"" + CitarValor(AFormula) + "\" " + motivo +
                                  "; o item não foi gerado.",
                              TextoCompetencia(mes.Inicio));
  return false;
}

}  // namespace nUlmoSagres
