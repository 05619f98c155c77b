// TUlmoArqRSGerarArquivoBalancete: writes "BAL_VER.txt", the trial balance of the court chart:
// the company's balances (from the accounting module's balance process) carried to the court
// accounts they are mapped to and to those accounts' ancestors, split into debit and credit by
// the nature of the account's group.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "Currency_U.h"
#include "MapClass_U.h"
#include "SaldoCtbTipado_U.h"
#include "UlmoArqRSGerador_U.h"

namespace nUlmoRS {

namespace nBalancete {
ULMO_MAP_CLASS(TMapPlanoTCE, nFramework::TField, CONTACTB, CLASSIFCONTA, TIPOCONTA, DESCRCONTA, CODIGOESTAB, DATASALDO,
               SALDOANTERIOR, DEBITO, CREDITO, MOVIMENTO, SALDOATUAL, TIPOCONTACALC);
}  // namespace nBalancete

// The six amounts of a BAL line.
struct TRecDadosSaldoCTB {
  nFramework::Currency SaldoAnteriorDev, SaldoAnteriorCred;
  nFramework::Currency SaldoMovDebito, SaldoMovCredito;
  nFramework::Currency SaldoAtualDeb, SaldoAtualCred;
};

class TUlmoArqRSGerarArquivoBalancete : public TUlmoArqRSGerador {
  N_CLASSE(TUlmoArqRSGerarArquivoBalancete)
 public:
  ~TUlmoArqRSGerarArquivoBalancete() override;

 protected:
  std::string NomeArquivo() const override { return "BAL_VER.txt"; }
  void CarregarDados() override;
  const nFramework::TLeiaute& LayoutCabecalho() const override { return LayoutCabecalhoBalancete(); }
  void EscreverDetalhes(nFramework::TEscritorLeiaute& escritor) override;
  void LiberarDados() override;

 private:
  // Carries the company's balances to the court accounts and their ancestors.
  void Montar(const nUlmoSaldoCtb::TSaldoCtbTipado& saldos, nFramework::TClientDataSet& planoConta,
              nFramework::TClientDataSet& planoClass);

  std::vector<nFramework::TVariant> FNaturezaGrupo;
  std::unique_ptr<nFramework::TClientDataSet> curSaldoTCE;
};

}  // namespace nUlmoRS
