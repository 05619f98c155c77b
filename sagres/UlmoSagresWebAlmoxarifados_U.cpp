#include "UlmoSagresWebAlmoxarifados_U.h"

#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

void TUlmoSagresWebAlmoxarifados::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  if (!regras.EncontrarContaCTB(cfg.ContaCtbAlmoxarifado)) return;
  double a = regras.GetSaldoContaCTB(tpSaldoAnterior);
  double d = regras.GetSaldoContaCTB(tpDebito);
  double c = regras.GetSaldoContaCTB(tpCredito);
  double s = regras.GetSaldoContaCTB(tpSaldoAtual);
  if (((a + d) + c) + s == 0) return;
  TXMLAlmoxarifado_t al = ListaExecucaoEmpresas.Almoxarifado();
  al.SetVl_SaldoInicial(Moeda(a));
  al.SetVl_Entrada(Moeda(d));
  al.SetVl_Saida(Moeda(c));
  al.SetVl_SaldoFinal(Moeda(s));
}

}  // namespace nUlmoSagres
