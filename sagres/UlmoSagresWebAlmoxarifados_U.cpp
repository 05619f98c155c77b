#include "UlmoSagresWebAlmoxarifados_U.h"

#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using nFramework::Currency;

void TUlmoSagresWebAlmoxarifados::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  if (!regras.EncontrarContaCTB(cfg.ContaCtbAlmoxarifado)) return;
  Currency a = regras.GetSaldoContaCTB(tpSaldoAnterior);
  Currency d = regras.GetSaldoContaCTB(tpDebito);
  Currency c = regras.GetSaldoContaCTB(tpCredito);
  Currency s = regras.GetSaldoContaCTB(tpSaldoAtual);
  if (((a + d) + c) + s == Currency()) return;
  TXMLAlmoxarifado_t al = ListaExecucaoEmpresas.Almoxarifado();
  al.SetVl_SaldoInicial(Moeda(a));
  al.SetVl_Entrada(Moeda(d));
  al.SetVl_Saida(Moeda(c));
  al.SetVl_SaldoFinal(Moeda(s));
}

}  // namespace nUlmoSagres
