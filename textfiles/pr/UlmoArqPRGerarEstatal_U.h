// The TCE-PR state chart, state trial balance and asset files: PlanoContabilEstatal (the
// company's mapped accounts), BalanceteMensalEstatalXPlanoContabil (their monthly movements with
// the court levels) and Bem (assets acquired in the period, as classified for the court).
#pragma once
#include <memory>

#include "UlmoArqPRGerarCtb_U.h"

namespace nUlmoPR {

class TUlmoArqPRGerarPlanoContabilEstatal : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarPlanoContabilEstatal()
      : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarPlanoContabilEstatal", "PlanoContabilEstatal") {}

 protected:
  const nFramework::TLeiaute& Leiaute() const override { return LayoutPlanoContabilEstatal(); }
  std::string Conta() const override;
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapPlanoCtbEstatal FMapDados;
};

class TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil()
      : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil",
                               "BalanceteMensalEstatalXPlanoContabil") {}

 protected:
  const nFramework::TLeiaute& Leiaute() const override { return LayoutBalanceteMensalEstatal(); }
  std::string Conta() const override;
  bool RegistroValido() override;
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapSaldoPlanoContabilEstatal FMapDados;
};

class TUlmoArqPRGerarBens : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarBens() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarBens", "Bem") {}

 protected:
  const nFramework::TLeiaute& Leiaute() const override { return LayoutBens(); }
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;
  void FecharDados() override;

 private:
  std::unique_ptr<nFramework::TSQLDataSet> FConsulta;
  nUlmoMaps::TMapRelacBem FMapDados;
};

}  // namespace nUlmoPR
