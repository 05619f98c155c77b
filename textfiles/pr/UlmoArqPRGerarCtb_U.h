// The TCE-PR entity, court chart and balance files: PessoaSEICED (the company's head office),
// PlanoContabil (the court chart as mapped for the company), SaldoContabilExercicioAnterior
// (opening balances of the start month) and MovimentoContabilMensal (monthly debits and credits).
#pragma once
#include <memory>
#include <string>

#include "UlmoArqPRGerarBase_U.h"
#include "UlmoMaps_U.h"

namespace nUlmoPR {

// A generator that walks one dataset from its first row; a row that fails RegistroValido
// yields no line.
class TUlmoArqPRGerarDataSet : public TUlmoArqPRGerarBase {
 public:
  using TUlmoArqPRGerarBase::TUlmoArqPRGerarBase;

 protected:
  void PrepararRegistro(nFramework::TRecord& ARecord, bool& ASkip) override;
  void ProximoRegistro(nFramework::TRecord& ARecord, bool& AMore) override;
  virtual bool RegistroValido() { return FDados && !FDados->IsEmpty(); }

  nFramework::TClientDataSet* FDados = nullptr;
};

// The head-office address: street type, street, "Num " number, "Bairro " district; empty parts
// are left out with their separators.
std::string MontarEndereco(std::string_view ATipo, std::string_view ARua, std::string_view ANumero,
                           std::string_view ABairro);

class TUlmoArqPRGerarPessoaSEICED : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarPessoaSEICED() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarPessoaSEICED", "PessoaSEICED") {}

 protected:
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;
  void FecharDados() override;

 private:
  std::unique_ptr<nFramework::TSQLDataSet> FConsulta;
};

class TUlmoArqPRGerarPlanoContabil : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarPlanoContabil() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarPlanoContabil", "PlanoContabil") {}

 protected:
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapPlanoTCE FMapDados;
  nFramework::TField* FIdentif = nullptr;
  nUlmoMaps::TMapRecordPlanoContabil FMapRecord;
};

class TUlmoArqPRGerarSaldoCtbExercAnt : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarSaldoCtbExercAnt()
      : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarSaldoCtbExercAnt", "SaldoContabilExercicioAnterior") {}

 protected:
  bool RegistroValido() override;
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;
  void FecharDados() override;

 private:
  nUlmoMaps::TMapSaldoTCE FMapDados;
  nUlmoMaps::TMapRecordSaldoCtbExercAnt FMapRecord;
};

class TUlmoArqPRGerarMovCtbMensal : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarMovCtbMensal() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarMovCtbMensal", "MovimentoContabilMensal") {}

 protected:
  bool RegistroValido() override;
  void DefinirCampos() override;
  void PreencherCampos() override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapSaldoTCE FMapDados;
  nUlmoMaps::TMapRecordMovCtbMensal FMapRecord;
};

}  // namespace nUlmoPR
