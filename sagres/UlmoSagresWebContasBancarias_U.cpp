#include "UlmoSagresWebContasBancarias_U.h"

#include "CursorSQL_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebContasBancarias::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TCursorSQL c(Conexao(),
               "select CODIGOBANCO , NUMEROAGENCIA , NUMEROCONTA , CONTACTB from TCESESAGRESCONTABANC where "
               "CODIGOEMPRESA = :pCodigoEmpresa order by CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA",
               {mes.Requisicao.Empresa});
  TContaBancariaSagres cb;
  while (c.Proximo()) {
    if (!mes.Regras.EncontrarContaCTB(c.Inteiro(3))) continue;
    cb.Anterior = mes.Regras.GetSaldoContaCTB(tpSaldoAnterior);
    cb.Debito = mes.Regras.GetSaldoContaCTB(tpDebito);
    cb.Credito = mes.Regras.GetSaldoContaCTB(tpCredito);
    cb.Atual = mes.Regras.GetSaldoContaCTB(tpSaldoAtual);
    if (((cb.Anterior + cb.Debito) + cb.Credito) + cb.Atual == Currency()) continue;
    cb.Banco = c.Inteiro(0);
    cb.Agencia = c.Inteiro(1);
    cb.Conta = c.Texto(2);
    escritor.ContaBancaria(cb);
  }
}

}  // namespace nUlmoSagres
