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
#include "PowerParam_U.h"
#include "UlmoArqRSGerador_U.h"

namespace nUlmoRS {

namespace nBalancete {
ULMO_MAP_CLASS(TMapCdsSaldo, nFramework::TField, CLASSIFCONTA, TIPOCONTA, DESCRCONTA, SALDOANTERIOR, DEBITO, CREDITO,
               MOVIMENTO, SALDOATUAL, CONTACTB, CODIGOESTAB, DATASALDO, SEMSALDOMOV, SINTFILIAL, TIPOCONTACALC);
ULMO_MAP_CLASS(TMapPlanoTCE, nFramework::TField, CONTACTB, CLASSIFCONTA, TIPOCONTA, DESCRCONTA, CODIGOESTAB, DATASALDO,
               SALDOANTERIOR, DEBITO, CREDITO, MOVIMENTO, SALDOATUAL, SEMSALDOMOV, SINTFILIAL, TIPOCONTACALC);
ULMO_MAP_CLASS(TMapRecordSaldoCTB, nFramework::TColuna, CONTA, SALDOANTERIORDEV, SALDOANTERIORCRED, MOVDEBITO,
               MOVCREDITO, SALDOATUALDEB, SALDOATUALCRED, ESPEC, TIPOPNIVEL, NUMERONIVEL, SISTEMACONTABIL);
}  // namespace nBalancete

// The six amounts of the current BAL line.
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
  const TLayoutRS& LayoutCabecalho() const override { return LayoutCabecalhoBalancete(); }
  const TLayoutRS& LayoutDetalhe() const override { return LayoutBalancete(); }
  const char* NomeDetalhe() const override { return "BAL"; }
  void PreencherDetalhe(nFramework::TRecord& record, bool& skip) override;
  void ProximoDetalhe(bool& more) override;
  std::string Setor() const override;
  void LiberarDados() override;

 private:
  void CarregarSaldos();
  void Montar(nFramework::TClientDataSet& planoConta, nFramework::TClientDataSet& planoClass);

  std::vector<nFramework::TVariant> FNaturezaGrupo;
  nFramework::TnDMPowerParam* FDMSaldoCtb = nullptr;  // the framework's instance, freed at the run's end
  nFramework::TClientDataSet* cdsSaldoCtb = nullptr;   // not owned
  std::unique_ptr<nFramework::TClientDataSet> curSaldoTCE;
  TRecDadosSaldoCTB FDadosSaldoCTB;
  int FNatureza = 0;
};

}  // namespace nUlmoRS
