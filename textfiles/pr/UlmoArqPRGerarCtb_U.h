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
  void EscreverLinhas(nFramework::TEscritorLeiaute& AEscritor) override;
  virtual bool RegistroValido() { return FDados && !FDados->IsEmpty(); }
  // The current row's line.
  virtual void EscreverLinha(nFramework::TLinha& ALinha) = 0;
  // The account of the current row, for messages; empty when the file has none.
  virtual std::string Conta() const { return {}; }

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
  const nFramework::TLeiaute& Leiaute() const override { return LayoutPessoaSEICED(); }
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;
  void FecharDados() override;

 private:
  std::unique_ptr<nFramework::TSQLDataSet> FConsulta;
};

class TUlmoArqPRGerarPlanoContabil : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarPlanoContabil() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarPlanoContabil", "PlanoContabil") {}

 protected:
  const nFramework::TLeiaute& Leiaute() const override { return LayoutPlanoContabil(); }
  std::string Conta() const override;
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapPlanoTCE FMapDados;
};

class TUlmoArqPRGerarSaldoCtbExercAnt : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarSaldoCtbExercAnt()
      : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarSaldoCtbExercAnt", "SaldoContabilExercicioAnterior") {}

 protected:
  const nFramework::TLeiaute& Leiaute() const override { return LayoutSaldoCtbExercAnt(); }
  std::string Conta() const override;
  bool RegistroValido() override;
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;
  void FecharDados() override;

 private:
  nUlmoMaps::TMapSaldoTCE FMapDados;
};

class TUlmoArqPRGerarMovCtbMensal : public TUlmoArqPRGerarDataSet {
 public:
  TUlmoArqPRGerarMovCtbMensal() : TUlmoArqPRGerarDataSet("TUlmoArqPRGerarMovCtbMensal", "MovimentoContabilMensal") {}

 protected:
  const nFramework::TLeiaute& Leiaute() const override { return LayoutMovCtbMensal(); }
  std::string Conta() const override;
  bool RegistroValido() override;
  void EscreverLinha(nFramework::TLinha& ALinha) override;
  void AbrirDados() override;

 private:
  nUlmoMaps::TMapSaldoTCE FMapDados;
};

}  // namespace nUlmoPR
