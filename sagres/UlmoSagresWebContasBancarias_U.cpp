#include "UlmoSagresWebContasBancarias_U.h"

#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using namespace nFramework;

namespace {
const char* const kSQL =
    "select CODIGOBANCO , NUMEROAGENCIA , NUMEROCONTA , CONTACTB from TCESESAGRESCONTABANC where CODIGOEMPRESA = "
    ":pCodigoEmpresa order by CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA";
}

void TUlmoSagresWebContasBancarias::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  AbrirDataSet(FCdsContaBanc, kSQL, {cfg.CodigoEmpresa});
  FMapContaBanc = std::make_unique<TnMapContaBanc>();
  FMapContaBanc->Mapear(*FCdsContaBanc);
  const TnMapContaBanc& m = *FMapContaBanc;
  for (FCdsContaBanc->First(); !FCdsContaBanc->Eof(); FCdsContaBanc->Next()) {
    if (!regras.EncontrarContaCTB(m.CONTACTB->AsLargeInt())) continue;
    Currency a = regras.GetSaldoContaCTB(tpSaldoAnterior);
    Currency d = regras.GetSaldoContaCTB(tpDebito);
    Currency c = regras.GetSaldoContaCTB(tpCredito);
    Currency s = regras.GetSaldoContaCTB(tpSaldoAtual);
    if (((a + d) + c) + s == Currency()) continue;
    TXMLContaBancaria_t cb = ListaExecucaoEmpresas.ContaBancaria().Add();
    cb.SetCodigoBanco(Preencher(std::to_string(m.CODIGOBANCO->AsInteger()), 3));
    cb.SetCodigoAgencia(Cortar(std::to_string(m.NUMEROAGENCIA->AsInteger()), 6));
    cb.SetNumeroContaBancaria(m.NUMEROCONTA->AsString());
    cb.SetValorSaldoInicialNoMes(Moeda(a));
    // The court reads the bank's side: the account's credits are the bank's debits.
    cb.SetValorTotalDebitos(Moeda(c));
    cb.SetValorTotalCreditos(Moeda(d));
    cb.SetValorConciliacao(Moeda(s));
  }
}

}  // namespace nUlmoSagres
