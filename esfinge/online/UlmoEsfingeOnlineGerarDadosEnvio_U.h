// TUlmoEsfingeOnlineGerarDadosEnvio: builds the monthly packages of a sending run from the
// marked rows of the accounts and entries grids: one package per month of the period (up to
// the current month) that has entries, each with every marked court account once (the first
// row of a court account mapped by several company accounts; a warning names those whose rows
// differ) and the month's entries in sequence order. The accounts are read once per run; a
// month's package is written as JSON text as its rows are read, one month at a time. The grids'
// order, ranges and filters are left as they are.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UlmoContasTceUnicas_U.h"
#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineGerarDadosEnvio : public IGerarDadosEnvio {
 public:
  static std::shared_ptr<IGerarDadosEnvio> New();
  IGerarDadosEnvio& Config(const TRecConfig& AConfig) override;
  IGerarDadosEnvio& DataSets(nFramework::TClientDataSet& ACdsContaCtb, nFramework::TClientDataSet& ACdsLctoCtb) override;
  IGerarDadosEnvio& Lista(std::vector<TEnvioLote>& AListaEnvioLote) override;
  // REQUIRES: DataSets was given.
  IGerarDadosEnvio& Executar() override;
  const std::vector<int>& Meses() const override { return FMeses; }
  TLoteJson Lote(int AAnoMes) override;

 private:
  struct TMes {
    int AnoMes = 0;
    int Primeira = 0, Ultima = 0;  // positions (RecNo) of its first and last rows in the grid
    bool EmOrdem = true;           // its rows come in increasing sequence numbers
  };
  void CarregarContas();
  void ProcurarMeses();
  // Visits the month's entries in sequence order.
  void Percorrer(int AAnoMes, const std::function<void(const TLancamentoContabil&)>& AVisitar);

  TRecConfig FConfig;
  nFramework::TClientDataSet* FCdsContaCtb = nullptr;
  nFramework::TClientDataSet* FCdsLctoCtb = nullptr;
  std::vector<TEnvioLote>* FListaEnvioLote = nullptr;
  std::vector<TContaContabil> FContas;  // sorted by court classification
  std::string FContasJson;              // their JSON objects, comma-separated
  std::vector<TMes> FMesesLidos;
  std::vector<int> FMeses;
  nUlmoEsfinge::TContasTceUnicas FContasUnicas;
};

}  // namespace nUlmoEsfingeOnline
