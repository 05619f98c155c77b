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
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapPlanoCtbEstatal FMapDados;
  nUlmoMaps::TMapRecordPlanoContabilEstatal FMapRecord;
};

class TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil()
      : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil",
                               "BalanceteMensalEstatalXPlanoContabil") {}

 protected:
  bool RegistroValido() override;
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapSaldoPlanoContabilEstatal FMapDados;
  nUlmoMaps::TMapRecordBalanceteMensalEstatalXPlanoContabil FMapRecord;
};

class TUlmoArqPRGerarBens : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarBens() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarBens", "Bem") {}

 protected:
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;
  void FecharDados() override;

 private:
  std::unique_ptr<nFramework::TSQLDataSet> FConsulta;
  nUlmoMaps::TMapRelacBem FMapDados;
  nUlmoMaps::TMapRecordBem FMapRecord;
};

}  // namespace nUlmoPR
