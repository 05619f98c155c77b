// TnFrmPowerParamcxGridCloseTab: the closable-tab grid form of a process, kept as a model
// without a window: the process it shows, its actions and a grid manager (TnGerentecxGrid)
// whose views are the tabs. The desktop front end draws from this model.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Action_U.h"
#include "ClientDataSet_U.h"
#include "DataModule_U.h"
#include "PowerParam_U.h"

namespace nFramework {

// A caption as a component name: its letters and digits, accents dropped ("Conta Contábil"
// gives "ContaContabil"). aTamanho > 0 cuts the name to that many characters.
std::string ConvertCaptionEmNome(std::string_view aCaption, int aTamanho);

struct TnColunaGrid {
  std::string FieldName;
  bool Visible = true;
  int GroupIndex = -1;  // -1: not grouped
  bool AllowGroup = false;
  int Width = 0;  // pixels the user gave the column; 0: from the field's DisplayWidth
  // Equal values of neighbouring rows shown as one cell (the form's, not the user's layout).
  bool MesclarCelulas = false;
};

// Where the grid manager keeps the user's layouts, one text per form class and view. The
// command line keeps them in memory for the run; the desktop installs the user's settings.
class IArmazenamentoLayout {
 public:
  virtual ~IArmazenamentoLayout() = default;
  // nullopt when nothing was saved for that view of that form.
  virtual std::optional<std::string> Ler(const std::string& aForm, const std::string& aView) = 0;
  virtual void Gravar(const std::string& aForm, const std::string& aView, const std::string& aTexto) = 0;
};

// nullptr puts back the in-memory storage. REQUIRES: the storage outlives its installation.
void SetArmazenamentoLayout(IArmazenamentoLayout* aArmazenamento);
IArmazenamentoLayout& ArmazenamentoLayout();

// One view of the grid (a tab) and what it shows.
class TnViewcxGrid {
 public:
  std::string Name;
  std::string Caption;
  TClientDataSet* DataSet = nullptr;  // the view's data source
  bool LevelVisible = true;
  bool Banded = false;
  bool Expandido = false;  // every group expanded
  std::vector<TnColunaGrid> Columns;

  // One column per field of the dataset (replacing the columns there were).
  void ConfigurarGridFields(bool aVisivel, bool aAgrupar);
  // nullptr when no column shows that field (case ignored).
  TnColunaGrid* ViewGetColumnByFieldName(std::string_view aFieldName);
  void ExpandirTodos() { Expandido = true; }
  // The grouping columns in group order.
  std::vector<std::string> ColunasAgrupadas() const;
};

class TnGerentecxGrid {
 public:
  // aChave: where the user's layout is kept (the form's class name).
  explicit TnGerentecxGrid(std::string aChave) : FChave(std::move(aChave)) {}

  const std::vector<std::unique_ptr<TnViewcxGrid>>& Views() const { return FViews; }
  // The last view of that name; nullptr when none.
  TnViewcxGrid* FindView(std::string_view aName) const;
  // A new banded view (and tab) named after the caption, showing the dataset.
  TnViewcxGrid& CriarTabSheetBanded(const std::string& aCaption, TClientDataSet& aDataSet);
  // Configures the columns of the view created last.
  void ConfigurarGridFields(bool aVisivel, bool aAgrupar);
  // The view of the tab of that caption; raises EInternalError when there is none.
  TnViewcxGrid& GetDetalhes(std::string_view aCaption) const;

  // The layout as it is now becomes the default one (what RestaurarPadrao brings back).
  void StoreAsDefaultConfig();
  void RestaurarPadrao();
  // The user's layout: saved per form class and view through the installed storage, applied
  // over the views there are (columns matched by field; a column the layout lacks keeps its
  // place after the column it follows now; a stored text that cannot be read is ignored).
  void SalvarFormIniFile() const;
  void RestoreFormIniFile();
  // Empties the in-memory storage.
  static void LimparLayoutsSalvos();

  struct TLayoutView {
    std::string Name;
    bool LevelVisible = true;
    std::vector<TnColunaGrid> Columns;
  };
  // A view's layout as stored, and back; nullopt for a text that is not one (it may come from
  // a settings file the user edited: bounded in size and values).
  static std::string TextoLayout(const TLayoutView& aLayout);
  static std::optional<TLayoutView> LerTextoLayout(std::string_view aTexto);

 private:
  std::vector<TLayoutView> Capturar() const;
  void Aplicar(const std::vector<TLayoutView>& aLayout);

  std::string FChave;
  std::vector<std::unique_ptr<TnViewcxGrid>> FViews;
  std::vector<TLayoutView> FPadrao;
};

class TnFrmPowerParamcxGridCloseTab : public TnDataModule {
  N_CLASSE(TnFrmPowerParamcxGridCloseTab)
 public:
  TnFrmPowerParamcxGridCloseTab();

  // REQUIRES: the process outlives the form (the form's actions sit on its panel).
  void SetDMPower(TnDMPowerParam* aProcesso) { FDMPower = aProcesso; }
  // The process the form shows; raises EInternalError before one is handed over.
  TnDMPowerParam& GetDMPower() const;
  bool TemDMPower() const { return FDMPower != nullptr; }

  // Run once after construction, before the process is handed over.
  virtual void AfterConstruction() {}
  // The form's own setup: caption, and the process's "nClientDataSet" as its data source.
  virtual void Configurar();
  // The grid manager's setup: a tab for the form's own data source, when there is one.
  virtual void ConfigurarGerente();
  void FormShow() {}

  std::string Caption;
  TnActionList ActionList;
  // A flag byte of the form that subclasses set in AfterConstruction.
  uint8_t FByteFlag = 0;
  TClientDataSet* DataSource = nullptr;
  // Created on first use, its layouts kept under the form's class name.
  TnGerentecxGrid& Gerente();

 protected:
  // The process's dataset of that component name; raises the not-found error when it lacks one.
  TClientDataSet& DataSetDoProcesso(std::string_view aName) const;

 private:
  TnDMPowerParam* FDMPower = nullptr;
  std::unique_ptr<TnGerentecxGrid> FGerente;
};

// Creates the registered form of the process (GetFormClass), hands it the process and runs
// Configurar and ConfigurarGerente. Raises EInternalError when the process has no form or the
// form is not a grid form.
TnDMPtr<TnFrmPowerParamcxGridCloseTab> nCriarFormularioProcesso(TnDMPowerParam& aProcesso);

}  // namespace nFramework
