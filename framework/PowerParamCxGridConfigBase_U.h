// TnDMPowerParamCxGridConfigBase: the base of the settings grids. A process whose run loads
// the grid "curDados" with one row per item of a company; the user edits the rows and saves
// (action "actSalvar") or drops the edits (action "actCancelar", which loads again). A
// subclass declares the grid's fields, fills it (CarregarDados), checks a row
// (ValidarConfiguracao) and gives the statements of a save: one delete of the company's stored
// rows (GetSQLDelete) and one insert per row (GetSQLInsert), run all-or-nothing. Rows whose
// configured fields (GetCamposConfigurados) are all empty are not inserted. A row whose
// configured field changes gets Alterado = 1 (shown in green).
//
// REQUIRES: a connection is open (Conexao()) for the run and the save.
#pragma once
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Exceptions_U.h"
#include "PowerParam_U.h"

namespace nFramework {

// The integer a control's text holds; 0 for an empty or non-numeric text.
int TextoParaInteiro(std::string_view aTexto);

// A refusal of one field of one grid row: the base leaves the grid on that row.
class EnCampoGrid : public Exception {
 public:
  EnCampoGrid(std::string aCampo, const std::string& aMensagem) : Exception(aMensagem), FCampo(std::move(aCampo)) {}
  const std::string& Campo() const { return FCampo; }

 private:
  std::string FCampo;
};

class TnDMPowerParamCxGridConfigBase : public TnDMPowerParam {
  N_CLASSE(TnDMPowerParamCxGridConfigBase)
 public:
  TnDMPowerParamCxGridConfigBase();

  // The grid's dataset (component "curDados"). Subclasses add its fields in their constructor
  // and call CriarGrid.
  TClientDataSet& curDados;

  // Reads the company (pCodigoEmpresa, which the framework fills from the selection).
  void ValidarDado() override;
  // Configures the grid once (AntesConfigurar, ConfigurarCxGrid, DepoisConfigurar) and loads it.
  void Executar() override;
  std::vector<std::string> DataSetsGrade() const override { return {"curDados"}; }
  // The configuration without a screen, once.
  void ConfigSobDemanda();
  // The company of the grid; 0 before a run.
  int Empresa() const { return FEmpresa; }

  // Writes the grid. Raises the refusal of the first row that fails ValidarConfiguracao (also
  // put in the message tree), with the grid left on that row and nothing written; a grid never
  // loaded is refused too. With no row changed since the load it writes nothing and warns.
  void Salvar();
  // Drops the edits: the grid as stored.
  void Cancelar();
  // Whether some row was changed since the last load or save.
  bool Alterado() const { return FAlterado; }

  // Grid columns whose equal neighbouring cells are shown merged.
  void MesclarCelulas(const std::string& aCampo) { FMescladas.insert(UpperCase(aCampo)); }
  bool CelulasMescladas(const std::string& aCampo) const { return FMescladas.count(UpperCase(aCampo)) > 0; }

  // Virtual operations of the grid base.
  virtual void ConfigurarCxGrid() {}
  // The base empties the grid; overrides append the rows after the inherited step.
  virtual void CarregarDados();
  // Checks the current row; raises EnCampoGrid (or Exception) to refuse it.
  virtual void ValidarConfiguracao() {}
  virtual std::string GetSQLDelete() = 0;
  // The insert of the current row.
  virtual std::string GetSQLInsert() = 0;
  virtual std::vector<std::string> GetCamposConfigurados() = 0;

 protected:
  // Creates the grid dataset from the fields added to curDados, and hooks the change marks.
  void CriarGrid();
  // A row is worth storing when one of its configured fields holds a value.
  bool LinhaConfigurada();

 private:
  void Carregar();

  int FEmpresa = 0;
  bool FConfigurado = false;
  bool FCarregado = false;
  bool FCarregando = false;
  bool FAlterado = false;
  std::set<std::string> FMescladas;
};

}  // namespace nFramework
