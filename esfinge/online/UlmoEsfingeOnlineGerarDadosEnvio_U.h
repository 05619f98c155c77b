// TUlmoEsfingeOnlineGerarDadosEnvio: builds the monthly packages of a sending run from the
// marked rows of the accounts and entries grids: one package per month of the period (up to
// the current month) that has entries, each with every marked court account once (the first
// row of a court account mapped by several company accounts; a warning names those whose rows
// differ).
#pragma once
#include <memory>
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
  // REQUIRES: DataSets and Lista were given. The datasets' indexes and ranges are restored
  // however it ends.
  IGerarDadosEnvio& Executar() override;

 private:
  void CarregarContas();
  void CarregarLancamentos();

  TRecConfig FConfig;
  nFramework::TClientDataSet* FCdsContaCtb = nullptr;
  nFramework::TClientDataSet* FCdsLctoCtb = nullptr;
  std::vector<TEnvioLote>* FListaEnvioLote = nullptr;
  std::vector<TContaContabil> FListaContaContabil;
  std::vector<TLancamentoContabil> FListaLancamentoContabil;
  nUlmoEsfinge::TContasTceUnicas FContasUnicas;  // of the last CarregarContas
  nFramework::TDateTime FDataLote = 0;
};

}  // namespace nUlmoEsfingeOnline
