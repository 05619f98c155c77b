// The common part of the TCE-SE SAGRES settings grids: the company parameter, the statements'
// "%n:s" holes, and for the three rule grids (revenue, expense, asset) the formula engine that
// checks and edits each row's rule.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "PowerParamCxGridConfigBase_U.h"
#include "RegraBaseCalculo_U.h"
#include "SaldoCtbTipado_U.h"

namespace nUlmo {

// A fixed item of a grid: its code as shown ("01") and its description.
struct TItemSagres {
  std::string_view Codigo;
  std::string_view Descricao;
};

// The text with each "%n:s" replaced by the n-th argument (SQL literals already).
std::string FormatarSQL(std::string_view aTexto, const std::vector<std::string>& aArgs);

// A rule grid: one row per fixed item with a rule RegraCalculo; the subclass declares the
// columns, calls ConfigurarColunas and fills the rows. A rule typed into a cell is checked as a
// save checks it ("Regra definida é inválida."); a changed row shows in green.
class TUlmoDPTCESagresRegraGrid : public nFramework::TnDMPowerParamCxGridConfigBase {
 public:
  // aCodigos: the hidden item-code columns; aDescricoes: the read-only description columns.
  TUlmoDPTCESagresRegraGrid(std::vector<std::string> aCodigos, std::vector<std::string> aDescricoes);

  std::string PegarVerificaSelecao() const override { return "CodigoEmpresa"; }
  void AntesConfigurar(void* aForm) override;
  void ValidarConfiguracao() override;
  std::vector<std::string> GetCamposConfigurados() override { return {"RegraCalculo"}; }
  void DataModuleDestroy() override;
  // The ellipsis button of "Regra": the formula editor over the current row's rule, with the
  // company's balances (the year of its latest entry) for the editor to show and evaluate.
  void curDadosRegraCalculoDefIntButtonClick();

  nFramework::TnDMRegraBaseCalculo* DMRegra() const { return FDMRegra.get(); }

 protected:
  // The grid's presentation and the rule's check at the cell; after CriarGrid. The description
  // columns name a row (the item codes are hidden).
  void ConfigurarColunas(const std::string& ACaption);
  // The description columns writable (during a load) or read-only.
  void DescricoesSomenteLeitura(bool aValor);
  // RegraCalculo of the row in edit: the rule, or none for "".
  void DefinirRegra(const std::string& aRegra);
  // The stored rule of a row of the load's query, "" when none.
  static std::string RegraGuardada(nFramework::TClientDataSet& aRegras, std::string_view aCampos,
                                   const std::vector<nFramework::TVariant>& aChave);

 private:
  void CriarRegra();
  // Hands the engine the company's balances, once per company; a company whose balances
  // cannot be made gets none, and the reason.
  void CarregarSaldos();
  // Refuses a rule the grid's field would cut.
  void VerificarTamanho(const std::string& aTexto);

  std::vector<std::string> FCodigos, FDescricoes;
  std::unique_ptr<nFramework::TnDMRegraBaseCalculo> FDMRegra;
  std::unique_ptr<nUlmoSaldoCtb::TSaldoCtbTipado> FSaldo;
  int FEmpresaSaldos = 0;
};

}  // namespace nUlmo
