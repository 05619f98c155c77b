#include "UlmoSagresWebAlmoxarifados_U.h"

#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using nFramework::Currency;

void TUlmoSagresWebAlmoxarifados::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TUlmoSagresWebRegraCalculoCtb& regras = mes.Regras;
  if (!regras.EncontrarContaCTB(mes.Requisicao.ContaAlmoxarifado)) return;
  TAlmoxarifadoSagres a;
  a.Anterior = regras.GetSaldoContaCTB(tpSaldoAnterior);
  a.Debito = regras.GetSaldoContaCTB(tpDebito);
  a.Credito = regras.GetSaldoContaCTB(tpCredito);
  a.Atual = regras.GetSaldoContaCTB(tpSaldoAtual);
  if (((a.Anterior + a.Debito) + a.Credito) + a.Atual == Currency()) return;
  escritor.Almoxarifado(a);
}

}  // namespace nUlmoSagres
